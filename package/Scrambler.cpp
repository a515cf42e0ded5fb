#include "package/Scrambler.h"

#include <cstring>

#include "package/PackageLayout.h"

namespace sf {
namespace {

void xorBytes(uint8_t* data, const uint8_t* mask, std::size_t size) {
    std::size_t i = 0;
    for (; i + sizeof(uint64_t) <= size; i += sizeof(uint64_t)) {
        uint64_t word;
        uint64_t maskWord;
        std::memcpy(&word, data + i, sizeof word);
        std::memcpy(&maskWord, mask + i, sizeof maskWord);
        word ^= maskWord;
        std::memcpy(data + i, &word, sizeof word);
    }
    for (; i < size; ++i) data[i] ^= mask[i];
}

}  // namespace

Scrambler::Scrambler(const PackageKey& key) : packageKey(key) {
    for (std::size_t i = 0; i < mask.size(); ++i) {
        mask[i] = static_cast<uint8_t>(key[i % 4] ^ (i % 256));
    }
}

void Scrambler::apply(std::span<uint8_t> block, uint64_t positionInPiece) const {
    const uint8_t* window = mask.data() + positionInPiece % 256;
    uint8_t* data = block.data();
    std::size_t remaining = block.size();
    while (remaining >= 256) {
        xorBytes(data, window, 256);
        data += 256;
        remaining -= 256;
    }
    xorBytes(data, window, remaining);
}

void scrambleDescriptor(std::span<uint8_t, 656> descriptor, const Scrambler& scrambler) {
    const std::size_t magicAt = descriptor::magic.offset;
    scrambler.apply(descriptor.first(magicAt), 0);
    for (std::size_t j = 0; j < descriptor::magic.width; ++j) {
        descriptor[magicAt + j] ^= scrambler.key()[(magicAt + j) % 4];
    }
}

}  // namespace sf
