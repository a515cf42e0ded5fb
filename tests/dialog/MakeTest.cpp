#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>

#include "DialogFixture.h"
#include "package/PackageReader.h"

namespace sf::test {
namespace {

// The dialog with both images chosen.
class MakeTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        writeBytes(internalImage, patternBytes(3000, 1));
        writeBytes(externalImage, patternBytes(700, 2));
        open();
        prompts->openFiles = {qPath(internalImage), qPath(externalImage)};
        dialog->OnBnClickedBrowseInternal();
        dialog->OnBnClickedBrowseExternal();
        prompts->log.clear();
    }

    std::vector<std::string> makeWithButton() {
        prompts->log.clear();
        QTest::mouseClick(button(IDC_MAKE), Qt::LeftButton);
        return prompts->log;
    }

    void useCommandKey(const std::filesystem::path& key) {
        prompts->openFiles = {qPath(key)};
        dialog->OnBnClickedBrowseCmdKey();
        if (!checkBox(IDC_CMDKEY_EN)->isChecked()) {
            QTest::mouseClick(checkBox(IDC_CMDKEY_EN), Qt::LeftButton);
        }
    }

    const std::filesystem::path internalImage = folder / "internal.bin";
    const std::filesystem::path externalImage = folder / "external.bin";
    const std::filesystem::path output = folder / "Updater.exe";
    const std::string success = "message: Operation Success! | Success";
};

using Log = std::vector<std::string>;

TEST_F(MakeTest, APackageMadeThroughTheDialogHoldsTheDialogsValues) {
    focus(IDC_TITLE);
    press(Qt::Key_End);
    type(" X");
    focus(IDC_VERSION);
    type("2.0.1");
    focus(IDC_AP_VID);
    type("1a2B");
    focus(IDC_IAP_USAGE);
    type("FE");
    focus(IDC_DIGEST);
    type("BEEF");
    QTest::mouseClick(checkBox(IDC_DIGEST_EN), Qt::LeftButton);
    QTest::mouseClick(checkBox(IDC_CMD_VIA_CTRL_EP), Qt::LeftButton);
    QTest::mouseClick(checkBox(IDC_VERIFY), Qt::LeftButton);
    const auto key = patternBytes(64, 9);
    writeBytes(folder / "cmd.key", key);
    useCommandKey(folder / "cmd.key");

    prompts->saveFiles = {qPath(output)};
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", success}));

    const auto contents = readPackage(output);
    ASSERT_TRUE(contents) << contents.error();
    const PackageDescriptor& d = contents->descriptor;
    EXPECT_EQ(d.utf16Text(descriptor::title), u"Tavlen Sparrowflasher V1.0.0 X");
    EXPECT_EQ(d.utf16Text(descriptor::text), u"Sparrowflasher for Tavlen. Version V1.0.0");
    EXPECT_EQ(d.utf16Text(descriptor::version), u"2.0.1");
    EXPECT_EQ(d.ansiText(descriptor::apVid), "1a2B");
    EXPECT_EQ(d.ansiText(descriptor::iapUsage), "FE");
    EXPECT_EQ(d.number(descriptor::digestValue), 0xBEEFu);
    EXPECT_EQ(d.number(descriptor::digestEnabled), 1u);
    EXPECT_EQ(d.number(descriptor::cmdKeyEnabled), 1u);
    EXPECT_EQ(d.number(descriptor::verify), 0u);
    EXPECT_EQ(d.number(descriptor::cmdViaControlEndpoint), 1u);
    EXPECT_EQ(d.cmdKeyBytes(), key);
    EXPECT_EQ(contents->internal.length, 3000u);
    EXPECT_EQ(contents->external.length, 700u);
}

