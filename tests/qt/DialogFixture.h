#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/qt/MakerDlg.h"
#include "app/qt/QtText.h"
#include "platform/IniProfile.h"
#include "platform/Utf.h"
#include "settings/SettingsDirectory.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

// Shows texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace sf::test {

// A dialog opened on fresh settings: the per-user data folder and the working
// folder are a temporary folder of the test's own, restored afterwards.
class QtDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousWorkingFolder = std::filesystem::current_path();
        previousDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QByteArray::fromStdString((folder / "data").string()));
        std::filesystem::create_directories(folder / "work");
        std::filesystem::current_path(folder / "work");
    }

    void TearDown() override {
        dialog.reset();
        std::filesystem::current_path(previousWorkingFolder);
        qputenv("XDG_DATA_HOME", previousDataHome);
    }

    // Writes setting.ini in the settings folder before the dialog opens.
    void storeSetting(std::u16string_view key, std::u16string_view value) {
        std::filesystem::create_directories(settingsFile().parent_path());
        ASSERT_TRUE(writeProfileString(settingsFile(), u"SETTING", key, value));
    }

    void open() {
        auto scripted = std::make_unique<ScriptedPrompts>();
        prompts = scripted.get();
        dialog = std::make_unique<CSparrowflasherMakerDlg>(std::move(scripted));
        dialog->show();
        activate();
    }

    // Neither offscreen nor a bare X server re-activates the dialog after a box.
    void activate() {
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    std::filesystem::path settingsFile() const {
        return folder / "data" / kSettingsFolderName / kSettingsFileName;
    }

    // A key of setting.ini, or "<missing>".
    std::string stored(std::u16string_view key) const {
        return toQString(
                   readProfileString(settingsFile(), u"SETTING", key, u"<missing>", kWholeValue))
            .toStdString();
    }

    QWidget* control(int id) const { return dialog->GetDlgItem(id); }
    QLineEdit* lineEdit(int id) const { return qobject_cast<QLineEdit*>(control(id)); }
    QPlainTextEdit* textEdit(int id) const { return qobject_cast<QPlainTextEdit*>(control(id)); }
    QCheckBox* checkBox(int id) const { return qobject_cast<QCheckBox*>(control(id)); }
    QPushButton* button(int id) const { return qobject_cast<QPushButton*>(control(id)); }

    std::string shown(ControlId id) const { return toQString(dialog->text(id)).toStdString(); }

    // Focuses a control the way Tab would, so that keys go to it.
    void focus(int id) {
        control(id)->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), control(id));
    }

    // Types into the focused control.
    void type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    // Drops files at `point` of the dialog as Qt delivers a drop: to the
    // deepest widget there that takes drops, offering a copy or a move;
    // `taken` says whether the dialog is to take them.
    void drop(QPoint point, const std::vector<std::filesystem::path>& files, bool taken = true) {
        QList<QUrl> urls;
        for (const auto& file : files) {
            urls.push_back(QUrl::fromLocalFile(toQString(pathToUtf16(file))));
        }
        QMimeData data;
        data.setUrls(urls);
        QWidget* receiver = dialog->childAt(point);
        if (!receiver) receiver = dialog.get();
        while (!receiver->acceptDrops() && receiver != dialog.get()) {
            receiver = receiver->parentWidget();
        }
        ASSERT_TRUE(receiver->acceptDrops()) << "nothing takes a drop there";
        const QPoint at = receiver->mapFrom(dialog.get(), point);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(receiver, &enter);
        ASSERT_EQ(enter.isAccepted(), taken);
        if (!taken) return;
        QDropEvent dropped(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(receiver, &dropped);
        ASSERT_TRUE(dropped.isAccepted());
        EXPECT_EQ(dropped.dropAction(), Qt::CopyAction);
        // The dialog takes the files once the drop has returned.
        QCoreApplication::processEvents();
    }

    TempDir folder;
    ScriptedPrompts* prompts = nullptr;
    std::unique_ptr<CSparrowflasherMakerDlg> dialog;

  private:
    std::filesystem::path previousWorkingFolder;
    QByteArray previousDataHome;
};

}  // namespace sf::test
