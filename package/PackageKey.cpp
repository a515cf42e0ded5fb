#include "package/PackageKey.h"

#include "package/PackageLayout.h"

namespace sf {
namespace {

uint8_t drawNonZeroByte(CrtRandom& random) {
    return static_cast<uint8_t>(random.next() % 255 + 1);
}

}  // namespace

PackageKey makePackageKey(CrtRandom& random) {
    PackageKey key{};
    for (auto& byte : key) byte = drawNonZeroByte(random);
    return key;
}

KeySlots hidePackageKey(const PackageKey& key, CrtRandom& random) {
    KeySlots slots;
    const bool hiddenInSlot0 = (random.next() % 2) == 1;
    auto& hidden = hiddenInSlot0 ? slots.slot0 : slots.slot1;
    auto& decoy = hiddenInSlot0 ? slots.slot1 : slots.slot0;
    for (std::size_t j = 0; j < 4; ++j) {
        hidden[j] = kKeyMask[j] ^ key[j];
        decoy[j] = drawNonZeroByte(random);
    }
    return slots;
}

PackageKey unmaskKeySlot(const std::array<uint8_t, 4>& slot) {
    PackageKey key{};
    for (std::size_t j = 0; j < 4; ++j) key[j] = slot[j] ^ kKeyMask[j];
    return key;
}

}  // namespace sf
