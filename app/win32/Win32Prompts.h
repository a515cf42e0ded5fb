#pragma once

#include <windows.h>

#include "dialog/DialogPrompts.h"

namespace sf {

// The prompts as the system's common file dialogs and message boxes, owned
// by the dialog's window, and a progress bar along the foot of the dialog
// while a large package is written.
class Win32Prompts : public DialogPrompts {
  public:
    // `owner` is the dialog's window handle, read when a prompt opens.
    explicit Win32Prompts(const HWND& owner) : owner(owner) {}
    ~Win32Prompts() override;

    std::optional<std::filesystem::path> chooseOpenFile() override;
    std::optional<std::filesystem::path> chooseSaveFile() override;
    void showMessage(std::u16string_view text, std::u16string_view caption, Icon icon) override;
    bool askYesNo(std::u16string_view text, std::u16string_view caption) override;
    void showProgress(int percent) override;
    void endProgress() override;

  private:
    const HWND& owner;
    HWND progressBar = nullptr;
};

}  // namespace sf
