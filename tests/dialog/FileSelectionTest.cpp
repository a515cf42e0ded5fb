#include "DialogFixture.h"

namespace sf::test {
namespace {

class FileSelectionTest : public DialogTest {
  protected:
    void SetUp() override {
        writeBytes(internalImage, patternBytes(100, 1));
        writeBytes(externalImage, patternBytes(50, 2));
        open();
    }

    const std::filesystem::path internalImage = folder / "internal.bin";
    const std::filesystem::path externalImage = folder / "external.bin";
};

TEST_F(FileSelectionTest, AChosenImageIsShownKeptAndStored) {
    prompts.openFiles = {internalImage, externalImage};
    click(IDC_BROWSE_INTERNAL);
    click(IDC_BROWSE_EXTERNAL);
    EXPECT_EQ(controls.text(IDC_INTERNAL_IMAGE), pathToUtf16(internalImage));
    EXPECT_EQ(dialog->settings().internalImagePath, pathToUtf16(internalImage));
    EXPECT_EQ(stored(u"ImagePath1"), pathToUtf8(internalImage));
    EXPECT_EQ(controls.text(IDC_EXTERNAL_IMAGE), pathToUtf16(externalImage));
    EXPECT_EQ(stored(u"ImagePath2"), pathToUtf8(externalImage));
}

TEST_F(FileSelectionTest, CancelKeepsTheInternalImageButForgetsTheExternalOne) {
    prompts.openFiles = {internalImage, externalImage, std::nullopt, std::nullopt};
    click(IDC_BROWSE_INTERNAL);
    click(IDC_BROWSE_EXTERNAL);
    click(IDC_BROWSE_INTERNAL);
    EXPECT_TRUE(dialog->PreTranslateClick(IDC_EXTERNAL_IMAGE, MouseButton::Left));
    EXPECT_EQ(controls.text(IDC_INTERNAL_IMAGE), pathToUtf16(internalImage));
    EXPECT_EQ(stored(u"ImagePath1"), pathToUtf8(internalImage));
    EXPECT_EQ(shown(IDC_EXTERNAL_IMAGE), "");
    EXPECT_TRUE(dialog->settings().externalImagePath.empty());
    EXPECT_EQ(stored(u"ImagePath2"), "");
}

TEST_F(FileSelectionTest, AMissingImageIsRefusedAndTheChooserComesBack) {
    const auto missing = folder / "missing.bin";
    prompts.openFiles = {missing, folder.path(), internalImage, missing, std::nullopt};
    click(IDC_BROWSE_INTERNAL);
    const std::string refused = messageLine(texts::kFileDoesNotExist, texts::kSelectImage);
    // Each repeat shows the name the user chose before.
    EXPECT_EQ(prompts.log,
              (std::vector<std::string>{
                  "open dialog", refused, "open dialog again with missing.bin", refused,
                  "open dialog again with " + folder.path().filename().string()}));
    EXPECT_EQ(controls.text(IDC_INTERNAL_IMAGE), pathToUtf16(internalImage));

    // Cancel after the refusal is a Cancel like any other.
    click(IDC_BROWSE_INTERNAL);
    EXPECT_EQ(controls.text(IDC_INTERNAL_IMAGE), pathToUtf16(internalImage));
    EXPECT_TRUE(prompts.openFiles.empty());
}

TEST_F(FileSelectionTest, OnlyALeftClickOnAnImagePathOpensItsChooser) {
    prompts.openFiles = {internalImage, externalImage};
    EXPECT_TRUE(dialog->PreTranslateClick(IDC_INTERNAL_IMAGE, MouseButton::Left));
    EXPECT_TRUE(dialog->PreTranslateClick(IDC_EXTERNAL_IMAGE, MouseButton::Left));
    EXPECT_EQ(controls.text(IDC_INTERNAL_IMAGE), pathToUtf16(internalImage));
    EXPECT_EQ(controls.text(IDC_EXTERNAL_IMAGE), pathToUtf16(externalImage));

    prompts.log.clear();
    EXPECT_FALSE(dialog->PreTranslateClick(IDC_INTERNAL_IMAGE, MouseButton::Right));
    EXPECT_FALSE(dialog->PreTranslateClick(IDC_CMDKEY_PATH, MouseButton::Left));
    EXPECT_FALSE(dialog->PreTranslateClick(IDC_TITLE, MouseButton::Left));
    EXPECT_TRUE(prompts.log.empty());
}

TEST_F(FileSelectionTest, TheXButtonForgetsTheExternalImageEvenWhenNoneIsSet) {
    click(IDC_CLEAR_EXTERNAL);
    EXPECT_EQ(stored(u"ImagePath2"), "");
    prompts.openFiles = {externalImage};
    click(IDC_BROWSE_EXTERNAL);
    click(IDC_CLEAR_EXTERNAL);
    EXPECT_EQ(shown(IDC_EXTERNAL_IMAGE), "");
    EXPECT_EQ(stored(u"ImagePath2"), "");
    EXPECT_EQ(prompts.log.size(), 1u);
}

TEST_F(FileSelectionTest, TheCommandKeyPathIsStoredUncheckedAndKeptOnCancel) {
    const auto missingKey = folder / "no.key";
    prompts.openFiles = {missingKey, std::nullopt};
    click(IDC_BROWSE_CMDKEY);
    EXPECT_EQ(controls.text(IDC_CMDKEY_PATH), pathToUtf16(missingKey));
    EXPECT_EQ(stored(u"CMDKEYPath"), pathToUtf8(missingKey));
    click(IDC_BROWSE_CMDKEY);
    EXPECT_EQ(controls.text(IDC_CMDKEY_PATH), pathToUtf16(missingKey));
    EXPECT_EQ(prompts.log, (std::vector<std::string>{"open dialog", "open dialog"}));
}

TEST_F(FileSelectionTest, TheDefaultCommandEmptiesThePathsAfterAYes) {
    prompts.openFiles = {internalImage, externalImage, folder / "k.key"};
    click(IDC_BROWSE_INTERNAL);
    click(IDC_BROWSE_EXTERNAL);
    click(IDC_BROWSE_CMDKEY);
    prompts.answers = {true};
    click(IDC_DEFAULT);
    for (ControlId id : {IDC_INTERNAL_IMAGE, IDC_EXTERNAL_IMAGE, IDC_CMDKEY_PATH}) {
        EXPECT_EQ(shown(id), "") << id;
    }
    EXPECT_EQ(stored(u"ImagePath1"), "");
    EXPECT_EQ(stored(u"CMDKEYPath"), "");
    EXPECT_EQ(prompts.log.back(), questionLine(texts::kResetQuestion, texts::kConfirm));
}

struct DropCase {
    const char* name;
    int target;
    std::vector<const char*> files;  // names in the test's folder
    // The path edit that takes the file; kNoControlId when it is refused.
    int takenBy;
    std::u16string_view refusal = {};
    std::u16string_view caption = {};
};

void PrintTo(const DropCase& c, std::ostream* out) {
    *out << c.name;
}

class DropTest : public FileSelectionTest, public ::testing::WithParamInterface<DropCase> {};

TEST_P(DropTest, ADroppedFileIsTakenAsAChosenOneOrRefused) {
    const DropCase& drop = GetParam();
    std::filesystem::create_directory(folder / "a-folder");
    std::vector<std::filesystem::path> files;
    for (const char* name : drop.files) files.push_back(folder / name);
    struct PathControl {
        int edit;
        std::u16string_view key;
        std::string before;
    };
    std::vector<PathControl> paths{{IDC_INTERNAL_IMAGE, u"ImagePath1", {}},
                                   {IDC_EXTERNAL_IMAGE, u"ImagePath2", {}},
                                   {IDC_CMDKEY_PATH, u"CMDKEYPath", {}}};
    for (PathControl& path : paths) path.before = stored(path.key);
    const std::string keyOnBefore = stored(u"CMDKEYEn");

    dialog->dropFiles(drop.target, files);

    for (const PathControl& path : paths) {
        SCOPED_TRACE(utf16ToUtf8(path.key));
        if (path.edit == drop.takenBy) {
            EXPECT_EQ(controls.text(ControlId(path.edit)), pathToUtf16(files.front()));
            EXPECT_EQ(stored(path.key), pathToUtf8(files.front()));
        } else {
            EXPECT_EQ(shown(ControlId(path.edit)), "");
            EXPECT_EQ(stored(path.key), path.before);
        }
    }
    EXPECT_EQ(dialog->settings().cmdKeyPath, controls.text(IDC_CMDKEY_PATH));
    EXPECT_EQ(dialog->settings().internalImagePath, controls.text(IDC_INTERNAL_IMAGE));
    // The command key is used as its check box says, whatever is dropped.
    EXPECT_FALSE(controls.isChecked(IDC_CMDKEY_EN));
    EXPECT_EQ(stored(u"CMDKEYEn"), keyOnBefore);
    EXPECT_EQ(prompts.log, drop.refusal.empty()
                               ? std::vector<std::string>{}
                               : std::vector<std::string>{messageLine(drop.refusal, drop.caption)});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DropTest,
    ::testing::Values(
        DropCase{"on the internal image", IDC_INTERNAL_IMAGE, {"internal.bin"}, IDC_INTERNAL_IMAGE},
        DropCase{"on the external image", IDC_EXTERNAL_IMAGE, {"external.bin"}, IDC_EXTERNAL_IMAGE},
        DropCase{"on the command-key path", IDC_CMDKEY_PATH, {"external.bin"}, IDC_CMDKEY_PATH},
        DropCase{"on a label", kNoControlId, {"external.bin"}, IDC_INTERNAL_IMAGE},
        DropCase{"on the title", IDC_TITLE, {"internal.bin"}, IDC_INTERNAL_IMAGE},
        DropCase{"on the external image's button",
                 IDC_BROWSE_EXTERNAL,
                 {"external.bin"},
                 IDC_INTERNAL_IMAGE},
        DropCase{"a folder",
                 IDC_EXTERNAL_IMAGE,
                 {"a-folder"},
                 kNoControlId,
                 texts::kDropOneFile,
                 texts::kDropFile},
        DropCase{"two files",
                 IDC_INTERNAL_IMAGE,
                 {"internal.bin", "external.bin"},
                 kNoControlId,
                 texts::kDropOneFile,
                 texts::kDropFile},
        DropCase{"a missing image",
                 IDC_EXTERNAL_IMAGE,
                 {"missing.bin"},
                 kNoControlId,
                 texts::kFileDoesNotExist,
                 texts::kSelectImage},
        DropCase{"a missing key file",
                 IDC_CMDKEY_PATH,
                 {"missing.key"},
                 kNoControlId,
                 texts::kFileDoesNotExist,
                 texts::kSelectImage}));

}  // namespace
}  // namespace sf::test
