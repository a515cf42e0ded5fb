#include "DialogFixture.h"

namespace sf::test {
namespace {

class FileSelectionTest : public DialogTest {
  protected:
    void SetUp() override {
        DialogTest::SetUp();
        writeBytes(internalImage, patternBytes(100, 1));
        writeBytes(externalImage, patternBytes(50, 2));
        open();
    }

    void click(int id) {
        auto* edit = textEdit(id);
        QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
    }

    const std::filesystem::path internalImage = folder / "internal.bin";
    const std::filesystem::path externalImage = folder / "external.bin";
};

TEST_F(FileSelectionTest, AChosenImageIsShownKeptAndStored) {
    prompts->openFiles = {qPath(internalImage), qPath(externalImage)};
    QTest::mouseClick(button(IDC_BROWSE_INTERNAL), Qt::LeftButton);
    QTest::mouseClick(button(IDC_BROWSE_EXTERNAL), Qt::LeftButton);
    EXPECT_EQ(shown(IDC_INTERNAL_IMAGE), internalImage.string());
    EXPECT_EQ(dialog->settings().internalImagePath, pathToUtf16(internalImage));
    EXPECT_EQ(stored(u"ImagePath1"), internalImage.string());
    EXPECT_EQ(shown(IDC_EXTERNAL_IMAGE), externalImage.string());
    EXPECT_EQ(stored(u"ImagePath2"), externalImage.string());
}

TEST_F(FileSelectionTest, CancelKeepsTheInternalImageButForgetsTheExternalOne) {
    prompts->openFiles = {qPath(internalImage), qPath(externalImage), std::nullopt, std::nullopt};
    dialog->OnBnClickedBrowseInternal();
    dialog->OnBnClickedBrowseExternal();
    dialog->OnBnClickedBrowseInternal();
    click(IDC_EXTERNAL_IMAGE);
    EXPECT_EQ(shown(IDC_INTERNAL_IMAGE), internalImage.string());
    EXPECT_EQ(stored(u"ImagePath1"), internalImage.string());
    EXPECT_EQ(shown(IDC_EXTERNAL_IMAGE), "");
    EXPECT_TRUE(dialog->settings().externalImagePath.empty());
    EXPECT_EQ(stored(u"ImagePath2"), "");
}

TEST_F(FileSelectionTest, AMissingImageIsRefusedAndTheChooserComesBack) {
    const QString missing = qPath(folder / "missing.bin");
    prompts->openFiles = {missing, qPath(folder.path()), qPath(internalImage), missing,
                          std::nullopt};
    dialog->OnBnClickedBrowseInternal();
    const std::string refused = "message: File does not exists! | Select Image";
    EXPECT_EQ(prompts->log, (std::vector<std::string>{"open dialog", refused, "open dialog",
                                                      refused, "open dialog"}));
    EXPECT_EQ(shown(IDC_INTERNAL_IMAGE), internalImage.string());

    // Cancel after the refusal is a Cancel like any other.
    dialog->OnBnClickedBrowseInternal();
    EXPECT_EQ(shown(IDC_INTERNAL_IMAGE), internalImage.string());
    EXPECT_TRUE(prompts->openFiles.empty());
}

TEST_F(FileSelectionTest, ClickingAnImagePathOpensItsChooserWithoutFocusingIt) {
    prompts->openFiles = {qPath(internalImage), qPath(externalImage)};
    click(IDC_INTERNAL_IMAGE);
    click(IDC_EXTERNAL_IMAGE);
    EXPECT_EQ(shown(IDC_INTERNAL_IMAGE), internalImage.string());
    EXPECT_EQ(shown(IDC_EXTERNAL_IMAGE), externalImage.string());
    EXPECT_EQ(QApplication::focusWidget(), control(IDC_MAKE));
    EXPECT_FALSE(textEdit(IDC_INTERNAL_IMAGE)->textCursor().hasSelection());

    // The right button, and a click on the command-key path, open nothing.
    prompts->log.clear();
    QTest::mouseClick(textEdit(IDC_INTERNAL_IMAGE)->viewport(), Qt::RightButton);
    QTest::mouseClick(lineEdit(IDC_CMDKEY_PATH), Qt::LeftButton);
    EXPECT_TRUE(prompts->log.empty());
}

TEST_F(FileSelectionTest, TheXButtonForgetsTheExternalImageEvenWhenNoneIsSet) {
    QTest::mouseClick(button(IDC_CLEAR_EXTERNAL), Qt::LeftButton);
    EXPECT_EQ(stored(u"ImagePath2"), "");
    prompts->openFiles = {qPath(externalImage)};
    dialog->OnBnClickedBrowseExternal();
    QTest::mouseClick(button(IDC_CLEAR_EXTERNAL), Qt::LeftButton);
    EXPECT_EQ(shown(IDC_EXTERNAL_IMAGE), "");
    EXPECT_EQ(stored(u"ImagePath2"), "");
    EXPECT_TRUE(prompts->log.size() == 1);
}

TEST_F(FileSelectionTest, TheCommandKeyPathIsStoredUncheckedAndKeptOnCancel) {
    const QString missingKey = qPath(folder / "no.key");
    prompts->openFiles = {missingKey, std::nullopt};
    QTest::mouseClick(button(IDC_BROWSE_CMDKEY), Qt::LeftButton);
    EXPECT_EQ(shown(IDC_CMDKEY_PATH), missingKey.toStdString());
    EXPECT_EQ(stored(u"CMDKEYPath"), missingKey.toStdString());
    QTest::mouseClick(button(IDC_BROWSE_CMDKEY), Qt::LeftButton);
    EXPECT_EQ(shown(IDC_CMDKEY_PATH), missingKey.toStdString());
    EXPECT_EQ(prompts->log, (std::vector<std::string>{"open dialog", "open dialog"}));
}

TEST_F(FileSelectionTest, NoChoiceChangesTheCurrentFolder) {
    const auto before = std::filesystem::current_path();
    prompts->openFiles = {qPath(internalImage), std::nullopt, qPath(folder / "k.key")};
    dialog->OnBnClickedBrowseInternal();
    dialog->OnBnClickedBrowseExternal();
    dialog->OnBnClickedBrowseCmdKey();
    EXPECT_EQ(std::filesystem::current_path(), before);
}

TEST_F(FileSelectionTest, TheDefaultCommandEmptiesThePathsAfterAYes) {
    prompts->openFiles = {qPath(internalImage), qPath(externalImage), qPath(folder / "k.key")};
    dialog->OnBnClickedBrowseInternal();
    dialog->OnBnClickedBrowseExternal();
    dialog->OnBnClickedBrowseCmdKey();
    prompts->answers = {true};
    QTest::mouseClick(button(IDC_DEFAULT), Qt::LeftButton);
    for (ControlId id : {IDC_INTERNAL_IMAGE, IDC_EXTERNAL_IMAGE, IDC_CMDKEY_PATH}) {
        EXPECT_EQ(shown(id), "") << id;
    }
    EXPECT_EQ(stored(u"ImagePath1"), "");
    EXPECT_EQ(stored(u"CMDKEYPath"), "");
}

}  // namespace
}  // namespace sf::test
