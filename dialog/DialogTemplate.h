#pragma once

#include <array>
#include <string_view>

#include "ProjectVersion.h"
#include "settings/ProjectSettings.h"

namespace sf {

// What a control of the main dialog is.
enum class ControlKind {
    Edit,
    PushButton,
    CheckBox,
    GroupBox,
    Label,
    Banner,  // the banner picture, shown at its own size
};

// Style facts of a control beyond its kind.
enum ControlStyle : unsigned {
    kNoStyle = 0,
    kReadOnly = 1u << 0,
    kAlignRight = 1u << 1,
    kWordWrap = 1u << 2,
    // Edits: several lines of text (the program's sets raise no change
    // event), scrolled sideways as the caret moves, Enter taken as a line break.
    kMultiLine = 1u << 3,
    kAutoHScroll = 1u << 4,
    kWantReturn = 1u << 5,
    // Labels: the text centred between the top and the bottom.
    kCentreVertically = 1u << 6,
};

// A control's place in dialog units: x, y, width, height.
struct DialogRect {
    int x, y, width, height;
};

// Controls without an identifier of their own (labels, frames, the banner).
inline constexpr int kNoControlId = -1;

struct ControlTemplate {
    int id;
    ControlKind kind;
    std::u16string_view caption;
    DialogRect rect;
    unsigned style = kNoStyle;
};

// An edit that shows several rows of text and wraps them: a multi-line edit
// that does not scroll sideways. Every other edit shows one row.
constexpr bool showsSeveralRows(const ControlTemplate& control) {
    return control.kind == ControlKind::Edit && (control.style & kMultiLine) &&
           !(control.style & kAutoHScroll);
}

inline constexpr std::u16string_view kDialogCaption =
    u"Tavlen Sparrowflasher Maker III V" SF_VERSION;
inline constexpr int kDialogWidthUnits = 278;
inline constexpr int kDialogHeightUnits = 334;
// The dialog font's size in points.
inline constexpr int kDialogFontPoints = 8;

// Every control of the main dialog, in tab order. Each label comes just
// before the edit it stands for, since a screen reader names a control by the
// label before it. Later entries lie above earlier ones, except the group box,
// which stays behind the controls it frames.
inline constexpr std::array<ControlTemplate, 38> kDialogTemplate = {{
    {kNoControlId, ControlKind::Label, u"Title:", {9, 7, 17, 8}, kCentreVertically},
    {IDC_TITLE, ControlKind::Edit, u"", {37, 8, 207, 14}, kMultiLine | kAutoHScroll},
    {kNoControlId, ControlKind::Label, u"Text:", {9, 25, 18, 8}},
    {IDC_TEXT, ControlKind::Edit, u"", {37, 25, 207, 14}, kMultiLine | kAutoHScroll},
    {kNoControlId, ControlKind::Label, u"Note:", {10, 43, 19, 8}},
    {IDC_NOTE, ControlKind::Edit, u"", {37, 42, 207, 33}, kMultiLine | kWantReturn},
    {kNoControlId, ControlKind::Label, u"Internal Flash Image:", {9, 82, 25, 29}, kWordWrap},
    {IDC_INTERNAL_IMAGE, ControlKind::Edit, u"", {37, 80, 207, 40}, kMultiLine | kReadOnly},
    {IDC_BROWSE_INTERNAL, ControlKind::PushButton, u"...", {247, 80, 20, 14}},
    {kNoControlId, ControlKind::Label, u"External Image:", {9, 124, 27, 24}, kWordWrap},
    {IDC_EXTERNAL_IMAGE, ControlKind::Edit, u"", {37, 123, 207, 40}, kMultiLine | kReadOnly},
    {IDC_BROWSE_EXTERNAL, ControlKind::PushButton, u"...", {247, 123, 20, 14}},
    {IDC_CLEAR_EXTERNAL, ControlKind::PushButton, u"X", {247, 139, 20, 14}},
    {kNoControlId, ControlKind::Label, u"Version:", {9, 170, 27, 8}},
    {IDC_VERSION, ControlKind::Edit, u"", {37, 167, 207, 14}, kAutoHScroll},
    {kNoControlId, ControlKind::Label, u"AP VID:", {10, 188, 26, 8}},
    {IDC_AP_VID, ControlKind::Edit, u"", {37, 187, 30, 14}, kAutoHScroll},
    {kNoControlId, ControlKind::Label, u"PID:", {87, 188, 15, 8}},
    {IDC_AP_PID, ControlKind::Edit, u"", {106, 187, 30, 14}, kAutoHScroll},
    {kNoControlId, ControlKind::Label, u"Usage Page: 0xFF", {150, 188, 60, 8}},
    {IDC_AP_USAGE, ControlKind::Edit, u"", {214, 187, 30, 14}, kAutoHScroll},
    {kNoControlId, ControlKind::Label, u"IAP VID:", {6, 208, 30, 8}, kAlignRight},
    {IDC_IAP_VID, ControlKind::Edit, u"", {37, 206, 30, 14}, kAutoHScroll},
    {kNoControlId, ControlKind::Label, u"PID:", {87, 208, 15, 8}},
    {IDC_IAP_PID, ControlKind::Edit, u"", {106, 206, 30, 14}, kAutoHScroll},
    {kNoControlId, ControlKind::Label, u"Usage Page: 0xFF", {150, 208, 60, 8}},
    {IDC_IAP_USAGE, ControlKind::Edit, u"", {214, 206, 30, 14}, kAutoHScroll},
    {IDC_DIGEST_EN, ControlKind::CheckBox, u"Internal Flash Digest", {17, 243, 82, 10}},
    {IDC_DIGEST, ControlKind::Edit, u"", {102, 240, 40, 14}, kAutoHScroll},
    {IDC_CMDKEY_EN, ControlKind::CheckBox, u"Command Key", {17, 260, 61, 10}},
    {IDC_CMDKEY_PATH, ControlKind::Edit, u"", {102, 258, 137, 14}, kAutoHScroll | kReadOnly},
    {IDC_BROWSE_CMDKEY, ControlKind::PushButton, u"...", {243, 258, 20, 14}},
    {IDC_MAKE, ControlKind::PushButton, u"Make", {225, 285, 45, 16}},
    {IDC_DEFAULT, ControlKind::PushButton, u"Default", {176, 285, 45, 16}},
    {kNoControlId, ControlKind::GroupBox, u"Security Mechanism", {6, 226, 264, 53}},
    {kNoControlId, ControlKind::Banner, u"", {0, 307, 280, 28}},
    {IDC_VERIFY, ControlKind::CheckBox, u"Verify", {17, 288, 34, 10}},
    {IDC_CMD_VIA_CTRL_EP,
     ControlKind::CheckBox,
     u"Command Via Control Endpoint",
     {55, 288, 114, 10}},
}};

// Converts dialog units to pixels from the dialog font's base units, as the
// platform does: a horizontal unit is a quarter of the average character
// width, a vertical unit an eighth of the character height.
struct DialogUnits {
    int baseX;
    int baseY;

