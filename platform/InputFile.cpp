#include "platform/InputFile.h"

#include <string>
#include <utility>

#include "platform/Utf.h"

namespace sf {

InputFile::InputFile(InputFile&& other) noexcept
    : filePath(std::move(other.filePath)),
      handle(std::exchange(other.handle, kClosed)),
      fileSize(other.fileSize) {}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        close();
        filePath = std::move(other.filePath);
        handle = std::exchange(other.handle, kClosed);
        fileSize = other.fileSize;
    }
    return *this;
}

InputFile::~InputFile() {
    close();
}

Unexpected InputFile::readFailed(const std::string& reason) const {
    return fail("cannot read " + quotedPath(filePath) + ": " + reason);
}

Unexpected InputFile::endedEarly() const {
    return fail(quotedPath(filePath) + " ended early or could not be read; was it changed?");
}

Expected<std::string> readWholeFile(const std::filesystem::path& path, uint64_t maxSize) {
    auto file = InputFile::open(path);
    if (!file) return failureOf(file);
    if (file->size() > maxSize) {
        std::string limit = std::to_string(maxSize) + " bytes";
        if (maxSize % (1 << 20) == 0) {
            limit = std::to_string(maxSize >> 20) + " MiB (" + limit + ")";
        }
        return fail("it is " + std::to_string(file->size()) + " bytes long, over the limit of " +
                    limit);
    }
    std::string contents(static_cast<std::size_t>(file->size()), '\0');
    if (auto read = file->readExactly(contents.data(), contents.size()); !read) {
        return failureOf(read);
    }
    return contents;
}

}  // namespace sf
