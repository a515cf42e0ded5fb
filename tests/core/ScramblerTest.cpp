#include <gtest/gtest.h>

#include "package/Scrambler.h"
#include "support/TempDir.h"

namespace sf {
namespace {

const PackageKey kKey = {0x11, 0xA2, 0x03, 0xFF};

uint8_t expectedMask(uint64_t i) {
    return static_cast<uint8_t>(kKey[i % 4] ^ (i % 256));
}

TEST(Scrambler, MatchesTheByteRuleForEveryLengthAndBlockPosition) {
    const Scrambler scrambler(kKey);
    for (std::size_t size : {0u, 1u, 7u, 8u, 255u, 256u, 257u, 1000u, 4099u}) {
        const auto original = test::patternBytes(size, 3);
        // Processed whole, and in uneven blocks that start at arbitrary positions.
        auto whole = original;
        scrambler.apply(whole, 0);
        auto pieces = original;
        for (std::size_t at = 0, step = 1; at < size; at += step, step = step * 3 + 1) {
            const std::size_t n = std::min(step, size - at);
            scrambler.apply(std::span(pieces).subspan(at, n), at);
        }
        for (std::size_t i = 0; i < size; ++i) {
            ASSERT_EQ(whole[i], original[i] ^ expectedMask(i)) << "size " << size << " byte " << i;
        }
        EXPECT_EQ(pieces, whole) << "size " << size;
    }
}

TEST(Scrambler, IsItsOwnInverseAndWrapsEvery256Bytes) {
    const Scrambler scrambler(kKey);
    auto data = test::patternBytes(600, 9);
    const auto original = data;
    scrambler.apply(data, 0);
    EXPECT_EQ(data[256] ^ original[256], data[0] ^ original[0]);
    EXPECT_EQ(data[0] ^ original[0], kKey[0]);
    scrambler.apply(data, 0);
    EXPECT_EQ(data, original);
}

TEST(Scrambler, DescriptorMagicTakesTheKeyButNotTheIndex) {
    const Scrambler scrambler(kKey);
    std::array<uint8_t, 656> descriptor{};
    scrambleDescriptor(descriptor, scrambler);
    for (std::size_t i = 0; i < 652; ++i) ASSERT_EQ(descriptor[i], expectedMask(i)) << i;
    for (std::size_t j = 0; j < 4; ++j) EXPECT_EQ(descriptor[652 + j], kKey[j]);
}

}  // namespace
}  // namespace sf
