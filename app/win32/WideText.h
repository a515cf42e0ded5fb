#pragma once

#include <string>
#include <string_view>

namespace sf {

// Windows keeps texts as UTF-16 in wchar_t, as the core keeps them in
// char16_t: the conversions only change the type.
inline std::wstring wideText(std::u16string_view text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

inline std::u16string u16Text(std::wstring_view text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace sf
