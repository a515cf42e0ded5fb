#pragma once

#include <windows.h>

#include "dialog/DialogPrompts.h"

namespace sf {

// The prompts as the system's common file dialogs and message boxes, owned
// by the dialog's window, and a progress bar with a Cancel button along the
// foot of the dialog while a large package is written.
class Win32Prompts : public DialogPrompts {
  public:
    // The identifier of the progress bar's Cancel button.
    static constexpr int kCancelWriteId = 1100;

    // `owner` is the dialog's window handle, read when a prompt opens.
    explicit Win32Prompts(const HWND& owner) : owner(owner) {}
    ~Win32Prompts() override;

    std::optional<std::filesystem::path> chooseOpenFile(
        const std::filesystem::path& again) override;
    std::optional<std::filesystem::path> chooseSaveFile(
        const std::filesystem::path& again) override;
    void showMessage(std::u16string_view text, std::u16string_view caption, Icon icon) override;
    bool askYesNo(std::u16string_view text, std::u16string_view caption) override;
    bool showProgress(int percent) override;
    void endProgress() override;

    // The Cancel button beside the progress bar was pressed.
    void OnBnClickedCancelWrite() { cancelled = true; }

  private:
    // Keeps the window drawn while the package is written; of the user's
    // input only what goes to the Cancel button is taken (and Escape cancels).
    void pumpWhileWriting();

    const HWND& owner;
    HWND progressBar = nullptr;
    HWND cancelButton = nullptr;
    HWND focusBefore = nullptr;
    bool cancelled = false;
};

}  // namespace sf
