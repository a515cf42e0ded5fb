#pragma once

#include <filesystem>
#include <string_view>

#include "platform/Expected.h"
#include "settings/ProjectSettings.h"
#include "settings/SettingsControls.h"

namespace sf {

// Keeps the record, the dialog's controls and setting.ini in step: loads every
// stored field once at the start, writes one key each time a field changes,
// and resets the fields from the settings folder's default.ini on request.
// Failed writes do not stop an operation; the first one is returned, and the
// record and the controls keep their new values either way.
class SettingsStore {
  public:
    // `directory` is the settings folder as resolveSettingsDirectory gives it.
    SettingsStore(ProjectSettings& settings, SettingsControls& controls,
                  std::filesystem::path directory);

    // Takes every non-empty stored text and every flag stored as "1" from the
    // settings folder's `fileName` into the controls and the record. Setting
    // a single-line edit saves it, as its change event would; a load never
    // turns a flag off.
    Status loadSettings(const std::filesystem::path& fileName);

    // Writes one key of section SETTING into the settings file.
    Status writeSetting(std::u16string_view key, std::u16string_view value);

    // The save on change of one control: the field takes the control's text,
    // or the flag its check box's state, and its key is written. Controls
    // without a save on change are ignored.
    Status saveField(int controlId);

    // The Default command: after a Yes to its question, loads default.ini,
    // rewrites every key and empties the three paths.
    Status resetSettings();

  private:
    Status showText(ControlId control, std::u16string_view text);

    ProjectSettings& settings;
    SettingsControls& controls;
    std::filesystem::path settingsDirectory;
};

}  // namespace sf
