#include <gtest/gtest.h>

#include <stdexcept>

#include "package/PieceStream.h"
#include "support/TempDir.h"

namespace sf {
namespace {

constexpr std::size_t kMiB = 1 << 20;

// Pieces read ahead on a thread of their own arrive whole and in order, and a
// failure on either side (or an exception on the reading one) stops both: the
// failure comes back, and the reading goes no further than a few blocks.
TEST(PieceStream, ReadingAheadGivesEveryByteInOrderAndEitherSideStopsBoth) {
    const auto first = test::patternBytes(3 * kMiB + 5, 1);
    const auto second = test::patternBytes(5 * kMiB - 1, 2);
    const std::vector<uint8_t> none;
    const Scrambler scrambler({1, 2, 3, 4});
    auto expected = first;
    auto scrambled = second;
    scrambler.apply(scrambled, 0);
    expected.insert(expected.end(), scrambled.begin(), scrambled.end());

    struct Case {
        int readFailsAt;  // the block whose read fails (-1: none)
        int sinkFailsAt;
        bool readThrows;
    };
    for (const Case c : {Case{-1, -1, false}, Case{6, -1, false}, Case{-1, 2, false},
                         Case{-1, 0, false}, Case{3, -1, true}}) {
        SCOPED_TRACE("read fails at " + std::to_string(c.readFailsAt) + ", sink fails at " +
                     std::to_string(c.sinkFailsAt) + (c.readThrows ? ", read throws" : ""));
        int reads = 0;
        auto readerOf = [&](const std::vector<uint8_t>& bytes) {
            return [&bytes, &reads, &c, at = std::size_t{0}](std::span<uint8_t> block) mutable {
                if (reads++ == c.readFailsAt) {
                    if (c.readThrows) throw std::runtime_error("thrown");
                    return Status(fail("read failed"));
                }
                std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), block.size(),
                            block.begin());
                at += block.size();
                return success();
            };
        };
        const Piece pieces[] = {{readerOf(first), first.size(), nullptr},
                                {readerOf(none), 0, &scrambler},
                                {readerOf(second), second.size(), &scrambler}};
        std::vector<uint8_t> got;
        int blocks = 0;
        const auto sink = [&](std::span<const uint8_t> block) {
            if (blocks++ == c.sinkFailsAt) return Status(fail("write failed"));
            got.insert(got.end(), block.begin(), block.end());
            return success();
        };
        if (c.readThrows) {
            EXPECT_THROW((void)streamPiecesAhead(pieces, sink), std::runtime_error);
            continue;
        }
        const Status streamed = streamPiecesAhead(pieces, sink);
        if (c.readFailsAt < 0 && c.sinkFailsAt < 0) {
            ASSERT_TRUE(streamed.has_value()) << streamed.error().message;
            EXPECT_TRUE(got == expected);
            continue;
        }
        ASSERT_FALSE(streamed.has_value());
        EXPECT_EQ(streamed.error().message, c.readFailsAt >= 0 ? "read failed" : "write failed");
        EXPECT_TRUE(std::equal(got.begin(), got.end(), expected.begin()));
        if (c.sinkFailsAt >= 0) {
            EXPECT_LE(reads, c.sinkFailsAt + 5);
        }
    }
}

}  // namespace
}  // namespace sf
