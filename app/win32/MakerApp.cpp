#include "app/win32/MakerApp.h"

#include <commctrl.h>

#include "app/win32/MakerDlg.h"

namespace sf {

BOOL CSparrowflasherMakerApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    CSparrowflasherMakerDlg dialog;
    dialog.DoModal();
    return FALSE;
}

}  // namespace sf
