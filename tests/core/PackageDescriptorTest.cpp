#include <gtest/gtest.h>

#include "package/PackageDescriptor.h"

namespace sf {
namespace {

std::vector<uint8_t> range(const PackageDescriptor& d, std::size_t from, std::size_t to) {
    return std::vector<uint8_t>(d.bytes().begin() + from, d.bytes().begin() + to);
}

bool allZero(const PackageDescriptor& d, std::size_t from, std::size_t to) {
    for (auto b : range(d, from, to)) {
        if (b != 0) return false;
    }
    return true;
}

TEST(PackageDescriptor, PlacesEveryFieldAtItsOffset) {
    ProjectSettings s;
    s.apVid = u"1A2B";
    s.apPid = u"3c4d";
    s.apUsage = u"01";
    s.iapVid = u"AAAA";
    s.iapPid = u"BBBB";
    s.iapUsage = u"02";
    s.version = u"V1";
    s.digest = u"beef";
    s.digestEnabled = true;
    s.cmdKeyEnabled = true;
    s.cmdViaControlEndpoint = true;
    const std::vector<uint8_t> key = {1, 2, 3};
    const auto d = PackageDescriptor::fill(s, key);

    EXPECT_EQ(range(d, 0, 8), (std::vector<uint8_t>{'1', 'A', '2', 'B', 0, 0, 0, 0}));
    EXPECT_EQ(d.ansiText(descriptor::apPid), "3c4d");
    EXPECT_EQ(d.ansiText(descriptor::apUsage), "01");
    EXPECT_EQ(d.ansiText(descriptor::iapUsage), "02");
    EXPECT_EQ(range(d, 40, 44), (std::vector<uint8_t>{'V', 0, '1', 0}));
    EXPECT_EQ(d.utf16Text(descriptor::title), s.title);
    EXPECT_EQ(d.utf16Text(descriptor::note), s.note);
    EXPECT_EQ(range(d, 552, 554), (std::vector<uint8_t>{0xEF, 0xBE}));
    EXPECT_EQ(d.cmdKeyBytes(), key);
    EXPECT_EQ(d.number(descriptor::cmdKeyLength), 3u);
    EXPECT_EQ(range(d, 620, 636),
              (std::vector<uint8_t>{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_TRUE(allZero(d, 636, 648));
    EXPECT_EQ(d.number(descriptor::constantOne), 1u);
    EXPECT_EQ(range(d, 652, 656), (std::vector<uint8_t>{'K', 'S', 'Q', 'M'}));
}

TEST(PackageDescriptor, FlagsOffLeaveDigestAndKeyZero) {
    ProjectSettings s;
    s.digest = u"FFFF";
    s.verify = false;
    const std::vector<uint8_t> key(64, 0xAA);
    const auto d = PackageDescriptor::fill(s, key);
    EXPECT_TRUE(allZero(d, 552, 636));
}

TEST(PackageDescriptor, A64ByteKeyFillsTheFieldAndAnEmptyOneGivesLengthZero) {
    ProjectSettings s;
    s.cmdKeyEnabled = true;
    const std::vector<uint8_t> full(64, 0xAA);
    const auto d = PackageDescriptor::fill(s, full);
    EXPECT_EQ(d.bytes()[617], 0xAA);
    EXPECT_EQ(d.number(descriptor::cmdKeyLength), 64u);
    const auto empty = PackageDescriptor::fill(s, {});
    EXPECT_EQ(empty.number(descriptor::cmdKeyLength), 0u);
    EXPECT_EQ(empty.number(descriptor::cmdKeyEnabled), 1u);
}

TEST(PackageDescriptor, A32CharacterTitleFillsHalfItsField) {
    ProjectSettings s;
    s.title = std::u16string(32, u'T');
    const auto d = PackageDescriptor::fill(s, {});
    EXPECT_EQ(d.bytes()[230], 'T');
    EXPECT_TRUE(allZero(d, 232, 296));
}

// A 100-character note would otherwise run over the digest, key and flag
// fields; it is cut at the 64 code units its field holds, or at 63 where the
// 64th is the first half of a surrogate pair.
TEST(PackageDescriptor, LongTextsAreCutToTheirFields) {
    ProjectSettings s;
    s.note = std::u16string(100, u'N');
    s.title = std::u16string(300, u'T');
    s.apVid = u"123456789ABC";
    s.apUsage = u"ABCDEF";
    s.digestEnabled = true;
    s.digest = u"12";
    const auto d = PackageDescriptor::fill(s, {});
    EXPECT_EQ(d.utf16Text(descriptor::note).size(), 64u);
    EXPECT_EQ(d.utf16Text(descriptor::title).size(), 64u);
    EXPECT_EQ(d.number(descriptor::digestValue), 0x12u);
    EXPECT_TRUE(allZero(d, 554, 624));
    EXPECT_EQ(d.ansiText(descriptor::apVid), "12345678");
    EXPECT_EQ(d.ansiText(descriptor::apUsage), "ABCD");
    EXPECT_EQ(d.ansiText(descriptor::iapVid), "");

    // A cut never keeps half of a surrogate pair: the note loses the whole emoji.
    s.note = std::u16string(63, u'a') + u"\U0001F600";
    EXPECT_EQ(PackageDescriptor::fill(s, {}).utf16Text(descriptor::note), std::u16string(63, u'a'));
}

TEST(PackageDescriptor, IdentifiersAreStoredInTheAnsiCodePage) {
    ProjectSettings s;
    s.apVid = u"\u00E9\u20AC\u4E2D";
    const auto d = PackageDescriptor::fill(s, {});
    EXPECT_EQ(range(d, 0, 4), (std::vector<uint8_t>{0xE9, 0x80, '?', 0}));
}

}  // namespace
}  // namespace sf
