#include <gtest/gtest.h>

#include "package/DigestValue.h"
#include "package/PackageKey.h"

namespace sf {
namespace {

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
