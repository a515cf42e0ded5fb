#pragma once

#include <windows.h>

namespace sf {

// The application: runs the main dialog once, modally, and then lets the
// process end. It reads no command line.
class CSparrowflasherMakerApp {
  public:
    // Registers the common controls, runs the dialog and always returns
    // FALSE: there is no message loop after the dialog.
    BOOL InitInstance();
};

}  // namespace sf
