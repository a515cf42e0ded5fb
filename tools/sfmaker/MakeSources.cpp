#include "tools/sfmaker/MakeSources.h"

#include <system_error>

#include "settings/SettingsDirectory.h"
#include "settings/SettingsFile.h"

namespace sf {

Expected<MakeSources> makeSources(const MakeArguments& args) {
    MakeSources sources;
    sources.options = PackageBuilder::systemOptions();
    sources.options.convertImages = !args.raw;
    if (!args.templatePath.empty()) sources.options.templatePaths = {args.templatePath};

    const bool named = !args.settingsFile.empty();
    if (named || !args.setsAnyField()) {
        const auto file = named ? args.settingsFile : userSettingsFile();
        sources.settingsFile = file;
        std::error_code ec;
        const bool missing =
            std::filesystem::status(file, ec).type() == std::filesystem::file_type::not_found;
        if (named || !missing) {
            auto settings = readSettingsFile(
                file, {}, named ? RelativePaths::FromFileFolder : RelativePaths::FromWorkingFolder);
            if (!settings) return failureOf(settings);
            sources.settings = settings->settings;
            if (const auto& package = settings->package) {
                if (args.templatePath.empty() && package->templatePath) {
                    sources.options.templatePaths = {*package->templatePath};
                }
                if (package->imagesAsBytes) sources.options.convertImages = false;
                sources.keySeed = package->keySeed;
            }
        }
    }
    sources.settings = args.applyTo(sources.settings);
    return sources;
}

}  // namespace sf
