#pragma once

#include <string>
#include <string_view>

namespace sf::test {

// The bytes of a UTF-16LE file with its byte-order mark.
inline std::string utf16File(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

}  // namespace sf::test
