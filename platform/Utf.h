#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace sf {

// The two halves of a UTF-16 surrogate pair.
inline bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-8 and UTF-16 conversions. Invalid input never throws: an ill-formed
// sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// Paths made from and shown as UTF-16 text, on every platform.
std::filesystem::path pathFromUtf16(std::u16string_view text);
std::u16string pathToUtf16(const std::filesystem::path& path);

}  // namespace sf

namespace sf {

// A path as UTF-8 text, for messages.
std::string pathToUtf8(const std::filesystem::path& path);

// A path given as UTF-8 text, such as a command-line argument. (A path made
// straight from a std::string takes the bytes in the system's narrow encoding,
// which on Windows is not UTF-8.)
std::filesystem::path pathFromUtf8(std::string_view text);

}  // namespace sf
