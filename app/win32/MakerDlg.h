#pragma once

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>

#include "app/win32/Win32Prompts.h"
#include "dialog/DialogControls.h"
#include "dialog/MakerDialog.h"

namespace sf {

// The tool's one window on Windows: a dialog made by the system from the
// control table, run by a modal loop of our own so that the key and click
// rules see every message before the controls do. What the dialog does
// lives in MakerDialog; this class owns the window (found again from its
// handle through DWLP_USER) and forwards its events.
class CSparrowflasherMakerDlg : public DialogControls {
  public:
    // `services` name the settings folder, the template and the clock; by
    // default the system's.
    explicit CSparrowflasherMakerDlg(MakerDialog::Services services = defaultServices());
    ~CSparrowflasherMakerDlg() override;
    CSparrowflasherMakerDlg(const CSparrowflasherMakerDlg&) = delete;
    CSparrowflasherMakerDlg& operator=(const CSparrowflasherMakerDlg&) = delete;

    // Shows the dialog and runs its loop until it closes. IDCANCEL after the
    // close box, its menu or Alt+F4; -1 when the dialog could not be made.
    INT_PTR DoModal();

    // Makes the window without running a loop; false when it could not be made.
    bool Create();

    // One message taken from the queue: the rules first, then the dialog's
    // keyboard handling, then the window it is for.
    void PumpMessage(MSG& message);

    // The key and click rules, the tooltip's relay and the dialog's keyboard
    // handling (Tab, Space on a button, ...). True when the message is used up.
    BOOL PreTranslateMessage(MSG& message);

    // True once the dialog has been closed.
    bool HasEnded() const { return ended; }

    HWND GetSafeHwnd() const { return window; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(window, id); }

    // DialogControls
    std::u16string text(ControlId control) const override;
    void setText(ControlId control, std::u16string_view text) override;
    void setTypingLimit(ControlId edit, int limit) override;
    bool isChecked(ControlId checkBox) const override;
    void check(ControlId checkBox) override;
    void setFocus(ControlId control) override;

  private:
    static MakerDialog::Services defaultServices();
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    // Places the window in the middle of its monitor's work area.
    void CentreWindow();
    // Draws the banner's picture as large as the screen's DPI makes the
    // dialog: its bitmap has the size of a 96 DPI screen.
    void ScaleBannerToDpi();
    void OnCommand(int id, int notification);
    // Files dropped from the shell: read from the drop, which is then
    // released, and handed to the dialog's rule with the control under them.
    void OnDropFiles(HDROP drop);
    // The control under `place` (client coordinates), or kNoControlId.
    int controlAt(POINT place) const;
    void OnPaint();
    // The identifier of the dialog's control `control`, or kNoControlId.
    int controlIdOf(HWND control) const;

    HWND window = nullptr;
    HICON mainIcon;
    // The banner's picture drawn for the screen's DPI, when it is not 96.
    HBITMAP scaledBanner = nullptr;
    std::unique_ptr<Win32Prompts> prompts;
    MakerDialog behaviour;
    // Set while the program puts a text into an edit: its change is not the user's.
    bool settingText = false;
    bool ended = false;
    INT_PTR result = -1;
};

}  // namespace sf
