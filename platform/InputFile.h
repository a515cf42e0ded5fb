#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/Result.h"

namespace sf {

// A file opened for reading, with its size taken when it was opened.
class InputFile {
  public:
    // The file, or nothing when it cannot be opened for reading (missing,
    // no permission, a folder).
    static std::optional<InputFile> open(const std::filesystem::path& path);

    uint64_t size() const { return fileSize; }
    const std::filesystem::path& path() const { return filePath; }

    // Reads exactly `size` bytes, or fails when the file ends or errs first.
    Status readExactly(void* buffer, std::size_t size);

    // Moves the read position to `offset` bytes from the start.
    Status seek(uint64_t offset);

  private:
    InputFile(std::filesystem::path p, std::ifstream s, uint64_t size)
        : filePath(std::move(p)), stream(std::move(s)), fileSize(size) {}

    std::filesystem::path filePath;
    std::ifstream stream;
    uint64_t fileSize;
};

// Reads a whole (small) file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::filesystem::path& path);

}  // namespace sf
