#include "settings/SettingsFile.h"

namespace sf {

std::size_t readBufferSize(const TextField& field) {
    // Only the path fields have read-only controls, so no typing limit.
    return field.typingLimit == 0 ? kWholeValue : kProfileBufferSize;
}

std::optional<std::u16string> storedText(const IniFile& file, const TextField& field) {
    auto value = file.get(kSettingsSection, field.key, u"", readBufferSize(field));
    if (value.empty()) return std::nullopt;
    return value;
}

bool storedFlagIsOn(const IniFile& file, const FlagField& flag) {
    return !flag.key.empty() &&
           file.get(kSettingsSection, flag.key, u"", kProfileBufferSize) == u"1";
}

ProjectSettings readSettingsFile(const std::filesystem::path& file, ProjectSettings base) {
    const auto ini = IniFile::read(file);
    for (const TextField& field : kTextFields) {
        if (auto value = storedText(ini, field)) base.*field.member = std::move(*value);
    }
    for (const FlagField& flag : kFlagFields) {
        if (storedFlagIsOn(ini, flag)) base.*flag.member = true;
    }
    return base;
}

}  // namespace sf
