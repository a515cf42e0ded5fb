#include "platform/Utf.h"

#include <cstdint>

namespace sf {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
// What decodeUtf8 gives for an ill-formed sequence: no code point at all.
constexpr char32_t kIllFormed = 0xFFFFFFFF;

// Decodes one UTF-8 sequence at bytes[pos], advancing pos. Returns
// kIllFormed (and advances one byte) for an ill-formed sequence.
char32_t decodeUtf8(std::string_view bytes, size_t& pos) {
    const auto lead = static_cast<uint8_t>(bytes[pos]);
    int length = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kIllFormed;
    }
    if (pos + length > bytes.size()) {
        ++pos;
        return kIllFormed;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(bytes[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kIllFormed;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kIllFormed;
    }
    pos += length;
    return cp;
}

// A byte of a path that is no part of valid UTF-8 travels as a lone low
// surrogate, U+DC80 to U+DCFF; only bytes from 0x80 up can be such a byte.
constexpr char16_t kEscapedByteBase = 0xDC00;

bool isEscapedByte(char16_t unit) {
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// UTF-8 to UTF-16. An ill-formed byte becomes U+FFFD, or, when
// `escapeBytes`, the lone surrogate that stands for that byte.
std::u16string decodeToUtf16(std::string_view text, bool escapeBytes) {
    std::u16string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = pos;
        char32_t cp = decodeUtf8(text, pos);
        if (cp == kIllFormed) {
            cp = escapeBytes ? kEscapedByteBase + static_cast<uint8_t>(text[start]) : kReplacement;
        }
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD, or, when `escapeBytes`
// and it stands for a byte, that byte.
std::string encodeFromUtf16(std::u16string_view text, bool escapeBytes) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (isHighSurrogate(text[i]) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (escapeBytes && isEscapedByte(text[i])) {
            out.push_back(static_cast<char>(text[i] - kEscapedByteBase));
            continue;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;  // a lone surrogate
        }
        appendUtf8(out, cp);
    }
    return out;
}

}  // namespace

std::u16string_view leadingUnits(std::u16string_view text, std::size_t maxUnits) {
    if (text.size() <= maxUnits) return text;
    std::size_t length = maxUnits;
    if (length > 0 && isHighSurrogate(text[length - 1])) --length;
    return text.substr(0, length);
}

std::u16string utf8ToUtf16(std::string_view text) {
    return decodeToUtf16(text, false);
}

std::string utf16ToUtf8(std::u16string_view text) {
    return encodeFromUtf16(text, false);
}

bool isValidUtf8(std::string_view bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        if (decodeUtf8(bytes, pos) == kIllFormed) return false;
    }
    return true;
}

std::filesystem::path pathFromUtf16(std::u16string_view text) {
#ifdef _WIN32
    return std::filesystem::path(std::wstring(text.begin(), text.end()));
#else
    return std::filesystem::path(encodeFromUtf16(text, true));
#endif
}

std::u16string pathToUtf16(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::wstring& native = path.native();
    return std::u16string(native.begin(), native.end());
#else
    return decodeToUtf16(path.native(), true);
#endif
}

}  // namespace sf

namespace sf {

std::string pathToUtf8(const std::filesystem::path& path) {
    return utf16ToUtf8(pathToUtf16(path));
}

std::string quotedPath(const std::filesystem::path& path) {
    return "'" + pathToUtf8(path) + "'";
}

std::filesystem::path pathFromUtf8(std::string_view text) {
    // Valid UTF-8 decodes alike either way; on Linux the escapes keep the rest.
    return pathFromUtf16(decodeToUtf16(text, true));
}

}  // namespace sf
