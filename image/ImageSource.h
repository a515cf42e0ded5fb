#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/Expected.h"
#include "platform/InputFile.h"

namespace sf {

// The bytes an image is read from, at any offset: an opened file, or bytes
// held in memory.
class ImageSource {
  public:
    virtual ~ImageSource() = default;

    virtual uint64_t size() const = 0;

    // Fills `into` with the bytes from `offset` on, or fails when the source
    // ends or errs first.
    virtual Status readAt(uint64_t offset, std::span<uint8_t> into) = 0;
};

// Reads the file; sequential reads go on without seeking.
std::unique_ptr<ImageSource> fileSource(InputFile file);

std::unique_ptr<ImageSource> memorySource(std::vector<uint8_t> bytes);

}  // namespace sf
