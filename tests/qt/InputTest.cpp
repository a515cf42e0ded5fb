#include <QDialog>
#include <QLabel>

#include "DialogFixture.h"
#include "dialog/DialogTemplate.h"
#include "package/PackageReader.h"

namespace sf::test {
namespace {

TEST_F(QtDialogTest, LimitsHoldFromTheFirstKeystroke) {
    open();
    focus(IDC_TITLE);
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Delete);
    type(QString(40, 't'));
    EXPECT_EQ(shown(IDC_TITLE), std::string(32, 't'));
    EXPECT_EQ(stored(u"TitleString"), std::string(32, 't'));

    focus(IDC_NOTE);
    press(Qt::Key_A, Qt::ControlModifier);
    type(QString(110, 'n'));
    EXPECT_EQ(shown(IDC_NOTE), std::string(100, 'n'));
    EXPECT_EQ(stored(u"NoteString"), std::string(100, 'n'));

    focus(IDC_AP_USAGE);
    type("ABC");
    EXPECT_EQ(shown(IDC_AP_USAGE), "AB");
}

// Clicks between the characters `position - 1` and `position` of a one-row edit.
void clickAt(QLineEdit* edit, int position) {
    for (int x = 0; x < edit->width(); ++x) {
        if (edit->cursorPositionAt(QPoint(x, edit->height() / 2)) == position) {
            QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
            return;
        }
    }
    FAIL() << "no place for position " << position;
}

TEST_F(QtDialogTest, TypingInsideAnEditKeepsTheCaretAndTheUndoHistory) {
    open();
    focus(IDC_TITLE);
    press(Qt::Key_A, Qt::ControlModifier);
    type("abcdef");
    press(Qt::Key_Home);
    type("XY");
    EXPECT_EQ(shown(IDC_TITLE), "XYabcdef");
    EXPECT_EQ(stored(u"TitleString"), "XYabcdef");
    press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown(IDC_TITLE), "abcdef");
    EXPECT_EQ(stored(u"TitleString"), "abcdef");

    focus(IDC_AP_VID);
    type("1234");
    clickAt(lineEdit(IDC_AP_VID), 2);
    press(Qt::Key_Backspace);
    type("5");
    EXPECT_EQ(shown(IDC_AP_VID), "1534");
    EXPECT_EQ(stored(u"APVIDString"), "1534");
}

TEST_F(QtDialogTest, IdentifierEditsTakeOnlyHexDigitsAndEditingKeys) {
    open();
    focus(IDC_AP_VID);
    press(Qt::Key_1);
    press(Qt::Key_A, Qt::ShiftModifier);  // the letter key as Qt gives it: text "a"
    press(Qt::Key_2, Qt::KeypadModifier);
    QTest::keyClick(QApplication::focusWidget(), 'B');  // Shift+B: text "B"
    EXPECT_EQ(shown(IDC_AP_VID), "1a2B");

    for (Qt::Key refused : {Qt::Key_G, Qt::Key_Space, Qt::Key_Period}) press(refused);
    QTest::keyClick(QApplication::focusWidget(), '!');  // Shift+1
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(shown(IDC_AP_VID), "1a2B");
    press(Qt::Key_Home);
    press(Qt::Key_Delete);
    press(Qt::Key_End);
    press(Qt::Key_Left);
    press(Qt::Key_Backspace);
    EXPECT_EQ(shown(IDC_AP_VID), "aB");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Delete);
    EXPECT_EQ(shown(IDC_AP_VID), "");
    EXPECT_EQ(stored(u"APVIDString"), "");

    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control(IDC_AP_PID));
    press(Qt::Key_F, Qt::ShiftModifier);
    press(Qt::Key_9);
    EXPECT_EQ(shown(IDC_AP_PID), "f9");
}

