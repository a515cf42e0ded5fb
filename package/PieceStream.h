#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "package/Scrambler.h"
#include "platform/InputFile.h"
#include "platform/Result.h"

namespace sf {

// Receives a piece of a package one block at a time.
using BlockSink = std::function<Status(std::span<const uint8_t>)>;

// Reads `length` bytes of `in` from its current position in blocks, applies
// the scrambler to each (when one is given; the piece's positions count from
// 0) and hands them to `sink`. Memory stays the same whatever the length.
Status streamPiece(InputFile& in, uint64_t length, const Scrambler* scrambler,
                   const BlockSink& sink);

}  // namespace sf
