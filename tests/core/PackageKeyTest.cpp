#include <gtest/gtest.h>

#include <ctime>

#include "package/DigestValue.h"
#include "package/KeySeed.h"
#include "package/PackageKey.h"

namespace sf {
namespace {

// The key and the two slots a package stores, drawn as the builder draws them.
struct Draws {
    PackageKey key;
    KeySlots slots;
};

Draws drawFrom(uint32_t seed) {
    CrtRandom random(seed);
    const PackageKey key = makePackageKey(random);
    return {key, hidePackageKey(key, random)};
}

TEST(CrtRandom, GivesTheMicrosoftRuntimeSequence) {
    CrtRandom random(1);
    for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}) {
        EXPECT_EQ(random.next(), expected);
    }
}

// srand(1): key from draws 1-4, the parity from draw 5 (19169, odd: slot 0),
// one decoy after each hidden byte from draws 6-9.
TEST(PackageKey, DrawsKeyThenParityThenOneDecoyPerByte) {
    CrtRandom random(1);
    const PackageKey key = makePackageKey(random);
    EXPECT_EQ(key, (PackageKey{42, 108, 215, 236}));
    const KeySlots slots = hidePackageKey(key, random);
    EXPECT_EQ(slots.slot0, (std::array<uint8_t, 4>{'W' ^ 42, 'q' ^ 108, 'T' ^ 215, 'b' ^ 236}));
    EXPECT_EQ(slots.slot1, (std::array<uint8_t, 4>{170, 4, 34, 188}));
    EXPECT_EQ(unmaskKeySlot(slots.slot0), key);
}

TEST(PackageKey, KeyAndDecoyBytesAreNeverZero) {
    for (uint32_t seed = 0; seed < 3000; ++seed) {
        CrtRandom random(seed);
        const PackageKey key = makePackageKey(random);
        const KeySlots slots = hidePackageKey(key, random);
        const auto& decoy = unmaskKeySlot(slots.slot0) == key ? slots.slot1 : slots.slot0;
        for (int j = 0; j < 4; ++j) {
            ASSERT_NE(key[j], 0) << seed;
            ASSERT_NE(decoy[j], 0) << seed;
        }
    }
}

struct SeedCase {
    const char* name;
    uint32_t seed;      // given to the generator
    uint32_t expected;  // the seed found: the same modulo 2^31
};

void PrintTo(const SeedCase& c, std::ostream* out) {
    *out << c.name;
}

class KeySeed : public testing::TestWithParam<SeedCase> {};

// The seed found re-makes the same draws.
TEST_P(KeySeed, IsFoundFromTheDrawsAndMakesThemAgain) {
    const SeedCase& c = GetParam();
    const Draws drawn = drawFrom(c.seed);
    const auto found = findKeySeed(drawn.key, drawn.slots);
    ASSERT_EQ(found, c.expected);
    const Draws again = drawFrom(*found);
    EXPECT_EQ(again.key, drawn.key);
    EXPECT_EQ(again.slots, drawn.slots);
}

const uint32_t kNow = static_cast<uint32_t>(std::time(nullptr));

INSTANTIATE_TEST_SUITE_P(Seeds, KeySeed,
                         testing::Values(SeedCase{"Zero", 0, 0}, SeedCase{"One", 1, 1},
                                         SeedCase{"Small", 255, 255},
                                         SeedCase{"November2023", 1700000000, 1700000000},
                                         SeedCase{"Now", kNow, kNow & 0x7FFFFFFF},
                                         SeedCase{"LargestBelowBit31", 0x7FFFFFFF, 0x7FFFFFFF},
                                         SeedCase{"Bit31Alone", 0x80000000, 0},
                                         SeedCase{"Bit31Set", 3000000000, 3000000000 - 0x80000000},
                                         SeedCase{"Largest", 0xFFFFFFFF, 0x7FFFFFFF}),
                         [](const testing::TestParamInfo<SeedCase>& info) {
                             return std::string(info.param.name);
                         });

// Draws no seed of the generator makes, as another generator's would be.
TEST(KeySeed, IsNoneForDrawsTheGeneratorDoesNotMake) {
    auto decoyOf = [](Draws& d) -> std::array<uint8_t, 4>& {
        return unmaskKeySlot(d.slots.slot0) == d.key ? d.slots.slot1 : d.slots.slot0;
    };
    const Draws drawn = drawFrom(1700000000);
    Draws decoyChanged = drawn;
    uint8_t& changed = decoyOf(decoyChanged)[3];
    changed = static_cast<uint8_t>(changed % 255 + 1);  // another non-zero byte
    Draws decoyOfTheNextSecond = drawn;
    Draws next = drawFrom(1700000001);
    decoyOf(decoyOfTheNextSecond) = decoyOf(next);
    Draws swapped = drawn;
    std::swap(swapped.slots.slot0, swapped.slots.slot1);
    const struct {
        const char* name;
        Draws draws;
    } rows[] = {
        {"decoy byte changed", decoyChanged},
        {"decoy of the next second", decoyOfTheNextSecond},
        {"slots swapped", swapped},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(findKeySeed(row.draws.key, row.draws.slots), std::nullopt);
    }
}

TEST(DigestValue, ParsesUpToFourHexDigitsAndStopsAtAnythingElse) {
    EXPECT_EQ(parseDigestValue(u""), 0);
    EXPECT_EQ(parseDigestValue(u"abcd"), 0xABCD);
    EXPECT_EQ(parseDigestValue(u"ABcd"), 0xABCD);
    EXPECT_EQ(parseDigestValue(u"12G4"), 0x12);
    EXPECT_EQ(parseDigestValue(u"1A2B3"), 0x1A2B);
    EXPECT_EQ(parseDigestValue(u"g123"), 0);
    EXPECT_EQ(parseDigestValue(u"7"), 7);
    EXPECT_EQ(parseDigestValue(u"\u4E2D12"), 0);
}

}  // namespace
}  // namespace sf
