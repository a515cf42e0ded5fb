#pragma once

namespace sf {

// A key as the key rules see it: its class, not its character. Each front
// end maps its own key codes onto these.
enum class KeyClass {
    MainDigit,    // 0 to 9 on the main keyboard
    KeypadDigit,  // 0 to 9 on the keypad
    LetterAToF,   // the letter keys A to F, with or without Shift
    Backspace,
    Tab,  // Shift+Tab too
    Delete,
    Escape,
    Break,  // Ctrl+Break, which the system's dialog handling takes for Cancel
    Enter,  // the main Enter key and the keypad's
    F4,
    Other,
};

// A key press on its way to a control.
struct KeyStroke {
    KeyClass key;
    int target;  // the identifier of the control that has the focus, or kNoControlId
    bool alt = false;
    bool ctrl = false;
};

// What becomes of a key press.
enum class KeyAction {
    Pass,         // the control gets it
    Consume,      // nothing sees it
    MakePackage,  // Make runs; then nothing else sees the key
    Close,        // the window closes
};

// The key rules, applied before any control sees a key:
// - Escape does nothing, in any control; nor does Ctrl+Break, so the window
//   ends only by its close box, its system menu or Alt+F4.
// - Enter makes a package, in any control, the note and the buttons included.
// - The six USB-identifier edits take only the digit keys of the main row
//   and the keypad, the letter keys A to F, Backspace, Tab and Delete;
//   modifiers are not looked at (Ctrl+C passes because C does).
// - A key held with Alt, but not with Ctrl (Ctrl+Alt is AltGr), is the
//   system's: Alt+F4 closes the window and no other such key reaches a
//   control, so none types a character. Windows delivers these as system
//   keys, which never reach the rules.
KeyAction keyAction(const KeyStroke& stroke);

}  // namespace sf
