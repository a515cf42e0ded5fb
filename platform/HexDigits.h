#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sf {

enum class LetterCase { Upper, Lower };

// The value of a hex digit (either case), or -1 for any other character.
constexpr int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// A number in hex, at least `minDigits` digits long (zeros in front): 0x1A
// with 4 digits is "001A".
inline std::string hexNumber(uint64_t value, int minDigits, LetterCase letters) {
    const char* digits = letters == LetterCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0 || static_cast<int>(text.size()) < minDigits);
    return text;
}

// Bytes as two hex digits each, in their order.
inline std::string hexBytes(std::span<const uint8_t> bytes, LetterCase letters) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const uint8_t b : bytes) text += hexNumber(b, 2, letters);
    return text;
}

}  // namespace sf
