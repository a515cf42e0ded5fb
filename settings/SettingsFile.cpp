#include "settings/SettingsFile.h"

#include <vector>

#include "platform/Utf.h"

namespace sf {
namespace {

// How much of a stored text a read keeps. Texts are read as the Windows tool
// reads them, at most 259 characters; a path is read whole, since a full path
// can be longer than that.
std::size_t readBufferSize(const TextField& field) {
    return holdsAPath(field) ? kWholeValue : kProfileBufferSize;
}

// A record with every text empty and every flag off.
ProjectSettings emptySettings() {
    ProjectSettings settings;
    for (const TextField& field : kTextFields) (settings.*field.member).clear();
    for (const FlagField& flag : kFlagFields) settings.*flag.member = false;
    return settings;
}

}  // namespace

StoredSettings::StoredSettings(const IniFile& file) {
    std::vector<ProfileRead> reads;
    for (const TextField& field : kTextFields) {
        reads.push_back({field.key, u"", readBufferSize(field)});
    }
    for (const FlagField& flag : kFlagFields) reads.push_back({flag.key});
    const auto values = file.get(kSettingsSection, reads);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!values[i].empty()) texts[i] = values[i];
    }
    for (std::size_t i = 0; i < flags.size(); ++i) {
        flags[i] = !kFlagFields[i].key.empty() && values[texts.size() + i] == u"1";
    }
}

const std::optional<std::u16string>& StoredSettings::text(const TextField& field) const {
    return texts.at(indexOf(field));
}

bool StoredSettings::flagIsOn(const FlagField& flag) const {
    return flags.at(indexOf(flag));
}

void StoredSettings::resolvePathsAgainst(const std::filesystem::path& folder) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!holdsAPath(kTextFields[i]) || !texts[i]) continue;
        const auto path = pathFromUtf16(*texts[i]);
        if (path.is_relative()) texts[i] = pathToUtf16(folder / path);
    }
}

ProjectSettings StoredSettings::applyTo(ProjectSettings base) const {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i]) base.*kTextFields[i].member = *texts[i];
    }
    for (std::size_t i = 0; i < flags.size(); ++i) {
        if (flags[i]) base.*kFlagFields[i].member = true;
    }
    return base;
}

Expected<SettingsFileContents> readSettingsFile(const std::filesystem::path& file,
                                                ProjectSettings base, RelativePaths relativePaths) {
    const auto ini = IniFile::load(file);
    if (!ini) {
        return fail("cannot read the settings file " + quotedPath(file) + ": " +
                    ini.error().message);
    }
    auto package = readPackageSection(*ini);
    if (!package)
        return fail(package.error().after("the settings file " + quotedPath(file) + ": "));
    StoredSettings stored(*ini);
    const bool beside = relativePaths == RelativePaths::FromFileFolder;
    if (beside) stored.resolvePathsAgainst(file.parent_path());
    if (*package) {
        base = emptySettings();
        base.verify = (*package)->verify;
        base.cmdViaControlEndpoint = (*package)->cmdViaControlEndpoint;
        auto& templatePath = (*package)->templatePath;
        if (beside && templatePath && templatePath->is_relative()) {
            templatePath = file.parent_path() / *templatePath;
        }
    }
    return SettingsFileContents{stored.applyTo(std::move(base)), *package};
}

}  // namespace sf
