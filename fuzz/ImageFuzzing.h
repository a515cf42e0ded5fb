#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/FirmwareImage.h"
#include "image/RecordFileReader.h"

namespace sf::fuzzing {

// Small enough that every image found can be read through on each run.
inline constexpr uint64_t kMaxSize = 1 << 20;

// Reads the flat image through in blocks: every read within it succeeds, one
// past its end fails, and it stays within its largest size.
inline void readThrough(FirmwareImage& image) {
    if (image.size() > kMaxSize) __builtin_trap();
    std::vector<uint8_t> block(4093);
    for (uint64_t left = image.size(); left > 0;) {
        const auto n = static_cast<std::size_t>(std::min<uint64_t>(block.size(), left));
        if (!image.readExactly(block.data(), n)) __builtin_trap();
        left -= n;
    }
    if (image.readExactly(block.data(), 1)) __builtin_trap();
}

// Any bytes, taken as a file of the given record syntax.
inline int fuzzRecordFile(const uint8_t* data, std::size_t size, RecordSyntax syntax) {
    auto source = memorySource({data, data + size});
    auto held = readRecordFile(*source, "input", kMaxSize, syntax);
    if (!held) {
        // A syntax that is given is never declined as another format.
        if (held.error().kind == ErrorKind::NotThisFormat) __builtin_trap();
        return 0;
    }
    FirmwareImage image(held->format, std::move(held->pieces),
                        memorySource(std::move(held->bytes)));
    readThrough(image);
    return 0;
}

}  // namespace sf::fuzzing
