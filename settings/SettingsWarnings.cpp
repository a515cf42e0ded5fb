#include "settings/SettingsWarnings.h"

#include "platform/Utf.h"

namespace sf {

std::vector<SettingsWarning> settingsWarnings(const ProjectSettings& settings) {
    std::vector<SettingsWarning> warnings;
    // A new record's note is the text that asks the user to type one.
    const std::u16string& placeholder = ProjectSettings{}.note;
    if (settings.note == placeholder) {
        warnings.push_back({IDC_NOTE, "the note is the placeholder \"" + utf16ToUtf8(placeholder) +
                                          "\", which the updater would show"});
    }
    // The package names the device's application firmware by these two.
    if (settings.apPid.empty()) {
        warnings.push_back({IDC_AP_PID, "the application's USB PID is empty"});
    }
    if (settings.apVid.empty()) {
        warnings.push_back({IDC_AP_VID, "the application's USB VID is empty"});
    }
    return warnings;
}

}  // namespace sf
