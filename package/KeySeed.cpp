#include "package/KeySeed.h"

namespace sf {
namespace {

// The 31 low bits of the generator's state: the only ones that reach a draw.
constexpr uint64_t kStates = uint64_t{1} << 31;
constexpr uint32_t kStateBits = 0x7FFFFFFFu;
constexpr uint32_t kDrawCount = 0x8000;  // rand() gives 0 to 0x7FFF

// The inverse of an odd number mod 2^32, by Newton's iteration: an odd number
// is its own inverse mod 8, and each round doubles the bits that are right.
constexpr uint32_t inverse(uint32_t odd) {
    uint32_t x = odd;
    for (int round = 0; round < 4; ++round) x *= 2 - odd * x;
    return x;
}
constexpr uint32_t kInverseMultiplier = inverse(CrtRandom::kMultiplier);
static_assert(kInverseMultiplier * CrtRandom::kMultiplier == 1);

// The seed whose first step leaves the generator in `state`.
uint32_t seedBefore(uint32_t state) {
    return ((state - CrtRandom::kIncrement) * kInverseMultiplier) & kStateBits;
}

bool drawsAlike(uint32_t seed, const PackageKey& key, const KeySlots& slots) {
    CrtRandom random(seed);
    if (makePackageKey(random) != key) return false;
    return hidePackageKey(key, random) == slots;
}

}  // namespace

// The first draw d1 fixes bits 16-30 of the state after the first step: one
// of the values below 0x8000 with d1 mod 255 = key[0] - 1, about 128 of them.
// Its bits 0-15 (x) are free, and the second step takes it to base + x * a
// (mod 2^31), where base is that state with x = 0. Rather than trying all
// 65536 values of x, each second draw d2 that gives key[1] is solved for: the
// states that draw d2 are 65536 in a row, and base + x * a passes each wrap of
// the modulus through them at most once, since a > 65535. That leaves about
// two states per pair (d1, d2), which are checked against all nine draws.
std::optional<uint32_t> findKeySeed(const PackageKey& key, const KeySlots& slots) {
    if (key[0] == 0 || key[1] == 0) return std::nullopt;
    constexpr uint64_t a = CrtRandom::kMultiplier;
    std::optional<uint32_t> smallest;
    for (uint32_t d1 = key[0] - 1u; d1 < kDrawCount; d1 += 255) {
        const uint64_t base = ((uint64_t{d1} << 16) * a + CrtRandom::kIncrement) & kStateBits;
        const uint64_t last = base + 0xFFFF * a;
        for (uint32_t d2 = key[1] - 1u; d2 < kDrawCount; d2 += 255) {
            for (uint64_t from = uint64_t{d2} << 16; from <= last; from += kStates) {
                const uint64_t x = from > base ? (from - base + a - 1) / a : 0;
                if (x > 0xFFFF || base + x * a > from + 0xFFFF) continue;
                const uint32_t seed = seedBefore(static_cast<uint32_t>(d1 << 16 | x));
                if (smallest && seed >= *smallest) continue;
                if (drawsAlike(seed, key, slots)) smallest = seed;
            }
        }
    }
    return smallest;
}

}  // namespace sf
