#include "settings/SettingsDirectory.h"

#include <system_error>

#include "platform/AtomicOutputFile.h"
#include "platform/FileLock.h"
#include "platform/InputFile.h"
#include "platform/LocalAppData.h"

namespace sf {
namespace {

bool canBeOpened(const std::filesystem::path& file) {
    return InputFile::open(file).ok();
}

// Copies `seed` onto `target` whole, under the target's lock, unless another
// running copy has made a readable target in the meantime.
void seed(const std::filesystem::path& target, const std::filesystem::path& seedFile) {
    auto lock = FileLock::acquireFor(target);
    if (!lock || canBeOpened(target)) return;
    if (const auto bytes = readWholeFile(seedFile)) (void)writeWholeFile(target, *bytes);
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
    const std::filesystem::path& workingFolder) {
    const auto folder = settingsFolderUnder(localAppData);
    if (!localAppData) return folder;
    // The parents are made too: a new account may have no data folder yet.
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const auto settingsFile = folder / kSettingsFileName;
    if (!canBeOpened(settingsFile)) seed(settingsFile, workingFolder / kDefaultsFileName);
    return folder;
}

std::filesystem::path resolveSettingsDirectory() {
    std::error_code ec;
    const auto workingFolder = std::filesystem::current_path(ec);
    return resolveSettingsDirectory(localAppDataFolder(), workingFolder);
}

std::filesystem::path userSettingsFile() {
    return settingsFolderUnder(localAppDataFolder()) / kSettingsFileName;
}

}  // namespace sf
