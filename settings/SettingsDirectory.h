#pragma once

#include <filesystem>
#include <optional>

namespace sf {

// The folder, inside the per-user data folder, that holds the user's settings.
inline constexpr const char* kSettingsFolderName = "QX32_SparrowflasherMakerIII";
inline constexpr const char* kSettingsFileName = "setting.ini";
inline constexpr const char* kDefaultsFileName = "default.ini";

// Finds the user's settings folder, creates it when it is missing and, when its
// setting.ini cannot be opened, seeds it with the working folder's default.ini,
// or, when the working folder has none, with the one an installation keeps in
// its data folder (Linux: ../share/sparrowflasher-maker beside the programs).
// The result ends in a path separator, so a bare file name can be appended to
// it. Without a per-user data folder the result is the working folder, "./".
// Nothing fails: a folder that cannot be made or a seed that is missing leaves
// the settings file absent until the first write.
std::filesystem::path resolveSettingsDirectory();

// The same with the per-user data folder, the working folder and the
// installation's data folder given.
std::filesystem::path resolveSettingsDirectory(
    const std::optional<std::filesystem::path>& localAppData,
    const std::filesystem::path& workingFolder,
    const std::optional<std::filesystem::path>& installedDataFolder = std::nullopt);

// The user's settings folder, found as resolveSettingsDirectory finds it but
// without creating anything; nothing without a per-user data folder.
std::optional<std::filesystem::path> userSettingsFolder();

// The settings file that the dialog uses, found as resolveSettingsDirectory
// finds it but without creating or seeding anything.
std::filesystem::path userSettingsFile();

}  // namespace sf
