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
// comes back as chosen.
std::optional<std::filesystem::path> runFileDialog(HWND owner, FileDialog kind) {
    std::vector<wchar_t> file(kPathRoom, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kind == FileDialog::Open ? kOpenFilter : kSaveFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = kPathRoom;
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

std::optional<std::filesystem::path> Win32Prompts::chooseOpenFile() {
    return runFileDialog(owner, FileDialog::Open);
}

std::optional<std::filesystem::path> Win32Prompts::chooseSaveFile() {
    return runFileDialog(owner, FileDialog::Save);
}

void Win32Prompts::showMessage(std::u16string_view text, std::u16string_view caption, Icon icon) {
    MessageBoxW(owner, wideText(text).c_str(), wideText(caption).c_str(),
                MB_OK | (icon == Icon::Exclamation ? MB_ICONEXCLAMATION : 0));
}

bool Win32Prompts::askYesNo(std::u16string_view text, std::u16string_view caption) {
    return MessageBoxW(owner, wideText(text).c_str(), wideText(caption).c_str(), MB_YESNO) == IDYES;
}

void Win32Prompts::showProgress(int percent) {
    if (!progressBar) {
        // Over the banner, the width of the dialog's content.
        RECT place{6, kDialogHeightUnits - 24, kDialogWidthUnits - 6, kDialogHeightUnits - 10};
        MapDialogRect(owner, &place);
        progressBar =
            CreateWindowExW(0, PROGRESS_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, place.left,
                            place.top, place.right - place.left, place.bottom - place.top, owner,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    SendMessageW(progressBar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
    // Keep the window drawn, and known to the system as responding, while the
    // package is written; the user's input waits.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

void Win32Prompts::endProgress() {
    if (progressBar) DestroyWindow(progressBar);
    progressBar = nullptr;
}

}  // namespace sf
