#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MakerDlg.h"
#include "app/QtText.h"
#include "app/UserPrompts.h"
#include "platform/IniProfile.h"
#include "platform/Utf.h"
#include "settings/SettingsDirectory.h"
#include "support/TempDir.h"

// Shows texts in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace sf::test {

// Plays the user of the dialog's choosers and message boxes from a script:
// the files to choose (nothing = Cancel), the save paths and the answers to
// Yes/No questions. Records every prompt in order.
class ScriptedPrompts : public UserPrompts {
  public:
    std::deque<std::optional<QString>> openFiles;
    std::deque<std::optional<QString>> saveFiles;
    std::deque<bool> answers;
    std::vector<std::string> log;

    std::optional<QString> chooseOpenFile() override {
        log.push_back("open dialog");
        return next(openFiles);
    }
    std::optional<QString> chooseSaveFile() override {
        log.push_back("save dialog");
        return next(saveFiles);
    }
    void showMessage(const QString& text, const QString& caption, Icon icon) override {
        log.push_back((icon == Icon::Warning ? "warning: " : "message: ") + text.toStdString() +
                      " | " + caption.toStdString());
    }
    bool askYesNo(const QString& text, const QString& caption) override {
        log.push_back("question: " + text.toStdString() + " | " + caption.toStdString());
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }

  private:
    static std::optional<QString> next(std::deque<std::optional<QString>>& queue) {
        if (queue.empty()) return std::nullopt;
        auto answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

inline QString qPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// A dialog opened on fresh settings: the per-user data folder and the working
// folder are a temporary folder of the test's own, restored afterwards.
class DialogTest : public ::testing::Test {
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

    // The whole settings file, to see that nothing was written.
    std::string readBytesAsText() const {
        const auto bytes = readBytes(settingsFile());
        return std::string(bytes.begin(), bytes.end());
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

    TempDir folder;
    ScriptedPrompts* prompts = nullptr;
    std::unique_ptr<CSparrowflasherMakerDlg> dialog;

  private:
    std::filesystem::path previousWorkingFolder;
    QByteArray previousDataHome;
};

}  // namespace sf::test
