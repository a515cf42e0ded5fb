#include <gtest/gtest.h>

#include "package/ByteOrder.h"
#include "package/ImageEntry.h"
#include "package/PackageBuilder.h"
#include "package/PackageReader.h"
#include "package/Scrambler.h"
#include "platform/Utf.h"
#include "support/FakeMakeUi.h"
#include "support/TempDir.h"

namespace sf {
namespace {

using test::patternBytes;
using test::readBytes;
using test::writeBytes;

struct Package {
    std::vector<uint8_t> bytes;
    std::filesystem::path path;
};

class PackageTest : public ::testing::Test {
  protected:
    Package make(const ProjectSettings& settings, uint32_t seconds = 1) {
        const PackageBuilder builder({{dir / "AP2.EXE"}, [seconds] { return int64_t{seconds}; }});
        test::FakeMakeUi ui;
        const auto out = dir / ("out-" + std::to_string(++made) + ".exe");
        ui.savePaths.push_back(out);
        EXPECT_EQ(builder.make(settings, ui), MakeOutcome::Written);
        return {readBytes(out), out};
    }

    ProjectSettings withImages(std::size_t internalSize, std::optional<std::size_t> externalSize) {
        ProjectSettings s;
        writeBytes(dir / "internal.bin", patternBytes(internalSize, 1));
        s.internalImagePath = pathToUtf16(dir / "internal.bin");
        if (externalSize) {
            writeBytes(dir / "external.bin", patternBytes(*externalSize, 2));
            s.externalImagePath = pathToUtf16(dir / "external.bin");
        }
        return s;
    }

    void SetUp() override { writeBytes(dir / "AP2.EXE", templateBytes); }

