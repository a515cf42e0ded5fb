#include "platform/InputFile.h"

#include <string>
#include <system_error>

#include "platform/Utf.h"

namespace sf {

std::optional<InputFile> InputFile::open(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::nullopt;
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return std::nullopt;
    stream.seekg(0, std::ios::end);
    const std::streamoff end = stream.tellg();
    stream.seekg(0, std::ios::beg);
    if (end < 0 || !stream) return std::nullopt;
    return InputFile(path, std::move(stream), static_cast<uint64_t>(end));
}

Status InputFile::readExactly(void* buffer, std::size_t size) {
    stream.read(static_cast<char*>(buffer), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(stream.gcount()) != size) {
        return Error{pathToUtf8(filePath) + " ended early or could not be read; was it changed?"};
    }
    return success();
}

Status InputFile::seek(uint64_t offset) {
    stream.clear();
    stream.seekg(static_cast<std::streamoff>(offset), std::ios::beg);
    if (!stream) return Error{"cannot seek in " + pathToUtf8(filePath)};
    return success();
}

std::optional<std::string> readWholeFile(const std::filesystem::path& path) {
    auto file = InputFile::open(path);
    if (!file) return std::nullopt;
    std::string contents(static_cast<std::size_t>(file->size()), '\0');
    if (!file->readExactly(contents.data(), contents.size())) return std::nullopt;
    return contents;
}

}  // namespace sf
