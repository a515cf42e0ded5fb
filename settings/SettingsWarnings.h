#pragma once

#include <string>
#include <vector>

#include "settings/ProjectSettings.h"

namespace sf {

// Something a package made from a record would ship that is almost surely a
// mistake, though the device would take it: `control` is the field to fix,
// `text` says what is wrong with it in one sentence.
struct SettingsWarning {
    ControlId control;
    std::string text;

    bool operator==(const SettingsWarning&) const = default;
};

// The warnings of a record, in the record's field order; none for a record
// that is ready to ship: the note is no longer the dialog's placeholder and
// the application has a VID and a PID.
std::vector<SettingsWarning> settingsWarnings(const ProjectSettings& settings);

}  // namespace sf
