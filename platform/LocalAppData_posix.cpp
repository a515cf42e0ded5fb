#include "platform/LocalAppData.h"

#include <cstdlib>
#include <string_view>

namespace sf {
namespace {

// An environment variable that names an absolute folder, or nothing.
std::optional<std::filesystem::path> absoluteFolderFrom(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr || std::string_view(value).empty()) return std::nullopt;
    std::filesystem::path folder(value);
    if (!folder.is_absolute()) return std::nullopt;
    return folder;
}

}  // namespace

std::optional<std::filesystem::path> localAppDataFolder() {
    if (auto dataHome = absoluteFolderFrom("XDG_DATA_HOME")) return dataHome;
#ifdef __APPLE__
    if (auto home = absoluteFolderFrom("HOME")) return *home / "Library" / "Application Support";
#else
    if (auto home = absoluteFolderFrom("HOME")) return *home / ".local" / "share";
#endif
    return std::nullopt;
}

}  // namespace sf
