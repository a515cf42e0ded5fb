#pragma once

#include <array>
#include <string>
#include <string_view>

namespace sf {

// Identifiers of the dialog's controls. The settings table, the dialog and
// the settings store all address a field by the identifier of its control.
enum ControlId : int {
    IDC_TITLE = 1000,
    IDC_TEXT = 1001,
    IDC_NOTE = 1002,
    IDC_BROWSE_INTERNAL = 1003,
    IDC_INTERNAL_IMAGE = 1004,
    IDC_MAKE = 1005,
    IDC_DEFAULT = 1006,
    IDC_BROWSE_EXTERNAL = 1007,
    IDC_EXTERNAL_IMAGE = 1008,
    IDC_CLEAR_EXTERNAL = 1009,
    IDC_BROWSE_CMDKEY = 1010,
    IDC_AP_PID = 1011,
    IDC_AP_VID = 1012,
    IDC_IAP_PID = 1013,
    IDC_IAP_VID = 1014,
    IDC_VERSION = 1015,
    IDC_AP_USAGE = 1016,
    IDC_IAP_USAGE = 1017,
    IDC_DIGEST = 1018,
    IDC_CMDKEY_PATH = 1020,
    IDC_CMDKEY_EN = 1021,
    IDC_DIGEST_EN = 1022,
    IDC_VERIFY = 1023,
    IDC_CMD_VIA_CTRL_EP = 1024,
};

// Everything a user sets up for a package. A new record holds the start
// values; texts are UTF-16 and limits count UTF-16 code units.
struct ProjectSettings {
    std::u16string title = u"Tavlen Sparrowflasher V1.0.0";
    std::u16string text = u"Sparrowflasher for Tavlen. Version V1.0.0";
    std::u16string note = u"Type note here, maximum 100 characters.";
    std::u16string internalImagePath;
    std::u16string externalImagePath;
    std::u16string version;
    std::u16string apPid;
    std::u16string apVid;
    std::u16string apUsage;
    std::u16string iapPid;
    std::u16string iapVid;
    std::u16string iapUsage;
    std::u16string digest;
    std::u16string cmdKeyPath;
    bool digestEnabled = false;
    bool cmdKeyEnabled = false;
    bool verify = true;
    bool cmdViaControlEndpoint = false;

    bool operator==(const ProjectSettings&) const = default;
};

// The section of the settings file that holds every stored field.
inline constexpr std::u16string_view kSettingsSection = u"SETTING";

// One text field: its control, its key in the settings file, the most
// characters the user can type into it (0: no typing, the control is
// read-only) and whether typing is kept to hex digits.
struct TextField {
    ControlId control;
    std::u16string_view key;
    std::u16string ProjectSettings::*member;
    int typingLimit;
    bool hexKeysOnly = false;
};

// True for the fields that hold a file's path: only their controls are
// read-only, so only they have no typing limit.
constexpr bool holdsAPath(const TextField& field) {
    return field.typingLimit == 0;
}

// One flag: its check box, its key (empty when the flag is never stored) and
// the check box's caption.
struct FlagField {
    ControlId control;
    std::u16string_view key;
    bool ProjectSettings::*member;
    std::u16string_view caption;
};

// The fourteen text fields in the record's order.
inline constexpr std::array<TextField, 14> kTextFields = {{
    {IDC_TITLE, u"TitleString", &ProjectSettings::title, 32},
    {IDC_TEXT, u"TextString", &ProjectSettings::text, 50},
    {IDC_NOTE, u"NoteString", &ProjectSettings::note, 100},
    {IDC_INTERNAL_IMAGE, u"ImagePath1", &ProjectSettings::internalImagePath, 0},
    {IDC_EXTERNAL_IMAGE, u"ImagePath2", &ProjectSettings::externalImagePath, 0},
    {IDC_VERSION, u"VersionString", &ProjectSettings::version, 16},
    {IDC_AP_PID, u"APPIDString", &ProjectSettings::apPid, 4, true},
    {IDC_AP_VID, u"APVIDString", &ProjectSettings::apVid, 4, true},
    {IDC_AP_USAGE, u"APINFString", &ProjectSettings::apUsage, 2, true},
    {IDC_IAP_PID, u"IAPPIDString", &ProjectSettings::iapPid, 4, true},
    {IDC_IAP_VID, u"IAPVIDString", &ProjectSettings::iapVid, 4, true},
    {IDC_IAP_USAGE, u"IAPINFString", &ProjectSettings::iapUsage, 2, true},
    {IDC_DIGEST, u"IDIGESTString", &ProjectSettings::digest, 4},
    {IDC_CMDKEY_PATH, u"CMDKEYPath", &ProjectSettings::cmdKeyPath, 0},
}};

// The four flags in the record's order.
inline constexpr std::array<FlagField, 4> kFlagFields = {{
    {IDC_DIGEST_EN, u"IDigestEn", &ProjectSettings::digestEnabled, u"Internal Flash Digest"},
    {IDC_CMDKEY_EN, u"CMDKEYEn", &ProjectSettings::cmdKeyEnabled, u"Command Key"},
    {IDC_VERIFY, u"", &ProjectSettings::verify, u"Verify"},
    {IDC_CMD_VIA_CTRL_EP, u"", &ProjectSettings::cmdViaControlEndpoint,
     u"Command Via Control Endpoint"},
}};

// The table row of a text field's control, or nullptr for another control.
const TextField* findTextField(int control);

// The table row of a flag's check box, or nullptr for another control.
const FlagField* findFlagField(int control);

}  // namespace sf
