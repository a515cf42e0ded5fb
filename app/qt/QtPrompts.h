#pragma once

#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <memory>

#include "dialog/DialogPrompts.h"

class QWidget;

namespace sf {

// The prompts as Qt's file dialogs, message boxes and progress window, modal to `owner`.
class QtPrompts : public DialogPrompts {
  public:
    explicit QtPrompts(QWidget* owner);
    ~QtPrompts() override;

    std::optional<std::filesystem::path> chooseOpenFile(
        const std::filesystem::path& again) override;
    std::optional<std::filesystem::path> chooseSaveFile(
        const std::filesystem::path& again) override;
    void showMessage(std::u16string_view text, std::u16string_view caption, Icon icon) override;
    bool askYesNo(std::u16string_view text, std::u16string_view caption) override;
    bool showProgress(int percent) override;
    void endProgress() override;

    // The choosers before they are shown, for a look at their setup.
    static void setUpOpenDialog(QFileDialog& dialog);
    static void setUpSaveDialog(QFileDialog& dialog);

  private:
    std::optional<std::filesystem::path> runFileDialog(QFileDialog& dialog,
                                                       const std::filesystem::path& again);

    QWidget* owner;
    // Shown while a large package is written.
    std::unique_ptr<QProgressDialog> writing;
};

}  // namespace sf
