#pragma once

#include <QFileDialog>
#include <QMessageBox>

#include "app/UserPrompts.h"

class QWidget;

namespace sf {

// The prompts as Qt's file dialogs and message boxes, modal to `owner`.
class QtPrompts : public UserPrompts {
  public:
    explicit QtPrompts(QWidget* owner) : owner(owner) {}

    std::optional<QString> chooseOpenFile() override;
    std::optional<QString> chooseSaveFile() override;
    void showMessage(const QString& text, const QString& caption, Icon icon) override;
    bool askYesNo(const QString& text, const QString& caption) override;

    // The choosers and boxes before they are shown, for a look at their setup.
    static void setUpOpenDialog(QFileDialog& dialog);
    static void setUpSaveDialog(QFileDialog& dialog);

  private:
    std::optional<QString> runFileDialog(QFileDialog& dialog);

    QWidget* owner;
};

}  // namespace sf
