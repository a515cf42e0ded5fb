#pragma once

#include <filesystem>
#include <optional>

namespace sf {

// The current user's local (non-roaming) application-data folder, without a
// trailing separator, or nothing when the system names none. On Windows this
// is CSIDL_LOCAL_APPDATA; elsewhere $XDG_DATA_HOME, else $HOME/.local/share
// (macOS: $HOME/Library/Application Support).
// The folder need not exist yet.
std::optional<std::filesystem::path> localAppDataFolder();

}  // namespace sf
