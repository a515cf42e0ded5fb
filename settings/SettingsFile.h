#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Expected.h"
#include "platform/IniProfile.h"
#include "settings/PackageSection.h"
#include "settings/ProjectSettings.h"

namespace sf {

// What a settings file holds for the fields of the record, read from the
// file in one pass.
class StoredSettings {
  public:
    explicit StoredSettings(const IniFile& file);

    // The value the file holds for a text field, or nothing when it holds none
    // or an empty one (the field then keeps its value).
    const std::optional<std::u16string>& text(const TextField& field) const;

    // True when the file turns the flag on: its value is exactly "1". No value
    // turns a flag off.
    bool flagIsOn(const FlagField& flag) const;

    // Makes every relative image and command-key path name a file in `folder`.
    void resolvePathsAgainst(const std::filesystem::path& folder);

    // The record `base` with every field that the file holds taken from it, by
    // the rules of a load: an empty or missing value keeps the field, and a
    // flag is only ever turned on.
    ProjectSettings applyTo(ProjectSettings base) const;

  private:
    std::array<std::optional<std::u16string>, kTextFields.size()> texts;
    std::array<bool, kFlagFields.size()> flags{};
};

// Where the relative paths in a settings file point.
enum class RelativePaths {
    // At the working folder, as the dialog reads its own setting.ini.
    FromWorkingFolder,
    // Beside the settings file, as a project's settings file is read.
    FromFileFolder,
};

// What a settings file gives: the record, and the package section when the
// file has one (its template path made to name a file as the relative paths
// of the record do).
struct SettingsFileContents {
    ProjectSettings settings;
    std::optional<PackageSection> package;
};

// The record `base` with every field that the settings file holds taken from
// it, as applyTo does. A file with the package section describes one whole
// package, so there the record starts from an empty one instead of `base`:
// every text empty, the stored flags off, Verify and the control endpoint as
// the section says; an empty value then gives an empty field. A file that is
// missing or cannot be read, or whose package section holds a value it cannot
// mean, is an error naming it, with the reason.
Expected<SettingsFileContents> readSettingsFile(const std::filesystem::path& file,
                                                ProjectSettings base, RelativePaths relativePaths);

}  // namespace sf
