#include "settings/SettingsDirectory.h"

#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "platform/AtomicOutputFile.h"
#include "platform/FileLock.h"
#include "platform/LocalAppData.h"

namespace sf {
namespace {

bool canBeOpened(const std::filesystem::path& file) {
    return std::ifstream(file, std::ios::binary).is_open();
}

// Copies `seed` onto `target` whole, under the target's lock, unless another
// running copy has made a readable target in the meantime.
void seed(const std::filesystem::path& target, const std::filesystem::path& seedFile) {
    auto lock = FileLock::acquireFor(target);
    if (!lock || canBeOpened(target)) return;
    std::ifstream in(seedFile, std::ios::binary);
    if (!in) return;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return;
    auto output = AtomicOutputFile::create(target);
    if (output && output->write(bytes.data(), bytes.size())) (void)output->commit();
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
