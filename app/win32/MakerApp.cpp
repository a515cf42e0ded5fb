#include "app/win32/MakerApp.h"

#include <commctrl.h>

#include "app/win32/MakerDlg.h"

namespace sf {

BOOL CSparrowflasherMakerApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // Screen readers take the controls' accessible objects through COM.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    {
        CSparrowflasherMakerDlg dialog;
        dialog.DoModal();
    }
    if (com) CoUninitialize();
    return FALSE;
}

}  // namespace sf
