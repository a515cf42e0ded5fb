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

// What a text field holds: free text, hex digits, or a file's path.
enum class ValueKind { Text, HexDigits, Path };

// One text field, everything the program knows of it in one row: its
// control, its key in the settings file, its member of the record, what it
// holds, the most characters the user can type into it (0 for a path, whose
// control is read-only), whether typing is kept to the hex digit keys, its
// write in the Default command, and the option of `sfmaker make` that sets it.
struct TextField {
    ControlId control;
    std::u16string_view key;
    std::u16string ProjectSettings::*member;
    ValueKind kind;
    int typingLimit;
    bool hexKeysOnly;
    // Where the Default command writes it among its sixteen writes, and
    // under which key (the digest goes under IDigestString, which names the
    // same entry as IDIGESTString); that write is empty for the image paths.
    int resetOrder;
    std::u16string_view resetKey;
    bool resetWritesEmpty;
    const char* option;
    const char* optionHelp;
};

constexpr bool holdsAPath(const TextField& field) {
    return field.kind == ValueKind::Path;
}

// One flag: its check box, its key (empty when the flag is never stored),
// the check box's caption and where the Default command writes its state
// (-1: never).
struct FlagField {
    ControlId control;
    std::u16string_view key;
    bool ProjectSettings::*member;
    std::u16string_view caption;
    int resetOrder;
};

// The fourteen text fields in the record's order.
inline constexpr std::array<TextField, 14> kTextFields = {{
    {IDC_TITLE, u"TitleString", &ProjectSettings::title, ValueKind::Text, 32, false, 0,
     u"TitleString", false, "--title", "Program title"},
    {IDC_TEXT, u"TextString", &ProjectSettings::text, ValueKind::Text, 50, false, 1, u"TextString",
     false, "--text", "Program text"},
    {IDC_NOTE, u"NoteString", &ProjectSettings::note, ValueKind::Text, 100, false, 2, u"NoteString",
     false, "--note", "Program note"},
    {IDC_INTERNAL_IMAGE, u"ImagePath1", &ProjectSettings::internalImagePath, ValueKind::Path, 0,
     false, 3, u"ImagePath1", true, "--internal", "Internal flash image file"},
    {IDC_EXTERNAL_IMAGE, u"ImagePath2", &ProjectSettings::externalImagePath, ValueKind::Path, 0,
     false, 4, u"ImagePath2", true, "--external", "External image file"},
    {IDC_VERSION, u"VersionString", &ProjectSettings::version, ValueKind::Text, 16, false, 5,
     u"VersionString", false, "--version", "Program version stored in the package"},
    {IDC_AP_PID, u"APPIDString", &ProjectSettings::apPid, ValueKind::HexDigits, 4, true, 7,
     u"APPIDString", false, "--ap-pid", "USB PID of the application"},
    {IDC_AP_VID, u"APVIDString", &ProjectSettings::apVid, ValueKind::HexDigits, 4, true, 6,
     u"APVIDString", false, "--ap-vid", "USB VID of the application"},
    {IDC_AP_USAGE, u"APINFString", &ProjectSettings::apUsage, ValueKind::HexDigits, 2, true, 8,
     u"APINFString", false, "--ap-usage", "Low byte of the application's HID usage page"},
    {IDC_IAP_PID, u"IAPPIDString", &ProjectSettings::iapPid, ValueKind::HexDigits, 4, true, 10,
     u"IAPPIDString", false, "--iap-pid", "USB PID of the IAP loader"},
    {IDC_IAP_VID, u"IAPVIDString", &ProjectSettings::iapVid, ValueKind::HexDigits, 4, true, 9,
     u"IAPVIDString", false, "--iap-vid", "USB VID of the IAP loader"},
    {IDC_IAP_USAGE, u"IAPINFString", &ProjectSettings::iapUsage, ValueKind::HexDigits, 2, true, 11,
     u"IAPINFString", false, "--iap-usage", "Low byte of the IAP loader's HID usage page"},
    {IDC_DIGEST, u"IDIGESTString", &ProjectSettings::digest, ValueKind::HexDigits, 4, false, 12,
     u"IDigestString", false, "--digest", "Internal flash digest; turns the digest on"},
    {IDC_CMDKEY_PATH, u"CMDKEYPath", &ProjectSettings::cmdKeyPath, ValueKind::Path, 0, false, 14,
     u"CMDKEYPath", false, "--cmd-key", "Command-key file (up to 64 bytes); turns the key on"},
}};

// The four flags in the record's order.
inline constexpr std::array<FlagField, 4> kFlagFields = {{
    {IDC_DIGEST_EN, u"IDigestEn", &ProjectSettings::digestEnabled, u"Internal Flash Digest", 13},
    {IDC_CMDKEY_EN, u"CMDKEYEn", &ProjectSettings::cmdKeyEnabled, u"Command Key", 15},
    {IDC_VERIFY, u"", &ProjectSettings::verify, u"Verify", -1},
    {IDC_CMD_VIA_CTRL_EP, u"", &ProjectSettings::cmdViaControlEndpoint,
     u"Command Via Control Endpoint", -1},
}};

// The row of a text field, found while compiling: naming a field the table
// lacks does not compile.
consteval const TextField& textFieldOf(ControlId control) {
    for (const TextField& field : kTextFields) {
        if (field.control == control) return field;
    }
    throw "no text field has this control";
}

// Where a row stands in its table.
constexpr std::size_t indexOf(const TextField& field) {
    return static_cast<std::size_t>(&field - kTextFields.data());
}
constexpr std::size_t indexOf(const FlagField& flag) {
    return static_cast<std::size_t>(&flag - kFlagFields.data());
}

// The table row of a text field's control, or nullptr for another control
// (the dialog asks this of every control whose text changes).
const TextField* findTextField(int control);

// The table row of a flag's check box, or nullptr for another control.
const FlagField* findFlagField(int control);

}  // namespace sf
