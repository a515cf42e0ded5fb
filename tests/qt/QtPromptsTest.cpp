#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/qt/QtPrompts.h"
#include "dialog/MessageTexts.h"
#include "support/TempDir.h"

namespace sf::test {
namespace {

// Answers the next modal window once it is up, from inside its own loop.
void whenModalOpens(const std::function<void(QWidget*)>& answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        timer->stop();
        timer->deleteLater();
        answer(modal);
    });
    timer->start();
}

struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Question;
};

// Notes what the box shows and presses its button `press`.
void answerBox(SeenBox& seen, QMessageBox::StandardButton press) {
    whenModalOpens([&seen, press](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon()};
        box->button(press)->click();
    });
}

TEST(QtPrompts, MessagesCarryTheirCaptionAndOnlyApplicationMessagesAnIcon) {
    QWidget owner;
    QtPrompts prompts(&owner);
    SeenBox seen;
    answerBox(seen, QMessageBox::Ok);
    prompts.showMessage(texts::kOperationSuccess, texts::kSuccess, DialogPrompts::Icon::None);
    EXPECT_EQ(seen.caption, QString::fromStdU16String(std::u16string(texts::kSuccess)));
    EXPECT_EQ(seen.text, QString::fromStdU16String(std::u16string(texts::kOperationSuccess)));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);

    answerBox(seen, QMessageBox::Ok);
    prompts.showMessage(texts::kCommandKeyTooLong, u"qt_dialog_tests",
                        DialogPrompts::Icon::Exclamation);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
}

TEST(QtPrompts, TheProgressWindowIsShownUntilItEndsAndItsCancelButtonStopsTheWrite) {
    QWidget owner;
    QtPrompts prompts(&owner);
    EXPECT_TRUE(prompts.showProgress(10));
    EXPECT_TRUE(prompts.showProgress(60));
    const auto windows = owner.findChildren<QProgressDialog*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows.front()->isVisible());
    EXPECT_EQ(windows.front()->value(), 60);
    auto* cancel = windows.front()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "Cancel");
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(prompts.showProgress(70));
    prompts.endProgress();
    EXPECT_TRUE(owner.findChildren<QProgressDialog*>().isEmpty());
}

TEST(QtPrompts, QuestionsAnswerYesOrNo) {
    QWidget owner;
    QtPrompts prompts(&owner);
    SeenBox seen;
    answerBox(seen, QMessageBox::Yes);
    EXPECT_TRUE(prompts.askYesNo(texts::kOverwriteQuestion, texts::kSaveFile));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    answerBox(seen, QMessageBox::No);
    EXPECT_FALSE(prompts.askYesNo(texts::kOverwriteQuestion, texts::kSaveFile));
}

TEST(QtPrompts, ChoosersAreSetUpForOpeningAnyFileAndSavingAnExecutable) {
    QFileDialog open;
    QtPrompts::setUpOpenDialog(open);
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.fileMode(), QFileDialog::AnyFile);  // a missing name comes back
    EXPECT_EQ(open.nameFilters(), QStringList{"All File (*)"});

    QFileDialog save;
    QtPrompts::setUpSaveDialog(save);
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save.defaultSuffix(), "exe");
    EXPECT_EQ(save.nameFilters(), (QStringList{"EXE (*.exe)", "All Files (*)"}));
    EXPECT_TRUE(save.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(QtPrompts, AChooserGivesTheChosenPathOrNothingAndKeepsTheCurrentFolder) {
    TempDir folder;
    writeBytes(folder / "image.bin", patternBytes(8, 1));
    const auto before = std::filesystem::current_path();
    QWidget owner;
    QtPrompts prompts(&owner);

    whenModalOpens([&](QWidget* modal) {
        auto* chooser = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        chooser->setDirectory(QString::fromStdString(folder.path().string()));
        chooser->selectFile("image.bin");
        static_cast<QDialog*>(chooser)->accept();
    });
    const auto chosen = prompts.chooseOpenFile({});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, folder / "image.bin");

    // Shown again, a chooser opens in the earlier choice's folder with its name typed in.
    for (const bool open : {true, false}) {
        SCOPED_TRACE(open ? "open" : "save");
        QStringList shown;
        whenModalOpens([&](QWidget* modal) {
            shown = qobject_cast<QFileDialog*>(modal)->selectedFiles();
            static_cast<QDialog*>(modal)->reject();
        });
        const auto again = folder / "Updater.exe";
        EXPECT_FALSE(open ? prompts.chooseOpenFile(again) : prompts.chooseSaveFile(again));
        EXPECT_EQ(shown, QStringList{QString::fromStdString(again.string())});
    }
    EXPECT_EQ(std::filesystem::current_path(), before);
}

}  // namespace
}  // namespace sf::test
