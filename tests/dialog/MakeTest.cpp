#include <algorithm>

#include "DialogFixture.h"
#include "dialog/DialogMakeUi.h"
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
    const std::string success = messageLine(texts::kOperationSuccess, texts::kSuccess);
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
    ASSERT_TRUE(contents) << contents.error().message;
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
    const std::string refused = messageLine(texts::kCannotOpenImage, texts::kOpenFile);
    EXPECT_EQ(makeWithButton(), (Log{refused}));
    std::filesystem::remove(internalImage);
    EXPECT_EQ(makeWithButton(), (Log{refused}));
}

TEST_F(MakeTest, CommandKeyProblemsAreReportedBeforeTheSaveDialog) {
    const std::u16string appName = pathToUtf16(executablePath().stem());
    click(IDC_CMDKEY_EN);
    EXPECT_EQ(makeWithButton(), (Log{warningLine(texts::kSelectCommandKeyFile, appName)}));

    useCommandKey(folder / "missing.key");
    EXPECT_EQ(makeWithButton(),
              (Log{messageLine(texts::kCannotOpenCommandKey, texts::kOpenCommandKey)}));

    writeBytes(folder / "long.key", patternBytes(65, 3));
    useCommandKey(folder / "long.key");
    EXPECT_EQ(makeWithButton(), (Log{warningLine(texts::kCommandKeyTooLong, appName)}));

    // With the box off, the path is not looked at.
    click(IDC_CMDKEY_EN);
    prompts.saveFiles = {output};
    EXPECT_EQ(makeWithButton(), (Log{"save dialog", success}));
}

TEST_F(MakeTest, AnExistingOutputIsReplacedOnlyAfterAYes) {
    writeBytes(output, patternBytes(10, 4));
    const std::string question = questionLine(texts::kOverwriteQuestion, texts::kSaveFile);

    prompts.saveFiles = {output, std::nullopt};
    prompts.answers = {false};
    // No shows the chooser again, with the name refused.
    EXPECT_EQ(makeWithButton(),
              (Log{"save dialog", question, "save dialog again with Updater.exe"}));
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
        "message: " + pathToUtf8(unwritable) + utf16ToUtf8(texts::kCannotOpenForWriting);
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
        EXPECT_EQ(log.back(), existing ? questionLine(texts::kOverwriteQuestion, texts::kSaveFile)
                                       : "save dialog");
        EXPECT_FALSE(prompts.progressOpen);
        EXPECT_EQ(std::filesystem::exists(output), existing);
        if (existing) {
            EXPECT_EQ(readBytes(output), patternBytes(10, 4));
        }
        EXPECT_EQ(filesBefore(), others);
    }
}

// Every way a make can fail, as the dialog tells it: the program's words,
// with the path and the system's reason where the dialog adds them.
TEST(DialogMakeUiTest, EachFailureIsToldInTheProgramsWords) {
    using Kind = MakeFailure::Kind;
    const std::u16string appName = pathToUtf16(executablePath().stem());
    const std::filesystem::path path = "out/Updater.exe";
    const std::string openImage = messageLine(texts::kCannotOpenImage, texts::kOpenFile);
    const std::string openTemplate = messageLine(texts::kCannotOpenTemplate, texts::kOpenFile);
    struct Row {
        const char* name;
        MakeFailure failure;
        std::string shown;
    };
    const std::vector<Row> rows = {
        {"no internal image",
         {.kind = Kind::NoInternalImage},
         messageLine(texts::kSpecifyImagePath, texts::kSelectImage)},
        {"template nowhere", {.kind = Kind::TemplateNotFound}, openTemplate},
        {"template unreadable", {.kind = Kind::TemplateUnreadable}, openTemplate},
        {"image unreadable", {.kind = Kind::ImageUnreadable}, openImage},
        {"image refused", {.kind = Kind::ImageInvalid}, openImage},
        {"image too large",
         {.kind = Kind::ImageTooLarge, .path = "fw.bin", .size = 4ull << 30},
         "message: The image fw.bin holds 4294967296 bytes; a package can hold images of at "
         "most 4294967295 bytes (4 GiB - 1). | Open File"},
        {"no key file",
         {.kind = Kind::NoCommandKeyFile},
         warningLine(texts::kSelectCommandKeyFile, appName)},
        {"key unreadable",
         {.kind = Kind::CommandKeyUnreadable},
         messageLine(texts::kCannotOpenCommandKey, texts::kOpenCommandKey)},
        {"key too long",
         {.kind = Kind::CommandKeyTooLong},
         warningLine(texts::kCommandKeyTooLong, appName)},
        {"output unwritable",
         {Kind::OutputUnwritable, path, "Permission denied"},
         messageLine(pathToUtf16(path) + std::u16string(texts::kCannotOpenForWriting) +
                         u"\nPermission denied",
                     texts::kSaveFile)},
        {"write failed",
         {Kind::WriteFailed, path, "No space left on device"},
         "message: The package could not be written: No space left on device.\nNo package was "
         "written, and any existing file of that name was left as it was. | Save File"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScriptedPrompts prompts;
        DialogMakeUi(prompts).failed(row.failure);
        EXPECT_EQ(prompts.log, (std::vector<std::string>{row.shown}));
    }
}

}  // namespace
}  // namespace sf::test
