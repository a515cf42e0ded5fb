#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "image/FirmwareImage.h"
#include "package/PackageLayout.h"
#include "platform/Utf.h"
#include "support/FirmwareFiles.h"
#include "support/TempDir.h"

namespace sf {
namespace {

using test::ElfSection;
using test::ElfSegment;
using test::intelHexLine;
using test::sRecordLine;

std::vector<uint8_t> bytesFrom(uint8_t first, std::size_t count) {
    std::vector<uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(first + i * 13);
    return bytes;
}

// The flat image the data gives: lowest address to highest, 0xFF between.
std::vector<uint8_t> flatImage(const std::map<uint64_t, std::vector<uint8_t>>& data) {
    if (data.empty()) return {};
    const uint64_t low = data.begin()->first;
    uint64_t high = low;
    for (const auto& [address, bytes] : data) high = std::max(high, address + bytes.size());
    std::vector<uint8_t> flat(static_cast<std::size_t>(high - low), 0xFF);
    for (const auto& [address, bytes] : data) {
        std::copy(bytes.begin(), bytes.end(),
                  flat.begin() + static_cast<std::ptrdiff_t>(address - low));
    }
    return flat;
}

// What `objcopy -O binary --gap-fill 0xff` makes of the file, when binutils is there.
std::optional<std::vector<uint8_t>> objcopyFlat(const std::filesystem::path& file,
                                                const std::string& inputFormat) {
#ifdef _WIN32
    (void)file;
    (void)inputFormat;
    return std::nullopt;
#else
    if (std::system("objcopy --version >/dev/null 2>&1") != 0) return std::nullopt;
    const auto out = file.string() + ".objcopy";
    const std::string command = "objcopy -I " + inputFormat + " -O binary --gap-fill 0xff '" +
                                file.string() + "' '" + out + "'";
    if (std::system(command.c_str()) != 0) return std::vector<uint8_t>{};  // differs from any image
    return test::readBytes(out);
#endif
}

// Reads the whole flat image in blocks of an odd size, so blocks straddle the
// edges of the data and the gaps.
std::vector<uint8_t> readAll(FirmwareImage& image) {
    std::vector<uint8_t> flat(static_cast<std::size_t>(image.size()));
    for (std::size_t at = 0; at < flat.size(); at += 7) {
        const std::size_t n = std::min<std::size_t>(7, flat.size() - at);
        EXPECT_TRUE(image.readExactly(flat.data() + at, n).has_value());
    }
    return flat;
}

// The sections every ELF case holds: code and read-only data loaded where they
// run, initialised data loaded behind the code but run from RAM, zeroed data
// (no bytes in the file) and a comment that is not loaded at all.
std::vector<ElfSection> elfSections() {
    return {{".text", 1, 6, 0x1000, bytesFrom(1, 16)},
            {".rodata", 1, 2, 0x1030, bytesFrom(2, 8)},
            {".data", 1, 3, 0x20000000, bytesFrom(3, 4)},
            {".bss", 8, 3, 0x20000004, {}, 64},
            {".comment", 1, 0, 0, bytesFrom(4, 12)}};
}
const std::vector<ElfSegment> kElfSegments = {{0, 0, 0x1000}, {1, 1, 0x1030}, {2, 3, 0x1010}};
const std::map<uint64_t, std::vector<uint8_t>> kElfLoaded = {
    {0x1000, bytesFrom(1, 16)}, {0x1010, bytesFrom(3, 4)}, {0x1030, bytesFrom(2, 8)}};

struct ConversionCase {
    const char* name;
    std::string file;
    const char* objcopyInput;  // nothing for a raw binary
    std::map<uint64_t, std::vector<uint8_t>> data;
    const char* summary;
};

// Records enough to fill more than one 1 MiB read block, so lines straddle
// the blocks' edges: the file and its data.
std::pair<std::string, std::vector<uint8_t>> manyRecords() {
    std::string text;
    std::vector<uint8_t> data;
    for (uint32_t address = 0; address < (400u << 10); address += 16) {
        if (address % 0x10000 == 0) text += intelHexLine(4, 0, {0, uint8_t(address >> 16)});
        const auto bytes = bytesFrom(static_cast<uint8_t>(address >> 4), 16);
        text += intelHexLine(0, static_cast<uint16_t>(address), bytes);
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    return {text + intelHexLine(1, 0, {}), data};
}

std::vector<ConversionCase> conversionCases() {
    const std::string hexEnd = intelHexLine(1, 0, {});
    const auto [many, manyData] = manyRecords();
    return {
        {"Intel HEX: unordered records, gaps, segment and linear bases (added when both are "
         "set), start addresses",
         intelHexLine(2, 0, {0x10, 0x00}) + intelHexLine(0, 0xFFF8, bytesFrom(5, 16)) +
             intelHexLine(4, 0, {0x00, 0x01}) + intelHexLine(0, 0x0100, bytesFrom(6, 4)) +
             intelHexLine(2, 0, {0x00, 0x00}) + intelHexLine(0, 0x0000, bytesFrom(7, 32)) +
             intelHexLine(0, 0x0020, bytesFrom(8, 16)) +
             intelHexLine(3, 0, {0x12, 0x34, 0x56, 0x78}) +
             intelHexLine(5, 0, {0x08, 0x00, 0x01, 0x23}) + hexEnd,
         "ihex",
         {{0x10000, bytesFrom(7, 32)},
          {0x10020, bytesFrom(8, 16)},
          {0x1FFF8, bytesFrom(5, 16)},
          {0x20100, bytesFrom(6, 4)}},
         "Intel HEX, 0x00010000-0x00020103, 65796 bytes"},
        {"Intel HEX: byte order mark, CRLF line ends and lower-case digits",
         "\xEF\xBB\xBF:020000040800f2\r\n\r\n" + intelHexLine(0, 0x0004, bytesFrom(9, 16)) +
             "\r\n" + hexEnd,
         "ihex",
         {{0x08000004, bytesFrom(9, 16)}},
         "Intel HEX, 0x08000004-0x08000013, 16 bytes"},
        {"Intel HEX: an end record with an address, then blank lines",
         intelHexLine(0, 0x0010, bytesFrom(15, 8)) + "\n" + intelHexLine(1, 0x1234, {}) +
             "  \n\t\n",
         "ihex",
         {{0x0010, bytesFrom(15, 8)}},
         "Intel HEX, 0x00000010-0x00000017, 8 bytes"},
        {"Intel HEX: more than a read block",
         many,
         "ihex",
         {{0, manyData}},
         "Intel HEX, 0x00000000-0x00063FFF, 409600 bytes"},
        {"S-records: S1 out of order with a gap, header, count, S9",
         sRecordLine(0, 0, 2, {'h', 'd', 'r'}) + sRecordLine(1, 0x2010, 2, bytesFrom(10, 8)) +
             sRecordLine(1, 0x2000, 2, bytesFrom(11, 4)) + sRecordLine(5, 2, 2, {}) +
             sRecordLine(9, 0x2000, 2, {}),
         "srec",
         {{0x2000, bytesFrom(11, 4)}, {0x2010, bytesFrom(10, 8)}},
         "Motorola S-record, 0x00002000-0x00002017, 24 bytes"},
        {"S-records: S2 and S8",
         sRecordLine(2, 0x123456, 3, bytesFrom(12, 20)) + sRecordLine(8, 0x123456, 3, {}),
         "srec",
         {{0x123456, bytesFrom(12, 20)}},
         "Motorola S-record, 0x00123456-0x00123469, 20 bytes"},
        {"S-records: S3, S6 and S7",
         sRecordLine(3, 0x08000000, 4, bytesFrom(13, 32)) +
             sRecordLine(3, 0x08000040, 4, bytesFrom(14, 2)) + sRecordLine(6, 2, 3, {}) +
             sRecordLine(7, 0x08000000, 4, {}),
         "srec",
         {{0x08000000, bytesFrom(13, 32)}, {0x08000040, bytesFrom(14, 2)}},
         "Motorola S-record, 0x08000000-0x08000041, 66 bytes"},
        {"ELF 32-bit little endian", test::elfFile(false, false, elfSections(), kElfSegments),
         "elf32-little", kElfLoaded, "ELF, 0x00001000-0x00001037, 56 bytes"},
        {"ELF 32-bit big endian", test::elfFile(false, true, elfSections(), kElfSegments),
         "elf32-big", kElfLoaded, "ELF, 0x00001000-0x00001037, 56 bytes"},
        {"ELF 64-bit little endian", test::elfFile(true, false, elfSections(), kElfSegments),
         "elf64-little", kElfLoaded, "ELF, 0x00001000-0x00001037, 56 bytes"},
        {"ELF 64-bit big endian", test::elfFile(true, true, elfSections(), kElfSegments),
         "elf64-big", kElfLoaded, "ELF, 0x00001000-0x00001037, 56 bytes"},
        {"ELF without load addresses: sections at their own addresses",
         test::elfFile(
             false, false,
             {{".text", 1, 6, 0x1000, bytesFrom(1, 16)}, {".data", 1, 3, 0x1100, bytesFrom(3, 4)}},
             {{0, 0, 0}, {1, 1, 0}}),
         "elf32-little",
         {{0x1000, bytesFrom(1, 16)}, {0x1100, bytesFrom(3, 4)}},
         "ELF, 0x00001000-0x00001103, 260 bytes"},
        {"a binary",
         std::string("\x20\x00\x01\x20:1000\nS1", 12),
         nullptr,
         {},
         "raw binary, 12 bytes"},
        {"ELF magic with an unknown class",
         std::string("\x7F"
                     "ELF\x07\x01\x01",
                     7) +
             std::string(9, '\0'),
         nullptr,
         {},
         "raw binary, 16 bytes"},
        {"text that is not records",
         "\n:10 is not a record\n",
         nullptr,
         {},
         "raw binary, 21 bytes"},
        {"an empty file", "", nullptr, {}, "raw binary, 0 bytes"},
    };
}

TEST(FirmwareImage, ConvertsEachFormatAsObjcopyDoes) {
    test::TempDir dir;
    for (const auto& c : conversionCases()) {
        SCOPED_TRACE(c.name);
        const auto path = dir / "image";
        test::writeBytes(path, std::vector<uint8_t>(c.file.begin(), c.file.end()));
        auto image = FirmwareImage::open(path, {kMaxImageSize});
        ASSERT_TRUE(image.has_value()) << image.error().message;
        EXPECT_EQ(image->summary(), c.summary);
        const auto flat = readAll(*image);
        if (!c.objcopyInput) {
            EXPECT_EQ(flat, std::vector<uint8_t>(c.file.begin(), c.file.end()));
            continue;
        }
        EXPECT_EQ(flat, flatImage(c.data));
        // objcopy knows no byte order mark.
        const auto withoutMark = dir / "image.objcopy-input";
        const std::string text = c.file.starts_with("\xEF\xBB\xBF") ? c.file.substr(3) : c.file;
        test::writeBytes(withoutMark, std::vector<uint8_t>(text.begin(), text.end()));
        if (auto reference = objcopyFlat(withoutMark, c.objcopyInput)) {
            EXPECT_EQ(flat, *reference);
        }
    }
}

TEST(FirmwareImage, TakesFilesAsBytesWhenToldTo) {
    test::TempDir dir;
    const std::string hex = intelHexLine(0, 0, bytesFrom(1, 4)) + intelHexLine(1, 0, {});
    test::writeBytes(dir / "image.hex", std::vector<uint8_t>(hex.begin(), hex.end()));
    auto image = FirmwareImage::open(dir / "image.hex", {kMaxImageSize, false});
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->format(), ImageFormat::Raw);
    EXPECT_EQ(readAll(*image), std::vector<uint8_t>(hex.begin(), hex.end()));
}

TEST(FirmwareImage, SpansUpToTheLimitWithoutHoldingTheGap) {
    test::TempDir dir;
    const std::string hex = intelHexLine(0, 0, {1}) + intelHexLine(4, 0, {0xFF, 0xFF}) +
                            intelHexLine(0, 0xFFFE, {2}) + intelHexLine(1, 0, {});
    test::writeBytes(dir / "image.hex", std::vector<uint8_t>(hex.begin(), hex.end()));
    auto image = FirmwareImage::open(dir / "image.hex", {kMaxImageSize});
    ASSERT_TRUE(image.has_value()) << image.error().message;
    EXPECT_EQ(image->summary(), "Intel HEX, 0x00000000-0xFFFFFFFE, 4294967295 bytes");
    std::vector<uint8_t> start(3);
    ASSERT_TRUE(image->readExactly(start.data(), start.size()).has_value());
    EXPECT_EQ(start, (std::vector<uint8_t>{1, 0xFF, 0xFF}));
}

struct RefusalCase {
    const char* name;
    std::string file;
    std::string reason;
    bool intelhexRefuses = false;  // python's intelhex refuses the file too
};

// Whether python's intelhex refuses the file, when it is there.
std::optional<bool> intelhexRefuses(const std::filesystem::path& file) {
#ifdef _WIN32
    (void)file;
    return std::nullopt;
#else
    if (std::system("/usr/bin/python3 -c 'import intelhex' >/dev/null 2>&1") != 0)
        return std::nullopt;
    const std::string command =
        "/usr/bin/python3 -c 'import intelhex, sys; intelhex.IntelHex(sys.argv[1])' '" +
        file.string() + "' >/dev/null 2>&1";
    return std::system(command.c_str()) != 0;
#endif
}

std::vector<RefusalCase> refusalCases() {
    const std::string hexData = intelHexLine(0, 0, bytesFrom(1, 16));
    const std::string hexEnd = intelHexLine(1, 0, {});
    const std::string srecData = sRecordLine(1, 0, 2, bytesFrom(1, 16));
    const std::string srecEnd = sRecordLine(9, 0, 2, {});
    auto broken = [](std::string line, std::size_t at, char c) {
        line[at] = c;
        return line;
    };
    std::vector<ElfSection> overlapping = {{".text", 1, 6, 0x1000, bytesFrom(1, 16)},
                                           {".data", 1, 3, 0x1008, bytesFrom(2, 8)}};
    std::vector<ElfSection> cutShort = {{".text", 1, 6, 0x1000, bytesFrom(1, 16), 1 << 20}};
    const std::string elf = test::elfFile(false, false, overlapping, {});
    return {
        {"HEX checksum", hexData + broken(hexEnd, 10, '0') + "\n",
         ", line 2: bad checksum: the record ends in F0, its bytes need FF"},
        {"HEX length byte", broken(hexData, 1, '2') + hexEnd,
         ", line 1: the record's length byte says 32 data bytes, but it holds 16"},
        {"HEX line that is no record", hexData + "\n\r\n" + broken(hexData, 5, 'x') + hexEnd,
         ", line 4: not an Intel HEX record"},
        {"HEX line of blanks", hexData + " \t\r\n" + hexEnd,
         ", line 2: the line holds only blanks; in Intel HEX a line holds a record or nothing",
         true},
        {"HEX line of blanks before the first record", "\n  \n" + hexData + hexEnd,
         ", line 2: the line holds only blanks", true},
        {"HEX segment base with an address", intelHexLine(2, 0x0010, {0x10, 0}) + hexData + hexEnd,
         ", line 1: a type 02 record's address field must be zero, this one holds 0010", true},
        {"HEX segment start with an address",
         hexData + intelHexLine(3, 0x0001, {0, 0, 0, 0}) + hexEnd,
         ", line 2: a type 03 record's address field must be zero, this one holds 0001", true},
        {"HEX linear base with an address", intelHexLine(4, 0x0100, {0, 1}) + hexData + hexEnd,
         ", line 1: a type 04 record's address field must be zero, this one holds 0100", true},
        {"HEX linear start with an address",
         hexData + intelHexLine(5, 0xFFFF, {8, 0, 0, 0}) + hexEnd,
         ", line 2: a type 05 record's address field must be zero, this one holds FFFF", true},
        {"S-record in a HEX file", hexData + srecData + hexEnd,
         ", line 2: not an Intel HEX record"},
        {"HEX record type", hexData + intelHexLine(6, 0, {}) + hexEnd,
         ", line 2: unknown record type 06"},
        {"HEX base of the wrong length", intelHexLine(4, 0, {0, 1, 2}) + hexData + hexEnd,
         ", line 1: a type 04 record holds 2 data bytes, this one 3"},
        {"HEX overlap",
         hexData + intelHexLine(0, 0x20, bytesFrom(2, 4)) + intelHexLine(0, 8, bytesFrom(3, 16)) +
             hexEnd,
         ", line 3: the data at 0x00000008-0x00000017 overlaps data given on line 1"},
        {"HEX record after the end", hexData + hexEnd + hexData,
         ", line 3: a record after the end record on line 2"},
        {"HEX without its end", hexData, ": the file ends without an end-of-file record"},
        {"HEX without data", intelHexLine(4, 0, {8, 0}) + hexEnd,
         ": the file holds no data records"},
        {"HEX span",
         hexData + intelHexLine(4, 0, {0xFF, 0xFF}) + intelHexLine(0, 0xFFFF, {1}) + hexEnd,
         ", line 3: the data spans 0x00000000-0xFFFFFFFF (4294967296 bytes), more than the "
         "4294967295 bytes an image can hold"},
        {"S-record checksum", broken(srecData, 10, 'F') + srecEnd, ", line 1: bad checksum"},
        {"S-record count", srecData + sRecordLine(5, 2, 2, {}) + srecEnd,
         ", line 2: the count record says 2 data records come before it, but 1 do"},
        {"S-record overlap", srecData + sRecordLine(1, 15, 2, {1, 2}) + srecEnd,
         ", line 2: the data at 0x0000000F-0x00000010 overlaps data given on line 1"},
        {"S-records without their end", srecData,
         ": the file ends without a termination record (S7, S8 or S9)"},
        {"ELF sections that overlap", elf,
         ": .text (0x00001000-0x0000100F) and .data (0x00001008-0x0000100F) overlap"},
        {"ELF section past the end", test::elfFile(false, true, cutShort, {}),
         ": .text lies beyond the end of the file"},
        {"ELF cut short", elf.substr(0, elf.size() - 1), ": its section header table lies beyond"},
        {"ELF without sections",
         std::string("\x7F"
                     "ELF\x01\x01\x01",
                     7) +
             std::string(45, '\0'),
         ": the ELF file has no section headers"},
    };
}

TEST(FirmwareImage, RefusesABrokenFileWithItsLineAndReason) {
    test::TempDir dir;
    const auto path = dir / "image";
    for (const auto& c : refusalCases()) {
        SCOPED_TRACE(c.name);
        test::writeBytes(path, std::vector<uint8_t>(c.file.begin(), c.file.end()));
        auto image = FirmwareImage::open(path, {kMaxImageSize});
        ASSERT_FALSE(image.has_value());
        const std::string expected = pathToUtf8(path) + c.reason;
        EXPECT_EQ(image.error().message.substr(0, expected.size()), expected);
        if (c.intelhexRefuses) {
            EXPECT_NE(intelhexRefuses(path), false) << "python's intelhex takes the file";
        }
    }
}

}  // namespace
}  // namespace sf
