#include "app/qt/QtPrompts.h"

#include <QCoreApplication>

#include "app/qt/QtText.h"
#include "dialog/DialogMakeUi.h"
#include "platform/Utf.h"

namespace sf {

QtPrompts::QtPrompts(QWidget* owner) : owner(owner) {}

QtPrompts::~QtPrompts() = default;

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

std::optional<std::filesystem::path> QtPrompts::runFileDialog(QFileDialog& dialog,
                                                              const std::filesystem::path& again) {
    // Shown again: in the folder of the earlier choice, with its name typed in.
    if (!again.empty()) {
        dialog.setDirectory(toQString(pathToUtf16(again.parent_path())));
        dialog.selectFile(toQString(pathToUtf16(again.filename())));
    }
    // QFileDialog never changes the process's current folder.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return pathFromUtf16(toU16(dialog.selectedFiles().constFirst()));
}

std::optional<std::filesystem::path> QtPrompts::chooseOpenFile(const std::filesystem::path& again) {
    QFileDialog dialog(owner);
    setUpOpenDialog(dialog);
    return runFileDialog(dialog, again);
}

std::optional<std::filesystem::path> QtPrompts::chooseSaveFile(const std::filesystem::path& again) {
    QFileDialog dialog(owner);
    setUpSaveDialog(dialog);
    return runFileDialog(dialog, again);
}

void QtPrompts::showMessage(std::u16string_view text, std::u16string_view caption, Icon icon) {
    QMessageBox box(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    toQString(caption), toQString(text), QMessageBox::Ok, owner);
    box.exec();
}

bool QtPrompts::askYesNo(std::u16string_view text, std::u16string_view caption) {
    QMessageBox box(QMessageBox::NoIcon, toQString(caption), toQString(text),
                    QMessageBox::Yes | QMessageBox::No, owner);
    return box.exec() == QMessageBox::Yes;
}

bool QtPrompts::showProgress(int percent) {
    if (!writing) {
        writing = std::make_unique<QProgressDialog>(
            QCoreApplication::translate("QtPrompts", "Writing the package..."),
            QCoreApplication::translate("QtPrompts", "Cancel"), 0, 100, owner);
        writing->setWindowTitle(toQString(applicationName()));
        // Modal to the dialog: only the progress window takes the user's input.
        writing->setWindowModality(Qt::WindowModal);
        writing->setMinimumDuration(0);
        writing->setAutoReset(false);
    }
    writing->setValue(percent);
    // Keep the window drawn, and its Cancel button pressable, while the package is written.
    QCoreApplication::processEvents();
    return !writing->wasCanceled();
}

void QtPrompts::endProgress() {
    writing.reset();
}

}  // namespace sf
