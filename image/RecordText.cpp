#include "image/RecordText.h"

#include <array>

#include "platform/HexDigits.h"

namespace sf {
namespace {

// The value of each hex digit, -1 for any other character: a table, as
// every character of a large record file passes through it.
constexpr std::array<int8_t, 256> kHexValue = [] {
    std::array<int8_t, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<int8_t>(hexDigitValue(static_cast<char>(c)));
    return table;
}();

bool allHexDigits(std::string_view text) {
    for (const char c : text) {
        if (kHexValue[static_cast<unsigned char>(c)] < 0) return false;
    }
    return true;
}

// The shortest records: ":00000001FF" and "S9030000FC".
constexpr std::size_t kShortestIntelHexDigits = 10;
constexpr std::size_t kShortestSRecordDigits = 8;

}  // namespace

std::optional<RecordSyntax> recordShapeOf(std::string_view line) {
    if (line.size() > kShortestIntelHexDigits && line[0] == ':' && allHexDigits(line.substr(1))) {
        return RecordSyntax::IntelHex;
    }
    if (line.size() >= 2 + kShortestSRecordDigits && line[0] == 'S' && line[1] >= '0' &&
        line[1] <= '9' && allHexDigits(line.substr(2))) {
        return RecordSyntax::SRecord;
    }
    return std::nullopt;
}

std::optional<std::size_t> decodeHexPairs(std::string_view digits, std::span<uint8_t> bytes) {
    const std::size_t count = digits.size() / 2;
    if (digits.size() % 2 != 0 || count > bytes.size()) return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
        const int high = kHexValue[static_cast<unsigned char>(digits[2 * i])];
        const int low = kHexValue[static_cast<unsigned char>(digits[2 * i + 1])];
        if ((high | low) < 0) return std::nullopt;
        bytes[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return count;
}

std::string hexByte(uint8_t byte) {
    return hexNumber(byte, 2, LetterCase::Upper);
}

std::string checksumProblem(uint8_t found, uint8_t needed) {
    return "bad checksum: the record ends in " + hexByte(found) + ", its bytes need " +
           hexByte(needed);
}

}  // namespace sf
