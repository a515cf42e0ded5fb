#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "package/Scrambler.h"
#include "platform/Result.h"

namespace sf {

// Receives a piece of a package one block at a time.
using BlockSink = std::function<Status(std::span<const uint8_t>)>;

// Fills a block with the next bytes of a piece, or fails.
using PieceReader = std::function<Status(std::span<uint8_t>)>;

// The reader of anything that reads on like a file (an InputFile, a FirmwareImage).
template <typename Source>
PieceReader readerOf(Source& source) {
    return [&source](std::span<uint8_t> block) {
        return source.readExactly(block.data(), block.size());
    };
}

// Reads `length` bytes through `read` in blocks, applies the scrambler to
// each (when one is given; the piece's positions count from 0) and hands them
// to `sink`. Memory stays the same whatever the length.
Status streamPiece(const PieceReader& read, uint64_t length, const Scrambler* scrambler,
                   const BlockSink& sink);

}  // namespace sf
