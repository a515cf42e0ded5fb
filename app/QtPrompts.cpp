#include "app/QtPrompts.h"

namespace sf {

void QtPrompts::setUpOpenDialog(QFileDialog& dialog) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a missing file comes back as chosen; the caller checks it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("All File (*)"));
}

void QtPrompts::setUpSaveDialog(QFileDialog& dialog) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("exe"));
    dialog.setNameFilters({QStringLiteral("EXE (*.exe)"), QStringLiteral("All Files (*)")});
    // The Make command asks about an existing file itself.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
}

std::optional<QString> QtPrompts::runFileDialog(QFileDialog& dialog) {
    // QFileDialog never changes the process's current folder.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtPrompts::chooseOpenFile() {
    QFileDialog dialog(owner);
    setUpOpenDialog(dialog);
    return runFileDialog(dialog);
}

std::optional<QString> QtPrompts::chooseSaveFile() {
    QFileDialog dialog(owner);
    setUpSaveDialog(dialog);
    return runFileDialog(dialog);
}

void QtPrompts::showMessage(const QString& text, const QString& caption, Icon icon) {
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption,
                    text, QMessageBox::Ok, owner);
    box.exec();
}

bool QtPrompts::askYesNo(const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace sf
