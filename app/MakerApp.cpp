#include "app/MakerApp.h"

#include "app/MakerDlg.h"

namespace sf {

bool CSparrowflasherMakerApp::InitInstance() {
    CSparrowflasherMakerDlg dialog;
    dialog.exec();
    return false;
}

}  // namespace sf
