#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sf {

// A run of a flat image's data: `length` bytes for the addresses from
// `address` on, found in the image's source at `offset`.
struct ImagePiece {
    uint64_t address;
    uint64_t length;
    uint64_t offset;

    uint64_t end() const { return address + length; }
};

// "0x0800A000": an address with at least eight hex digits.
std::string hexAddress(uint64_t address);

// "0x08000000-0x0801A3FF": the first and the last address of the bytes from
// `address` up to `end` (not included); `end` is above `address`.
std::string addressRange(uint64_t address, uint64_t end);

// Why the data from `low` up to `end` cannot be one image of at most
// `maxSize` bytes, or nothing when it can.
std::optional<std::string> spanProblem(uint64_t low, uint64_t end, uint64_t maxSize);

}  // namespace sf
