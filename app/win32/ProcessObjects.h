#pragma once

#include "app/win32/MakerApp.h"
#include "app/win32/ToolTipControl.h"
#include "dialog/ProcessObjects.h"

namespace sf {

// The objects the whole process shares, in the order they are made (see
// dialog/ProcessObjects.h for the other two).

// The application object.
extern CSparrowflasherMakerApp theApp;
// The tips of the dialog's controls; the dialog creates them when it opens.
extern ToolTipControl toolTipControl;

}  // namespace sf
