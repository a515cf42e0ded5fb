#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "package/Scrambler.h"
#include "platform/Expected.h"

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

// One piece of a package as it is read: where its bytes come from, how many
// there are, and the scrambler they pass through (none: they stay as they are).
struct Piece {
    PieceReader read;
    uint64_t length = 0;
    const Scrambler* scrambler = nullptr;
};

// Reads `length` bytes through `read` in blocks, applies the scrambler to
// each (when one is given; the piece's positions count from 0) and hands them
// to `sink`. Memory stays the same whatever the length.
Status streamPiece(const PieceReader& read, uint64_t length, const Scrambler* scrambler,
                   const BlockSink& sink);

// Streams the pieces one after the other as streamPiece() does, but reads
// and scrambles them on a thread of its own, a few blocks ahead of `sink`,
// which runs on the calling thread: the next blocks are read while earlier
// ones are written. Memory stays the same whatever the lengths. The first
// failure on either side stops both and is returned.
Status streamPiecesAhead(std::span<const Piece> pieces, const BlockSink& sink);

}  // namespace sf
