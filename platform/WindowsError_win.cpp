#include "platform/WindowsError.h"

#include <windows.h>

#include "platform/Utf.h"

namespace sf {

std::string windowsErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0 || buffer == nullptr) return "error " + std::to_string(code);
    std::u16string text(reinterpret_cast<const char16_t*>(buffer), length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ' ||
                             text.back() == u'.')) {
        text.pop_back();
    }
    return utf16ToUtf8(text);
}

std::string lastWindowsErrorText() {
    return windowsErrorText(GetLastError());
}

}  // namespace sf
