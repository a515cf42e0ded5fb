#include "package/TemplateSearch.h"

#include <algorithm>

#include "platform/ExecutablePath.h"
#include "platform/InstallLayout.h"
#include "platform/Utf.h"
#include "settings/SettingsDirectory.h"

namespace sf {

std::vector<std::filesystem::path> templateSearchPath(
    const std::filesystem::path& programFolder,
    const std::optional<std::filesystem::path>& userFolder,
    const std::filesystem::path& installedFolder, std::u16string_view templateName) {
    std::vector<std::filesystem::path> folders{programFolder};
    if (userFolder) folders.push_back(*userFolder);
    folders.push_back(installedFolder);
    const auto name = pathFromUtf16(templateName);
    std::vector<std::filesystem::path> paths;
    for (const auto& folder : folders) {
        auto path = (folder / name).lexically_normal();
        if (std::find(paths.begin(), paths.end(), path) == paths.end()) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

std::vector<std::filesystem::path> templateSearchPath(std::u16string_view templateName) {
    return templateSearchPath(executableDirectory(), userSettingsFolder(),
                              installedFolder(kTemplateFolderFromPrograms), templateName);
}

}  // namespace sf
