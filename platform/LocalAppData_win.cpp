#include <windows.h>
// shlobj.h needs the types of windows.h first.
#include <shlobj.h>

#include "platform/LocalAppData.h"

namespace sf {

std::optional<std::filesystem::path> localAppDataFolder() {
    // Folder identifier 28 is CSIDL_LOCAL_APPDATA; flags 0 ask for the
    // folder's current path. Any result but S_OK means there is none.
    wchar_t buffer[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buffer) !=
        S_OK) {
        return std::nullopt;
    }
    return std::filesystem::path(buffer);
}

}  // namespace sf
