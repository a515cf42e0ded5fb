#include <windows.h>
// shlwapi.h needs the types of windows.h first.
#include <shlwapi.h>

#include <string>

#include "platform/ExecutablePath.h"

namespace sf {

std::filesystem::path executablePath() {
    // The path may be longer than MAX_PATH; grow the buffer until it fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) return {};
        if (length < size) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::filesystem::path executableDirectory() {
    // PathRemoveFileSpecW drops the last component in place and keeps the
    // separator of a drive's root ("C:\").
    std::wstring path = executablePath().native();
    if (path.empty()) return {};
    PathRemoveFileSpecW(path.data());
    path.resize(wcslen(path.c_str()));
    return path;
}

}  // namespace sf
