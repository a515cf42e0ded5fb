#include "settings/SettingsFile.h"

#include <vector>

#include "platform/Utf.h"

namespace sf {
namespace {

// Where a row of a field table stands in it.
template <typename Field, std::size_t N>
std::size_t indexOf(const std::array<Field, N>& table, const Field& field) {
    std::size_t i = 0;
    while (i + 1 < N && table[i].control != field.control) ++i;
    return i;
}

// How much of a stored text a read keeps. Texts are read as the Windows tool
// reads them, at most 259 characters; a path is read whole, since a full path
// can be longer than that.
std::size_t readBufferSize(const TextField& field) {
    return holdsAPath(field) ? kWholeValue : kProfileBufferSize;
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
    return texts[indexOf(kTextFields, field)];
}

bool StoredSettings::flagIsOn(const FlagField& flag) const {
    return flags[indexOf(kFlagFields, flag)];
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

Expected<ProjectSettings> readSettingsFile(const std::filesystem::path& file, ProjectSettings base,
                                           RelativePaths relativePaths) {
    const auto ini = IniFile::load(file);
    if (!ini) {
        return fail("cannot read the settings file " + quotedPath(file) + ": " +
                    ini.error().message);
    }
    StoredSettings stored(*ini);
    if (relativePaths == RelativePaths::FromFileFolder) {
        stored.resolvePathsAgainst(file.parent_path());
    }
    return stored.applyTo(std::move(base));
}

}  // namespace sf
