#include "app/qt/MakerApp.h"

#include "app/qt/MakerDlg.h"

namespace sf {

bool CSparrowflasherMakerApp::InitInstance() {
    CSparrowflasherMakerDlg dialog;
    dialog.exec();
    return false;
}

}  // namespace sf
