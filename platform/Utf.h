#pragma once

#include <cstddef>
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

// The first `maxUnits` code units of `text` at most, one fewer where the cut
// would keep the high half of a surrogate pair without its low half.
std::u16string_view leadingUnits(std::u16string_view text, std::size_t maxUnits);

// UTF-8 and UTF-16 conversions. Invalid input never throws: an ill-formed
// sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

// Paths made from and shown as UTF-16 text, on every platform. A path on
// Linux is bytes in no particular encoding: a byte that is not part of valid
// UTF-8 becomes a lone surrogate U+DC80..U+DCFF in the text and turns back
// into that byte in the path, so every name survives the round trip.
std::filesystem::path pathFromUtf16(std::u16string_view text);
std::u16string pathToUtf16(const std::filesystem::path& path);

}  // namespace sf

namespace sf {

// A path as UTF-8 text, for messages (a byte that is no UTF-8 shows as U+FFFD).
std::string pathToUtf8(const std::filesystem::path& path);

// The same in single quotes, as messages name files.
std::string quotedPath(const std::filesystem::path& path);

// A path given as UTF-8 text, such as a command-line argument; on Linux its
// bytes are taken as they are, valid UTF-8 or not. (A path made straight from
// a std::string takes the bytes in the system's narrow encoding, which on
// Windows is not UTF-8.)
std::filesystem::path pathFromUtf8(std::string_view text);

}  // namespace sf
