#pragma once

#include <windows.h>

#include <vector>

namespace sf {

// The main dialog's extended dialog template (DLGTEMPLATEEX), made in
// memory from the control table: the caption, the size and every control
// with its class, style, place and caption in dialog units, and the font
// "MS Shell Dlg" 8 pt, from which the system takes its dialog units.
std::vector<WORD> makeDialogTemplate();

}  // namespace sf
