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

}  // namespace
}  // namespace sf::test
