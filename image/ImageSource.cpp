#include "image/ImageSource.h"

#include <cstring>

namespace sf {
namespace {

class FileSource : public ImageSource {
  public:
    explicit FileSource(InputFile f) : file(std::move(f)) {}

    uint64_t size() const override { return file.size(); }

    Status readAt(uint64_t offset, std::span<uint8_t> into) override {
        if (offset != position) {
            if (auto moved = file.seek(offset); !moved) return moved;
            position = offset;
        }
        if (auto read = file.readExactly(into.data(), into.size()); !read) {
            position = ~uint64_t{0};  // unknown after a failed read
            return read;
        }
        position += into.size();
        return success();
    }

  private:
    InputFile file;
    uint64_t position = 0;
};

class MemorySource : public ImageSource {
  public:
    explicit MemorySource(std::vector<uint8_t> b) : bytes(std::move(b)) {}

    uint64_t size() const override { return bytes.size(); }

    Status readAt(uint64_t offset, std::span<uint8_t> into) override {
        if (offset > bytes.size() || into.size() > bytes.size() - offset) {
            return fail("a read past the end of the image's bytes");
        }
        if (!into.empty()) std::memcpy(into.data(), bytes.data() + offset, into.size());
        return success();
    }

  private:
    std::vector<uint8_t> bytes;
};

}  // namespace

std::unique_ptr<ImageSource> fileSource(InputFile file) {
    return std::make_unique<FileSource>(std::move(file));
}

std::unique_ptr<ImageSource> memorySource(std::vector<uint8_t> bytes) {
    return std::make_unique<MemorySource>(std::move(bytes));
}

}  // namespace sf
