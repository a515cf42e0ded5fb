#pragma once

#include <string>

namespace sf {

// A key as the key rules see it: its class, and the characters it types
// where the front end knows them with the press. Each front end maps its own
// key codes onto these.
enum class KeyClass {
    MainDigit,    // 0 to 9 on the main keyboard
    KeypadDigit,  // 0 to 9 on the keypad
    LetterAToF,   // the letter keys A to F, with or without Shift
    Character,    // any other key that types a character
    Backspace,
    Tab,  // Shift+Tab too
    Delete,
    Navigation,  // the arrow keys, Home and End
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
    // What the key types, as the layout and the modifiers make it. Empty where
    // the characters come only after the press (Windows): each of them then
    // goes through characterPasses on its own.
    std::u16string typed = {};
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
// - The six USB-identifier edits take Backspace, Tab, Delete, the arrow keys,
//   Home and End, and the keys that type what characterPasses lets through,
//   whatever key and modifiers type it (Ctrl+C copies; Ctrl+V is refused);
//   any other key is refused there.
// - A key held with Alt, but not with Ctrl (Ctrl+Alt is AltGr), is the
//   system's: Alt+F4 closes the window and no other such key reaches a
//   control, so none types a character. Windows delivers these as system
//   keys, which never reach the rules.
KeyAction keyAction(const KeyStroke& stroke);

// Whether `character`, typed into the control `target`, may reach it. The
// identifier edits take the hexadecimal digits 0-9, A-F and a-f and, of the
// control characters, Backspace, Ctrl+A (select all) and Ctrl+C (copy) only:
// no paste, cut or undo. Other controls take every character.
bool characterPasses(int target, char16_t character);

}  // namespace sf