    test::TempDir dir;
    const std::vector<uint8_t> templateBytes = patternBytes(1000, 42);
    int made = 0;
};

// The package as the layout describes it, built the plain way, byte by byte.
std::vector<uint8_t> referencePackage(const std::vector<uint8_t>& templ,
                                      const std::vector<uint8_t>& internal,
                                      const std::vector<uint8_t>& external,
                                      const ProjectSettings& s, uint32_t seed) {
    CrtRandom random(seed);
    PackageKey key{};
    for (auto& k : key) k = static_cast<uint8_t>(random.next() % 255 + 1);
    auto scramble = [&key](std::vector<uint8_t> piece) {
        for (std::size_t i = 0; i < piece.size(); ++i) piece[i] ^= key[i % 4] ^ (i % 256);
        return piece;
    };
    auto entry = [&](uint32_t start, std::size_t length) {
        auto bytes = ImageEntry{start, static_cast<uint32_t>(length)}.toBytes();
        return scramble(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    };
    auto d = PackageDescriptor::fill(s, {}).bytes();
    for (std::size_t i = 0; i < 656; ++i) d[i] ^= key[i % 4] ^ (i < 652 ? i % 256 : 0);
    const bool slot0 = random.next() % 2 == 1;
    for (std::size_t j = 0; j < 4; ++j) {
        d[(slot0 ? 636 : 640) + j] = kKeyMask[j] ^ key[j];
        d[(slot0 ? 640 : 636) + j] = static_cast<uint8_t>(random.next() % 255 + 1);
    }
    std::vector<uint8_t> out = templ;
    for (const auto& piece : {scramble(external), scramble(internal),
                              entry(0x01000000, external.size()), entry(0, internal.size())}) {
        out.insert(out.end(), piece.begin(), piece.end());
    }
    out.insert(out.end(), d.begin(), d.end());
    return out;
}

TEST_F(PackageTest, IsByteExactForAFixedTime) {
    for (uint32_t seed : {1u, 1733700000u}) {
        auto s = withImages(700, 300);
        s.version = u"2.0";
        s.apVid = u"1234";
        const auto package = make(s, seed);
        const auto expected =
            referencePackage(templateBytes, patternBytes(700, 1), patternBytes(300, 2), s, seed);
        ASSERT_EQ(package.bytes.size(), expected.size());
        EXPECT_TRUE(package.bytes == expected) << "seed " << seed;
    }
}

TEST_F(PackageTest, WithoutExternalImageTheInternalFollowsTheTemplate) {
    const auto s = withImages(100, std::nullopt);
    const auto package = make(s);
    ASSERT_EQ(package.bytes.size(), 1000u + 100 + 688);
    EXPECT_TRUE(std::equal(templateBytes.begin(), templateBytes.end(), package.bytes.begin()));
    // Seed 1 gives key 42 108 215 236: the first internal byte is XOR-ed with key[0] only.
    EXPECT_EQ(package.bytes[1000], patternBytes(100, 1)[0] ^ 42);
    const auto contents = readPackage(package.path);
    ASSERT_TRUE(contents.has_value()) << contents.error().message;
    EXPECT_EQ(contents->external.start, 0x01000000u);
    EXPECT_EQ(contents->external.length, 0u);
    EXPECT_EQ(contents->keySlot, 0);
    // Stored bytes 644-647 are the zero reserved field scrambled with key and index.
    const std::size_t d = package.bytes.size() - 656;
    for (std::size_t j = 0; j < 4; ++j) {
        EXPECT_EQ(package.bytes[d + 644 + j],
                  (PackageKey{42, 108, 215, 236}[j] ^ ((644 + j) % 256)));
    }
}

TEST_F(PackageTest, TheSameSecondGivesTheSamePackageAndAnotherSecondAnotherKey) {
    const auto s = withImages(64, 64);
    const auto first = make(s, 5000);
    EXPECT_EQ(make(s, 5000).bytes, first.bytes);
    EXPECT_NE(make(s, 5001).bytes, first.bytes);
}

void expectImage(const std::filesystem::path& package, const PackageContents& contents,
                 const ImageLocation& image, const std::vector<uint8_t>& expected) {
    std::vector<uint8_t> got;
    auto read = readImage(package, contents, image, [&got](std::span<const uint8_t> block) {
        got.insert(got.end(), block.begin(), block.end());
        return success();
    });
    ASSERT_TRUE(read.has_value()) << read.error().message;
    EXPECT_TRUE(got == expected) << "image of " << expected.size() << " bytes";
}

TEST_F(PackageTest, ReaderGivesBackWhatTheWriterWrote) {
    const std::size_t sizes[] = {0, 1, 255, 256, 257, (3u << 20) + 5};
    for (std::size_t internalSize : sizes) {
        for (bool withExternal : {false, true}) {
            for (bool withKey : {false, true}) {
                const std::size_t externalSize = withExternal ? (internalSize + 3) : 0;
                auto s = withImages(internalSize,
                                    withExternal ? std::optional(externalSize) : std::nullopt);
                s.title = u"Round trip \u00E9\u4E2D";
                s.iapPid = u"BEEF";
                if (withKey) {
                    writeBytes(dir / "key.bin", patternBytes(17, 5));
                    s.cmdKeyPath = pathToUtf16(dir / "key.bin");
                    s.cmdKeyEnabled = true;
                }
                const auto package = make(s, static_cast<uint32_t>(internalSize));
                const auto contents = readPackage(package.path);
                ASSERT_TRUE(contents.has_value()) << contents.error().message;
                EXPECT_EQ(contents->templateSize, templateBytes.size());
                EXPECT_EQ(contents->internal.length, internalSize);
                EXPECT_EQ(contents->external.length, externalSize);
                EXPECT_EQ(contents->descriptor.utf16Text(descriptor::title), s.title);
                EXPECT_EQ(contents->descriptor.ansiText(descriptor::iapPid), "BEEF");
                EXPECT_EQ(contents->descriptor.cmdKeyBytes(),
                          withKey ? patternBytes(17, 5) : std::vector<uint8_t>{});
                expectImage(package.path, *contents, contents->internal,
                            patternBytes(internalSize, 1));
                expectImage(package.path, *contents, contents->external,
                            withExternal ? patternBytes(externalSize, 2) : std::vector<uint8_t>{});
            }
        }
    }
}

TEST(PackageReader, RejectsFilesThatAreNotPackagesWithTheReason) {
    std::array<uint8_t, kTrailerSize> trailer{};
    auto tooShort = parsePackageTrailer(trailer, 687);
    ASSERT_FALSE(tooShort.has_value());
    EXPECT_NE(tooShort.error().message.find("too short"), std::string::npos);

    auto noMagic = parsePackageTrailer(trailer, 5000);
    ASSERT_FALSE(noMagic.has_value());
    EXPECT_NE(noMagic.error().message.find("not a package"), std::string::npos);
}

// A package whose descriptor says what no package can hold is rejected,
// for the reason that is true of it.
TEST_F(PackageTest, ReaderRejectsADamagedPackageWithItsTrueReason) {
    const auto package = make(withImages(50, std::nullopt));
    const auto key = readPackage(package.path)->key;
    const struct {
        DescriptorField field;
        uint32_t value;
        uint64_t fileSize;
        std::string reason;
    } cases[] = {
        {descriptor::cmdKeyLength, 65, package.bytes.size(), "said to be 65 bytes long"},
        {descriptor::cmdKeyLength, 65535, package.bytes.size(), "said to be 65535 bytes long"},
        {descriptor::constantOne, 2, package.bytes.size(), "holds 2 where every package holds 1"},
        // Without the template the internal image (50 bytes) cannot stand before the trailer.
        {descriptor::constantOne, 1, kTrailerSize + 10, "image lengths do not fit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        std::vector<uint8_t> trailer(package.bytes.end() - kTrailerSize, package.bytes.end());
        const std::span<uint8_t, kDescriptorSize> d(trailer.data() + 2 * kImageEntrySize,
                                                    kDescriptorSize);
        const Scrambler scrambler(key);
        scrambleDescriptor(d, scrambler);
        storeLittleEndian(&d[c.field.offset], c.value, c.field.width);
        scrambleDescriptor(d, scrambler);
        const auto read =
            parsePackageTrailer(std::span<const uint8_t, kTrailerSize>(trailer), c.fileSize);
        ASSERT_FALSE(read.has_value()) << c.reason;
        EXPECT_NE(read.error().message.find(c.reason), std::string::npos) << read.error().message;
    }
}

}  // namespace
}  // namespace sf