    int toPixelsX(int units) const { return units * baseX / 4; }
    int toPixelsY(int units) const { return units * baseY / 8; }
};

struct ToolTipTemplate {
    ControlId control;
    std::u16string_view text;
};

// The controls that show a tip, in the order they are registered.
inline constexpr std::array<ToolTipTemplate, 13> kToolTips = {{
    {IDC_TITLE, u"Program Title. Maximum 32 characters."},
    {IDC_TEXT, u"Program Text. Maximum 50 characters."},
    {IDC_NOTE, u"Program Note. Maximum 100 characters."},
    {IDC_BROWSE_INTERNAL, u"Select Binary file."},
    {IDC_BROWSE_EXTERNAL, u"Select Binary file."},
    {IDC_DEFAULT, u"Reset all setting to default value."},
    {IDC_VERSION, u"Program Version. Maximum 16 characters."},
    {IDC_AP_PID, u"PID of Application."},
    {IDC_AP_VID, u"VID of Application."},
    {IDC_AP_USAGE, u"Usage page of Application's HID report descriptor."},
    {IDC_IAP_PID, u"PID of IAP loader."},
    {IDC_IAP_VID, u"VID of IAP loader."},
    {IDC_IAP_USAGE, u"Usage page of IAP's HID report descriptor."},
}};

// The tip a control shows, or nothing when it has none.
constexpr std::u16string_view toolTipOf(ControlId control) {
    for (const ToolTipTemplate& tip : kToolTips) {
        if (tip.control == control) return tip.text;
    }
    return {};
}

// What a screen reader calls each control that has an identifier, in tab
// order. A label beside an edit is not tied to it, and labels repeat ("PID:"
// twice, "Usage Page: 0xFF" twice), so each control is named here, uniquely;
// a button is named by what it does, not by its "..." or "X".
struct AccessibleNameTemplate {
    ControlId control;
    std::u16string_view name;
};

inline constexpr std::array<AccessibleNameTemplate, 24> kAccessibleNames = {{
    {IDC_TITLE, u"Title"},
    {IDC_TEXT, u"Text"},
    {IDC_NOTE, u"Note"},
    {IDC_INTERNAL_IMAGE, u"Internal flash image"},
    {IDC_BROWSE_INTERNAL, u"Choose the internal image"},
    {IDC_EXTERNAL_IMAGE, u"External image"},
    {IDC_BROWSE_EXTERNAL, u"Choose the external image"},
    {IDC_CLEAR_EXTERNAL, u"Clear the external image"},
    {IDC_VERSION, u"Version"},
    {IDC_AP_VID, u"AP VID"},
    {IDC_AP_PID, u"AP PID"},
    {IDC_AP_USAGE, u"AP usage page"},
    {IDC_IAP_VID, u"IAP VID"},
    {IDC_IAP_PID, u"IAP PID"},
    {IDC_IAP_USAGE, u"IAP usage page"},
    {IDC_DIGEST_EN, u"Internal Flash Digest"},
    {IDC_DIGEST, u"Internal flash digest value"},
    {IDC_CMDKEY_EN, u"Command Key"},
    {IDC_CMDKEY_PATH, u"Command-key file"},
    {IDC_BROWSE_CMDKEY, u"Choose the command-key file"},
    {IDC_MAKE, u"Make"},
    {IDC_DEFAULT, u"Default"},
    {IDC_VERIFY, u"Verify"},
    {IDC_CMD_VIA_CTRL_EP, u"Command Via Control Endpoint"},
}};

}  // namespace sf
