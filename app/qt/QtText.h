#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace sf {

// The core keeps texts as UTF-16 code units, as QString does: no conversion loses anything.
inline QString toQString(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::u16string toU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

}  // namespace sf
