#pragma once

#include "dialog/KeyRules.h"
#include "dialog/MakerDialog.h"

class QKeyEvent;

namespace sf {

// A key press as the key rules see it, with the text it types. Letter keys
// carry their upper-case code with or without Shift; the keypad's digits and
// Enter carry the keypad modifier; a real Shift+Tab arrives as Backtab.
KeyStroke keyStrokeOf(const QKeyEvent& event, int target);

// The button of a mouse press; a button the rules do not know counts as the middle one.
MouseButton mouseButtonOf(int qtButton);

}  // namespace sf
