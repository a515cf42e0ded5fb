#include <algorithm>

#include "DialogFixture.h"
#include "package/PackageReader.h"

namespace sf::test {
namespace {

// The dialog with both images chosen.
class MakeTest : public DialogTest {
  protected:
    void SetUp() override {
        writeBytes(internalImage, patternBytes(3000, 1));
        writeBytes(externalImage, patternBytes(700, 2));
        open();
        prompts.openFiles = {internalImage, externalImage};
        click(IDC_BROWSE_INTERNAL);
        click(IDC_BROWSE_EXTERNAL);
    }

    std::vector<std::string> makeWithButton() {
        prompts.log.clear();
        click(IDC_MAKE);
        return prompts.log;
    }

    void useCommandKey(const std::filesystem::path& key) {
        prompts.openFiles = {key};
        click(IDC_BROWSE_CMDKEY);
        if (!controls.isChecked(IDC_CMDKEY_EN)) click(IDC_CMDKEY_EN);
    }

    const std::filesystem::path internalImage = folder / "internal.bin";
    const std::filesystem::path externalImage = folder / "external.bin";
    const std::filesystem::path output = folder / "Updater.exe";
    const std::string success = "message: Operation Success! | Success";
};

using Log = std::vector<std::string>;

TEST_F(MakeTest, APackageMadeThroughTheDialogHoldsTheDialogsValues) {
    type(IDC_TITLE, u"Tavlen Sparrowflasher V1.0.0 X");
    type(IDC_VERSION, u"2.0.1");
    type(IDC_AP_VID, u"1a2B");
    type(IDC_IAP_USAGE, u"FE");
    type(IDC_DIGEST, u"BEEF");
    click(IDC_DIGEST_EN);
    click(IDC_CMD_VIA_CTRL_EP);
    click(IDC_VERIFY);
    const auto key = patternBytes(64, 9);
    writeBytes(folder / "cmd.key", key);
    useCommandKey(folder / "cmd.key");

    prompts.saveFiles = {output};
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

TEST_F(MakeTest, AnImageThatCannotBeOpenedIsReported) {
    std::filesystem::remove(externalImage);
    EXPECT_EQ(makeWithButton(), (Log{"message: Can not open Image file! | Open File"}));
    std::filesystem::remove(internalImage);
    EXPECT_EQ(makeWithButton(), (Log{"message: Can not open Image file! | Open File"}));
}

TEST_F(MakeTest, CommandKeyProblemsAreReportedBeforeTheSaveDialog) {
    const std::string appName = pathToUtf8(executablePath().stem());
    click(IDC_CMDKEY_EN);
    EXPECT_EQ(makeWithButton(), (Log{"warning: Please select Command-key file! | " + appName}));

    useCommandKey(folder / "missing.key");
    EXPECT_EQ(makeWithButton(),
              (Log{"message: Can not open Command Key file! | Open Command Key"}));

    writeBytes(folder / "long.key", patternBytes(65, 3));
    useCommandKey(folder / "long.key");
    EXPECT_EQ(makeWithButton(), (Log{"warning: Command-key maxiumn is 64 bytes! | " + appName}));

    // With the box off, the path is not looked at.
    click(IDC_CMDKEY_EN);
    prompts.saveFiles = {output};
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", success}));
}

TEST_F(MakeTest, AnExistingOutputIsReplacedOnlyAfterAYes) {
    writeBytes(output, patternBytes(10, 4));
    const std::string question = "question: File already exists!\nOverwrite? | Save File";

    prompts.saveFiles = {output, std::nullopt};
    prompts.answers = {false};
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", question, "save dialog"}));
    EXPECT_EQ(readBytes(output), patternBytes(10, 4));

    prompts.saveFiles = {output};
    prompts.answers = {true};
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", question, success}));
    EXPECT_TRUE(readPackage(output));
}

TEST_F(MakeTest, AnOutputThatCannotBeWrittenIsReportedWithItsPath) {
    const auto unwritable = folder / "no-such-folder" / "Updater.exe";
    prompts.saveFiles = {unwritable};
    const auto log = makeWithButton();
    ASSERT_EQ(log.size(), 2u);
    // The fixed words first; the system's reason may follow.
    const std::string expected =
        "message: " + pathToUtf8(unwritable) + "File cannot be opened for writing!";
    EXPECT_EQ(log[1].substr(0, expected.size()), expected);
    EXPECT_TRUE(log[1].ends_with(" | Save File"));
}

TEST_F(MakeTest, OnlyALargePackageShowsItsProgressUntilItIsWritten) {
    prompts.saveFiles = {output};
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", success}));
    EXPECT_EQ(prompts.progressShown, 0);

    std::filesystem::resize_file(internalImage, kProgressWorthShowing);  // sparse
    prompts.saveFiles = {output};
    prompts.answers = {true};
    makeWithButton();
    EXPECT_EQ(prompts.progressShown, 1);
    EXPECT_FALSE(prompts.progressOpen);
    EXPECT_GT(std::filesystem::file_size(output), kProgressWorthShowing);
}

TEST_F(MakeTest, CancelInTheProgressWindowLeavesNothingAndAnExistingFileAsItWas) {
    std::filesystem::resize_file(internalImage, 2 * kProgressWorthShowing);  // sparse
    const auto filesBefore = [this] {
        std::vector<std::filesystem::path> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            if (entry.path() != output) names.push_back(entry.path());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    const auto others = filesBefore();
    for (const bool existing : {false, true}) {
        std::filesystem::remove(output);
        if (existing) writeBytes(output, patternBytes(10, 4));
        prompts.saveFiles = {output};
        prompts.answers = {true};
        prompts.updatesBeforeCancel = 3;
        const auto log = makeWithButton();
        // No message at all: neither success nor a failure.
        EXPECT_EQ(log.back(), existing ? "question: File already exists!\nOverwrite? | Save File"
                                       : "save dialog");
        EXPECT_FALSE(prompts.progressOpen);
        EXPECT_EQ(std::filesystem::exists(output), existing);
        if (existing) {
            EXPECT_EQ(readBytes(output), patternBytes(10, 4));
        }
        EXPECT_EQ(filesBefore(), others);
    }
}

}  // namespace
}  // namespace sf::test
