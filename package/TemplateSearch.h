#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace sf {

// The template updater every package starts with.
inline constexpr std::u16string_view kTemplateFileName = u"AP2.EXE";

// Where the template updater is looked for, in this order: beside the
// program (where the Windows release and the build keep it); in the user's
// settings folder, where a user puts the device maker's own updater without
// administrator rights; in the installation's folder for it (Linux:
// ../lib/sparrowflasher-maker beside the programs). A folder named twice is
// looked at once.
std::vector<std::filesystem::path> templateSearchPath(
    std::u16string_view templateName = kTemplateFileName);

// The same with the three folders given; `userFolder` is absent where the
// system names no per-user data folder.
std::vector<std::filesystem::path> templateSearchPath(
    const std::filesystem::path& programFolder,
    const std::optional<std::filesystem::path>& userFolder,
    const std::filesystem::path& installedFolder, std::u16string_view templateName);

}  // namespace sf
