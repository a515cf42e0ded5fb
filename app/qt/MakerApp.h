#pragma once

namespace sf {

// The application: runs the main dialog once, modally, and then lets the
// process end. It reads no command line.
class CSparrowflasherMakerApp {
  public:
    // Needs the QApplication. Always returns false: there is no main loop
    // after the dialog.
    bool InitInstance();
};

}  // namespace sf
