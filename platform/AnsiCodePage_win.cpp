#include <windows.h>

#include <climits>

#include "platform/AnsiCodePage.h"

namespace sf {

// Both directions use the calling thread's ANSI code page with no flags, so
// characters the code page lacks become its default character, '?'.

std::string toAnsi(std::u16string_view text) {
    if (text.empty() || text.size() > INT_MAX / 4) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_THREAD_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, wide, units, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::u16string fromAnsi(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), length, nullptr, 0);
    std::u16string text(static_cast<size_t>(size), u'\0');
    MultiByteToWideChar(CP_THREAD_ACP, 0, bytes.data(), length,
                        reinterpret_cast<wchar_t*>(text.data()), size);
    return text;
}

}  // namespace sf
