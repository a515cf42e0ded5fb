#pragma once

#include <array>
#include <cstdint>

#include "platform/CrtRandom.h"

namespace sf {

// The four bytes (1 to 255 each) that scramble one package.
using PackageKey = std::array<uint8_t, 4>;

// Draws the four key bytes, in order, each as (rand() mod 255) + 1.
PackageKey makePackageKey(CrtRandom& random);

// The two key slots of a descriptor: one holds the key masked with kKeyMask,
// the other a decoy of random non-zero bytes.
struct KeySlots {
    std::array<uint8_t, 4> slot0{};
    std::array<uint8_t, 4> slot1{};

    bool operator==(const KeySlots&) const = default;
};

// Chooses the slot by the parity of one draw (odd: slot 0), then after each
// masked key byte draws one decoy byte. Continues the draws of makePackageKey.
KeySlots hidePackageKey(const PackageKey& key, CrtRandom& random);

// The key a slot holds when it is the hidden one.
PackageKey unmaskKeySlot(const std::array<uint8_t, 4>& slot);

}  // namespace sf
