#include "app/win32/Win32Prompts.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "app/win32/WideText.h"
#include "dialog/DialogTemplate.h"

namespace sf {
namespace {

// Filters as the common dialogs take them: pairs of a name and a pattern,
// each ended by a zero, the list by a second zero.
constexpr wchar_t kOpenFilter[] = L"All File (*.*)\0*.*\0";
constexpr wchar_t kSaveFilter[] = L"EXE *.exe\0*.exe;\0All Files(*.*)\0*.*\0";

// Room for the longest path Windows knows.
constexpr DWORD kPathRoom = 32768;

enum class FileDialog { Open, Save };

// The system's own titles ("Open", "Save As"); no read-only box, and the
// process's current folder stays as it was. A typed name of a missing file
// comes back as chosen. Shown again, it opens in the folder of `again` with
// its name typed in.
std::optional<std::filesystem::path> runFileDialog(HWND owner, FileDialog kind,
                                                   const std::filesystem::path& again) {
    std::vector<wchar_t> file(kPathRoom, L'\0');
    const std::wstring name = again.filename().wstring();
    const std::wstring folder = again.parent_path().wstring();
    if (name.size() < kPathRoom) std::copy(name.begin(), name.end(), file.begin());
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kind == FileDialog::Open ? kOpenFilter : kSaveFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kPathRoom;
    if (!folder.empty()) dialog.lpstrInitialDir = folder.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    BOOL chosen = FALSE;
    if (kind == FileDialog::Open) {
        chosen = GetOpenFileNameW(&dialog);
    } else {
        dialog.lpstrDefExt = L"exe";
        chosen = GetSaveFileNameW(&dialog);
    }
    if (!chosen) return std::nullopt;
    return std::filesystem::path(file.data());
}

}  // namespace

Win32Prompts::~Win32Prompts() {
    endProgress();
}

std::optional<std::filesystem::path> Win32Prompts::chooseOpenFile(
    const std::filesystem::path& again) {
    return runFileDialog(owner, FileDialog::Open, again);
}

std::optional<std::filesystem::path> Win32Prompts::chooseSaveFile(
    const std::filesystem::path& again) {
    return runFileDialog(owner, FileDialog::Save, again);
}

void Win32Prompts::showMessage(std::u16string_view text, std::u16string_view caption, Icon icon) {
    MessageBoxW(owner, wideText(text).c_str(), wideText(caption).c_str(),
                MB_OK | (icon == Icon::Exclamation ? MB_ICONEXCLAMATION : 0));
}

bool Win32Prompts::askYesNo(std::u16string_view text, std::u16string_view caption) {
    return MessageBoxW(owner, wideText(text).c_str(), wideText(caption).c_str(), MB_YESNO) == IDYES;
}

namespace {

// A child window of `owner` at `place`, given in dialog units.
HWND makeChild(HWND owner, const wchar_t* windowClass, const wchar_t* text, DWORD style, RECT place,
               int id) {
    MapDialogRect(owner, &place);
    HWND child = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top,
                                 owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, SendMessageW(owner, WM_GETFONT, 0, 0), TRUE);
    return child;
}

bool isUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

bool Win32Prompts::showProgress(int percent) {
    if (!progressBar) {
        // Over the banner, the width of the dialog's content, Cancel at its right.
        progressBar = makeChild(
            owner, PROGRESS_CLASSW, nullptr, 0,
            {6, kDialogHeightUnits - 24, kDialogWidthUnits - 56, kDialogHeightUnits - 10}, 0);
        cancelButton = makeChild(owner, L"BUTTON", L"Cancel", WS_TABSTOP | BS_PUSHBUTTON,
                                 {kDialogWidthUnits - 51, kDialogHeightUnits - 25,
                                  kDialogWidthUnits - 6, kDialogHeightUnits - 9},
                                 kCancelWriteId);
        focusBefore = GetFocus();
        SetFocus(cancelButton);
        cancelled = false;
    }
    SendMessageW(progressBar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    pumpWhileWriting();
    return !cancelled;
}

void Win32Prompts::pumpWhileWriting() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the request for the dialog's own loop, and stop the write.
            PostQuitMessage(static_cast<int>(message.wParam));
            cancelled = true;
            return;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
            cancelled = true;
            continue;
        }
        // Clicks and keys meant for the rest of the dialog are dropped: the
        // dialog is busy, and Make must not run again when it is done.
        if (isUserInput(message.message) && message.hwnd != cancelButton) continue;
        // Nor are files dropped meanwhile taken.
        if (message.message == WM_DROPFILES) {
            DragFinish(reinterpret_cast<HDROP>(message.wParam));
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void Win32Prompts::endProgress() {
    if (!progressBar) return;
    DestroyWindow(progressBar);
    DestroyWindow(cancelButton);
    progressBar = cancelButton = nullptr;
    if (focusBefore) SetFocus(focusBefore);
}

}  // namespace sf
