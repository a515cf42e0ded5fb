#include "settings/SettingsDirectory.h"

#include <string_view>
#include <system_error>
#include <vector>

#include "platform/AtomicOutputFile.h"
#include "platform/ExecutablePath.h"
#include "platform/FileLock.h"
#include "platform/InputFile.h"
#include "platform/InstallLayout.h"
#include "platform/LocalAppData.h"

namespace sf {
namespace {

bool canBeOpened(const std::filesystem::path& file) {
    return InputFile::open(file).has_value();
}

// Copies the first seed that can be read onto `target` whole, under the
// target's lock, unless another running copy has made a readable target in
// the meantime.
void seed(const std::filesystem::path& target,
          const std::vector<std::filesystem::path>& seedFiles) {
    auto lock = FileLock::acquireFor(target);
    if (!lock || canBeOpened(target)) return;
    for (const auto& seedFile : seedFiles) {
        if (const auto bytes = readWholeFile(seedFile)) {
            (void)writeWholeFile(target, *bytes);
            return;
        }
    }
}

std::filesystem::path withTrailingSeparator(std::filesystem::path folder) {
    folder += std::filesystem::path::preferred_separator;
    return folder;
}

// The settings folder under the per-user data folder, or the working folder.
std::filesystem::path settingsFolderUnder(
    const std::optional<std::filesystem::path>& localAppData) {
    return withTrailingSeparator(localAppData ? *localAppData / kSettingsFolderName : ".");
}

}  // namespace

std::filesystem::path resolveSettingsDirectory(
    const std::optional<std::filesystem::path>& localAppData,
    const std::filesystem::path& workingFolder,
    const std::optional<std::filesystem::path>& installedDataFolder) {
    const auto folder = settingsFolderUnder(localAppData);
    if (!localAppData) return folder;
    // The parents are made too: a new account may have no data folder yet.
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const auto settingsFile = folder / kSettingsFileName;
    if (!canBeOpened(settingsFile)) {
        std::vector<std::filesystem::path> seeds{workingFolder / kDefaultsFileName};
        if (installedDataFolder) seeds.push_back(*installedDataFolder / kDefaultsFileName);
        seed(settingsFile, seeds);
    }
    return folder;
}

std::filesystem::path resolveSettingsDirectory() {
    std::error_code ec;
    const auto workingFolder = std::filesystem::current_path(ec);
    // Where default.ini lies beside the programs (Windows), the working
    // folder's alone seeds, as the tool has always done there.
    std::optional<std::filesystem::path> installedData;
    if (std::string_view(kDataFolderFromPrograms) != ".") {
        installedData = installedFolder(kDataFolderFromPrograms);
    }
    return resolveSettingsDirectory(localAppDataFolder(), workingFolder, installedData);
}

std::optional<std::filesystem::path> userSettingsFolder() {
    if (const auto localAppData = localAppDataFolder()) return *localAppData / kSettingsFolderName;
    return std::nullopt;
}

std::filesystem::path userSettingsFile() {
    return settingsFolderUnder(localAppDataFolder()) / kSettingsFileName;
}

}  // namespace sf
