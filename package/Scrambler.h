#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "package/PackageKey.h"

namespace sf {

// Scrambles a piece of a package: byte i becomes b[i] ^ key[i mod 4] ^ (i mod 256),
// with i counted from the start of the piece. The rule is its own inverse.
//
// The mask repeats every 256 bytes, so it is computed once and applied a
// machine word at a time; a piece can be processed in blocks of any size by
// passing each block's position within the piece.
class Scrambler {
  public:
    explicit Scrambler(const PackageKey& key);

    void apply(std::span<uint8_t> block, uint64_t positionInPiece) const;

    const PackageKey& key() const { return packageKey; }

  private:
    PackageKey packageKey;
    // Two periods of the mask, so any 256-byte window of it is contiguous.
    std::array<uint8_t, 512> mask{};
};

// Scrambles (or unscrambles) a whole descriptor but its key slots: every byte
// takes the key, the bytes before the magic also take the index.
void scrambleDescriptor(std::span<uint8_t, 656> descriptor, const Scrambler& scrambler);

}  // namespace sf
