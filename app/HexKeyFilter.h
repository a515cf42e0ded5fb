#pragma once

class QKeyEvent;

namespace sf {

// Whether a key press may reach one of the six USB-identifier edits: the
// digit keys of the main row and the keypad, the letter keys A to F and the
// editing keys Backspace, Delete, Tab and Shift+Tab. The test is on the key,
// not on the character it makes, and modifiers are not looked at.
bool hexKeyPasses(const QKeyEvent& event);

}  // namespace sf