TEST_F(QtDialogTest, EscapeAndAltKeysDoNothingButAltF4Closes) {
    open();
    for (int id : {IDC_TITLE, IDC_NOTE, IDC_AP_VID, IDC_DIGEST, IDC_MAKE}) {
        focus(id);
        const std::string before = shown(ControlId(id));
        press(Qt::Key_Escape);
        QTest::keyClick(QApplication::focusWidget(), 'g', Qt::AltModifier);
        QTest::keyClick(QApplication::focusWidget(), '.', Qt::AltModifier);
        EXPECT_EQ(shown(ControlId(id)), before) << id;
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_TRUE(prompts->log.empty());
    press(Qt::Key_F4, Qt::AltModifier);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(QtDialogTest, EnterMakesAPackageFromAnyControlAndPressesNothing) {
    open();
    const auto enterIn = [this](int id, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        focus(id);
        prompts->log.clear();
        press(key, modifiers);
        EXPECT_EQ(prompts->log, std::vector<std::string>{messageLine(texts::kSpecifyImagePath,
                                                                     texts::kSelectImage)})
            << id;
    };
    enterIn(IDC_NOTE, Qt::Key_Return, Qt::NoModifier);
    enterIn(IDC_NOTE, Qt::Key_Enter, Qt::KeypadModifier);
    enterIn(IDC_TITLE, Qt::Key_Return, Qt::NoModifier);
    enterIn(IDC_AP_VID, Qt::Key_Return, Qt::NoModifier);
    enterIn(IDC_VERIFY, Qt::Key_Return, Qt::NoModifier);
    EXPECT_EQ(shown(IDC_NOTE), "Type note here, maximum 100 characters.");
    EXPECT_TRUE(checkBox(IDC_VERIFY)->isChecked());

    // A focused button is not pressed by Enter; Space still presses it.
    prompts->answers = {false};
    enterIn(IDC_DEFAULT, Qt::Key_Return, Qt::NoModifier);
    prompts->log.clear();
    press(Qt::Key_Space);
    EXPECT_EQ(prompts->log,
              std::vector<std::string>{questionLine(texts::kResetQuestion, texts::kConfirm)});
}

// Real clicks and keys, as a user makes a package: a left click on an image
// path opens its chooser without focusing the path, X forgets the external
// image, a check box saves its state, and Enter in the note makes the package.
TEST_F(QtDialogTest, ClicksAndEnterMakeAPackageThroughTheWidgets) {
    const auto internalImage = folder / "internal.bin";
    const auto externalImage = folder / "external.bin";
    writeBytes(internalImage, patternBytes(3000, 1));
    writeBytes(externalImage, patternBytes(700, 2));
    open();
    prompts->openFiles = {internalImage, externalImage};
    for (int id : {IDC_INTERNAL_IMAGE, IDC_EXTERNAL_IMAGE}) {
        QTest::mouseClick(textEdit(id)->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    }
    EXPECT_EQ(shown(IDC_INTERNAL_IMAGE), internalImage.string());
    EXPECT_EQ(shown(IDC_EXTERNAL_IMAGE), externalImage.string());
    EXPECT_EQ(QApplication::focusWidget(), control(IDC_MAKE));
    EXPECT_FALSE(textEdit(IDC_INTERNAL_IMAGE)->textCursor().hasSelection());
    QTest::mouseClick(textEdit(IDC_INTERNAL_IMAGE)->viewport(), Qt::RightButton);
    EXPECT_EQ(prompts->log.size(), 2u);

    QTest::mouseClick(button(IDC_CLEAR_EXTERNAL), Qt::LeftButton);
    QTest::mouseClick(checkBox(IDC_DIGEST_EN), Qt::LeftButton);
    EXPECT_EQ(stored(u"IDigestEn"), "1");
    prompts->log.clear();
    prompts->saveFiles = {folder / "Updater.exe"};
    focus(IDC_NOTE);
    press(Qt::Key_Return);
    EXPECT_EQ(prompts->log,
              (std::vector<std::string>{"save dialog",
                                        messageLine(texts::kOperationSuccess, texts::kSuccess)}));
    const auto contents = readPackage(folder / "Updater.exe");
    ASSERT_TRUE(contents) << contents.error().message;
    EXPECT_EQ(contents->external.length, 0u);
    EXPECT_EQ(contents->descriptor.number(descriptor::verify), 1u);
    EXPECT_EQ(contents->descriptor.number(descriptor::digestEnabled), 1u);
}

// A file dropped on a control, or on a label, is taken by the path edit the
// drop's place names; an edit never takes the file's name as text.
TEST_F(QtDialogTest, DroppedFilesGoToThePathTheirPlaceNames) {
    open();
    struct Row {
        const char* name;
        int target;
        const char* label;  // a label's text, to drop on it instead
        ControlId takenBy;
    };
    const Row rows[] = {
        {"internal image", IDC_INTERNAL_IMAGE, nullptr, IDC_INTERNAL_IMAGE},
        {"external image", IDC_EXTERNAL_IMAGE, nullptr, IDC_EXTERNAL_IMAGE},
        {"command-key path", IDC_CMDKEY_PATH, nullptr, IDC_CMDKEY_PATH},
        {"a label", kNoControlId, "Version:", IDC_INTERNAL_IMAGE},
        {"the title", IDC_TITLE, nullptr, IDC_INTERNAL_IMAGE},
    };
    const std::string title = shown(IDC_TITLE);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto file = folder / (std::string(row.name) + ".bin");
        writeBytes(file, patternBytes(10, 1));
        QWidget* target = row.label ? nullptr : control(row.target);
        for (auto* label : dialog->findChildren<QLabel*>()) {
            if (row.label && label->text() == row.label) target = label;
        }
        ASSERT_NE(target, nullptr);
        drop(target->geometry().center(), {file});
        EXPECT_EQ(shown(row.takenBy), file.string());
        EXPECT_EQ(shown(IDC_TITLE), title);
    }
    // Behind a modal window (here as the progress of a write is shown) the
    // dialog refuses the drop.
    QDialog progress(dialog.get());
    progress.setWindowModality(Qt::WindowModal);
    progress.show();
    drop(control(IDC_TITLE)->geometry().center(), {folder / "a label.bin"}, false);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(IDC_INTERNAL_IMAGE), (folder / "the title.bin").string());
    progress.hide();

    EXPECT_EQ(stored(u"CMDKEYPath"), (folder / "command-key path.bin").string());
    EXPECT_EQ(stored(u"ImagePath1"), (folder / "the title.bin").string());
    EXPECT_FALSE(checkBox(IDC_CMDKEY_EN)->isChecked());
    EXPECT_TRUE(prompts->log.empty());
}

}  // namespace
}  // namespace sf::test