TEST_F(MakeTest, EnterMakesThePackageWithoutAnExternalImage) {
    QTest::mouseClick(button(IDC_CLEAR_EXTERNAL), Qt::LeftButton);
    prompts->saveFiles = {qPath(output)};
    focus(IDC_NOTE);
    press(Qt::Key_Return);
    EXPECT_EQ(prompts->log, (Log{"save dialog", success}));
    const auto contents = readPackage(output);
    ASSERT_TRUE(contents) << contents.error();
    EXPECT_EQ(contents->external.length, 0u);
    EXPECT_EQ(contents->descriptor.number(descriptor::verify), 1u);
}

TEST_F(MakeTest, AnImageThatCannotBeOpenedIsReported) {
    std::filesystem::remove(externalImage);
    EXPECT_EQ(makeWithButton(), (Log{"message: Can not open Image file! | Open File"}));
    std::filesystem::remove(internalImage);
    EXPECT_EQ(makeWithButton(), (Log{"message: Can not open Image file! | Open File"}));
}

TEST_F(MakeTest, CommandKeyProblemsAreReportedBeforeTheSaveDialog) {
    const std::string appName =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdString();
    QTest::mouseClick(checkBox(IDC_CMDKEY_EN), Qt::LeftButton);
    EXPECT_EQ(makeWithButton(), (Log{"warning: Please select Command-key file! | " + appName}));

    useCommandKey(folder / "missing.key");
    EXPECT_EQ(makeWithButton(),
              (Log{"message: Can not open Command Key file! | Open Command Key"}));

    writeBytes(folder / "long.key", patternBytes(65, 3));
    useCommandKey(folder / "long.key");
    EXPECT_EQ(makeWithButton(), (Log{"warning: Command-key maxiumn is 64 bytes! | " + appName}));

    // With the box off, the path is not looked at.
    QTest::mouseClick(checkBox(IDC_CMDKEY_EN), Qt::LeftButton);
    prompts->saveFiles = {qPath(output)};
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", success}));
}

TEST_F(MakeTest, AnExistingOutputIsReplacedOnlyAfterAYes) {
    writeBytes(output, patternBytes(10, 4));
    const std::string question = "question: File already exists!\nOverwrite? | Save File";

    prompts->saveFiles = {qPath(output), std::nullopt};
    prompts->answers = {false};
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", question, "save dialog"}));
    EXPECT_EQ(readBytes(output), patternBytes(10, 4));

    prompts->saveFiles = {qPath(output)};
    prompts->answers = {true};
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", question, success}));
    EXPECT_TRUE(readPackage(output));
}

TEST_F(MakeTest, AnOutputThatCannotBeWrittenIsReportedWithItsPath) {
    const auto unwritable = folder / "no-such-folder" / "Updater.exe";
    prompts->saveFiles = {qPath(unwritable)};
    const auto log = makeWithButton();
    ASSERT_EQ(log.size(), 2u);
    // The fixed words, then the system's reason on a line of its own.
    const std::string expected =
        "message: " + unwritable.string() + "File cannot be opened for writing!\n";
    EXPECT_EQ(log[1].substr(0, expected.size()), expected);
}

// Notes every progress window that is shown while it watches.
class ProgressWatch : public QObject {
  public:
    ProgressWatch() { qApp->installEventFilter(this); }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }
    int shown = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog*>(watched)) ++shown;
        return false;
    }
};

TEST_F(MakeTest, ALargePackageShowsItsProgressUntilItIsWritten) {
    std::filesystem::resize_file(internalImage, kProgressWorthShowing);  // sparse
    prompts->saveFiles = {qPath(output)};
    ProgressWatch watch;
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", success}));
    EXPECT_EQ(watch.shown, 1);
    EXPECT_TRUE(dialog->findChildren<QProgressDialog*>().isEmpty());
    EXPECT_GT(std::filesystem::file_size(output), kProgressWorthShowing);
}

TEST_F(MakeTest, ASmallPackageShowsNoProgress) {
    prompts->saveFiles = {qPath(output)};
    ProgressWatch watch;
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", success}));
    EXPECT_EQ(watch.shown, 0);
}

}  // namespace
}  // namespace sf::test
