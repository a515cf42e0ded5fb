#include "image/RecordText.h"

#include <array>

namespace sf {
namespace {

// The value of each hex digit, -1 for any other character.
constexpr std::array<int8_t, 256> kHexValue = [] {
    std::array<int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 10; ++i) table['0' + i] = static_cast<int8_t>(i);
    for (int i = 0; i < 6; ++i) {
        table['A' + i] = static_cast<int8_t>(10 + i);
        table['a' + i] = static_cast<int8_t>(10 + i);
    }
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
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 0xF]};
}

std::string checksumProblem(uint8_t found, uint8_t needed) {
    return "bad checksum: the record ends in " + hexByte(found) + ", its bytes need " +
           hexByte(needed);
}

}  // namespace sf
