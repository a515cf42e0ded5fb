#pragma once

#include <windows.h>

#include "dialog/DialogTemplate.h"

namespace sf {

// Makes the control answer a screen reader with the name of `entry` and, as
// its description, the text of its tip: the system's own accessible object
// for the control, with those two texts in place of what the system finds
// (a shared label, a "..." caption, or nothing). `entry` must outlive the
// control. Screen readers ask through COM, so the thread must have it.
void nameForScreenReaders(HWND control, const AccessibleNameTemplate& entry);

}  // namespace sf
