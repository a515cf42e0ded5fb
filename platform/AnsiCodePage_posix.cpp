#include "platform/AnsiCodePage.h"

#include <array>
#include <cstdint>

#include "platform/Utf.h"

namespace sf {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes the code page leaves unassigned,
// which Windows maps to the control characters of the same value.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t unitForByte(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControlRange[byte - 0x80];
    return byte;
}

char byteForUnit(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    for (size_t i = 0; i < kHighControlRange.size(); ++i) {
        if (kHighControlRange[i] == unit) return static_cast<char>(0x80 + i);
    }
    return '?';
}

}  // namespace

std::string toAnsi(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character and becomes one '?'.
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            out.push_back('?');
            ++i;
            continue;
        }
        out.push_back(byteForUnit(text[i]));
    }
    return out;
}

std::u16string fromAnsi(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes) out.push_back(unitForByte(static_cast<uint8_t>(c)));
    return out;
}

}  // namespace sf
