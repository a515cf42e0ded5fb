#include <fstream>

#include "DialogFixture.h"

namespace sf::test {
namespace {

TEST_F(DialogTest, StartsWithFocusOnMakeVerifyOnAndTheStartValues) {
    open();
    EXPECT_EQ(controls.focused, IDC_MAKE);
    EXPECT_EQ(controls.checked, std::set<int>{IDC_VERIFY});
    EXPECT_EQ(shown(IDC_TITLE), "Tavlen Sparrowflasher V1.0.0");
    EXPECT_EQ(shown(IDC_TEXT), "Sparrowflasher for Tavlen. Version V1.0.0");
    EXPECT_EQ(shown(IDC_NOTE), "Type note here, maximum 100 characters.");
    EXPECT_EQ(shown(IDC_VERSION), "");
    for (const TextField& field : kTextFields) {
        EXPECT_EQ(controls.limits[field.control], field.typingLimit) << field.control;
    }
    EXPECT_EQ(dialog->settingsDirectory(), settingsFile().parent_path() / "");
    EXPECT_TRUE(notSaved.empty());
}

TEST_F(DialogTest, SeedsTheSettingsFromTheWorkingFoldersDefaults) {
    std::filesystem::create_directories(folder / "work");
    std::ofstream(folder / "work" / "default.ini")
        << "[SETTING]\nTitleString=Seeded title\nIDigestEn=1\n";
    open();
    EXPECT_EQ(shown(IDC_TITLE), "Seeded title");
    EXPECT_TRUE(controls.isChecked(IDC_DIGEST_EN));
}

TEST_F(DialogTest, LoadsStoredValuesAndFlagsOnlyWhereTheyHoldOne) {
    storeSetting(u"TitleString", u"");
    storeSetting(u"APVIDString", u"1a2b");
    storeSetting(u"IDigestEn", u"01");
    storeSetting(u"CMDKEYEn", u"1");
    open();
    EXPECT_EQ(shown(IDC_TITLE), "Tavlen Sparrowflasher V1.0.0");
    EXPECT_EQ(shown(IDC_AP_VID), "1a2b");
    EXPECT_FALSE(controls.isChecked(IDC_DIGEST_EN));
    EXPECT_TRUE(controls.isChecked(IDC_CMDKEY_EN));
    // The empty title stays empty in the file; no missing key is added.
    EXPECT_EQ(stored(u"TitleString"), "");
    EXPECT_EQ(stored(u"VersionString"), "<missing>");
}

TEST_F(DialogTest, LoadingWritesBackOnlyTheOneRowEditsThatSaveOnChange) {
    storeSetting(u"VersionString", std::u16string(300, u'v'));
    storeSetting(u"TitleString", std::u16string(300, u't'));
    open();
    // Both are read cut to 259 characters; only the version is saved again.
    EXPECT_EQ(controls.text(IDC_VERSION), std::u16string(259, u'v'));
    EXPECT_EQ(controls.text(IDC_TITLE), std::u16string(259, u't'));
    EXPECT_EQ(stored(u"VersionString"), std::string(259, 'v'));
    EXPECT_EQ(stored(u"TitleString"), std::string(300, 't'));
}

TEST_F(DialogTest, EveryChangeIsSavedAtOnceButTheTwoOptionsNeverAre) {
    open();
    type(IDC_VERSION, u"1.2");
    EXPECT_EQ(stored(u"VersionString"), "1.2");
    EXPECT_EQ(dialog->settings().version, u"1.2");
    type(IDC_NOTE, u"two\nlines");
    EXPECT_EQ(dialog->settings().note, u"two\nlines");

    click(IDC_DIGEST_EN);
    EXPECT_EQ(stored(u"IDigestEn"), "1");
    click(IDC_DIGEST_EN);
    EXPECT_EQ(stored(u"IDigestEn"), "0");
    click(IDC_CMDKEY_EN);
    EXPECT_EQ(stored(u"CMDKEYEn"), "1");

    const auto before = readBytes(settingsFile());
    click(IDC_VERIFY);
    click(IDC_CMD_VIA_CTRL_EP);
    EXPECT_EQ(readBytes(settingsFile()), before);
}

TEST_F(DialogTest, ASettingsFileThatCannotBeWrittenIsToldButTheChangeStays) {
    open();
    // A folder where setting.ini should be: every write fails.
    std::filesystem::remove(settingsFile());
    std::filesystem::create_directory(settingsFile());
    type(IDC_VERSION, u"1.2");
    EXPECT_EQ(dialog->settings().version, u"1.2");
    EXPECT_EQ(notSaved.size(), 1u);
}

}  // namespace
}  // namespace sf::test
