#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "platform/IniProfile.h"
#include "platform/Utf.h"
#include "settings/SettingsFile.h"

namespace sf {
namespace {

// The dialog's controls, showing a record the way the dialog's transfer does.
class FakeControls : public SettingsControls {
  public:
    explicit FakeControls(const ProjectSettings& shown) {
        for (const TextField& field : kTextFields) texts[field.control] = shown.*field.member;
        for (const FlagField& flag : kFlagFields) {
            if (shown.*flag.member) checked.insert(flag.control);
        }
    }

    std::u16string text(ControlId control) const override { return texts.at(control); }
    void setText(ControlId control, std::u16string_view text) override {
        texts[control] = std::u16string(text);
    }
    bool isChecked(ControlId checkBox) const override { return checked.contains(checkBox); }
    void check(ControlId checkBox) override { checked.insert(checkBox); }
    bool confirmReset() override {
        ++resetQuestions;
        return answer;
    }

    // What the user does: types into a control or clicks a check box.
    void type(ControlId control, std::u16string_view text) { texts[control] = text; }
    void click(ControlId checkBox) {
        if (!checked.erase(checkBox)) checked.insert(checkBox);
    }

    std::map<ControlId, std::u16string> texts;
    std::set<ControlId> checked;
    bool answer = true;
    int resetQuestions = 0;
};

std::u16string repeated(std::u16string_view unit, std::size_t times) {
    std::u16string text;
    for (std::size_t i = 0; i < times; ++i) text += unit;
    return text;
}

std::string ascii(std::u16string_view text) {
    return std::string(text.begin(), text.end());
}

// The bytes of a settings file that a write created: the platform's line breaks.
std::string createdFile(std::string_view lines) {
    std::string bytes;
    for (char c : lines) {
#ifdef _WIN32
        if (c == '\n') bytes += '\r';
#endif
        bytes += c;
    }
    return bytes;
}

class SettingsStoreTest : public testing::Test {
  protected:
    ScratchFolder scratch;
    const std::filesystem::path settingFile = scratch / "setting.ini";
    const std::filesystem::path defaultFile = scratch / "default.ini";
    ProjectSettings settings;
    FakeControls controls{settings};
    SettingsStore store{settings, controls, scratch.path() / ""};

    std::u16string stored(std::u16string_view key) const {
        return readProfileString(settingFile, u"SETTING", key, u"<missing>", kWholeValue);
    }
};

TEST_F(SettingsStoreTest, LoadTakesNonEmptyValuesAndWritesBackOnlySingleLineEdits) {
    const auto long300 = repeated(u"0123456789", 30);
    const auto path300 = u"/data/" + repeated(u"firmware/", 33) + u"image.bin";
    const auto fileWithVersion = [&](std::u16string_view version) {
        return "[SETTING]\nTitleString=" + ascii(long300) +
               "\nTextString=\nNoteString=" + ascii(long300) + "\nImagePath1=" + ascii(path300) +
               "\nVersionString=" + ascii(version) +
               "\nAPVIDString=xyz!\nCMDKEYPath=" + ascii(path300) + "\n";
    };
    const std::string file = fileWithVersion(long300);
    scratch.put(settingFile, file);

    ASSERT_TRUE(store.loadSettings("setting.ini"));

    const ProjectSettings start;
    EXPECT_EQ(settings.title, long300.substr(0, 259));
    EXPECT_EQ(settings.text, start.text);  // an empty value keeps the start text
    EXPECT_EQ(settings.note, long300.substr(0, 259));
    EXPECT_EQ(settings.internalImagePath, path300);  // paths come back whole
    EXPECT_EQ(settings.version, long300.substr(0, 259));
    EXPECT_EQ(settings.apVid, u"xyz!");
    EXPECT_EQ(settings.apPid, u"");
    EXPECT_EQ(settings.cmdKeyPath, path300);
    for (const TextField& field : kTextFields) {
        EXPECT_EQ(controls.texts[field.control], settings.*field.member) << ascii(field.key);
    }

    // Only the single-line edits were written back, the version cut as it was
    // read; title and note keep their whole text, and no missing key is added.
    EXPECT_EQ(scratch.contents(settingFile), fileWithVersion(long300.substr(0, 259)));
}

TEST_F(SettingsStoreTest, OnlyExactlyOneTurnsAFlagOnAndNothingTurnsItOff) {
    const std::pair<std::string, bool> cases[] = {
        {"1", true}, {" 1 ", true}, {"\"1\"", true}, {"0", false},
        {"", false}, {"01", false}, {"on", false},   {"1.0", false},
    };
    for (const auto& [value, on] : cases) {
        SCOPED_TRACE("value \"" + value + "\"");
        ProjectSettings record;
        FakeControls boxes(record);
        SettingsStore loader(record, boxes, scratch.path() / "");
        scratch.put(settingFile, "[SETTING]\nIDigestEn=" + value + "\nCMDKEYEn=" + value + "\n");
        ASSERT_TRUE(loader.loadSettings("setting.ini"));
        EXPECT_EQ(record.digestEnabled, on) << value;
        EXPECT_EQ(record.cmdKeyEnabled, on) << value;
        EXPECT_EQ(boxes.isChecked(IDC_DIGEST_EN), on) << value;
    }

    controls.check(IDC_CMDKEY_EN);
    settings.cmdKeyEnabled = true;
    scratch.put(settingFile, "[SETTING]\nCMDKEYEn=0\n");
    ASSERT_TRUE(store.loadSettings("setting.ini"));
    EXPECT_TRUE(settings.cmdKeyEnabled);
    EXPECT_TRUE(controls.isChecked(IDC_CMDKEY_EN));
}

TEST_F(SettingsStoreTest, SaveOnChangeWritesTheChangedFieldOnly) {
    controls.type(IDC_VERSION, u"V2");
    ASSERT_TRUE(store.saveField(IDC_VERSION));
    EXPECT_EQ(settings.version, u"V2");
    EXPECT_EQ(scratch.contents(settingFile), createdFile("[SETTING]\nVersionString=V2\n"));

    controls.click(IDC_DIGEST_EN);
    ASSERT_TRUE(store.saveField(IDC_DIGEST_EN));
    EXPECT_TRUE(settings.digestEnabled);
    EXPECT_EQ(stored(u"IDigestEn"), u"1");
    controls.click(IDC_DIGEST_EN);
    ASSERT_TRUE(store.saveField(IDC_DIGEST_EN));
    EXPECT_EQ(stored(u"IDigestEn"), u"0");

    // The image paths, Verify and the control endpoint have no save on change.
    controls.type(IDC_INTERNAL_IMAGE, u"/a.bin");
    controls.click(IDC_VERIFY);
    ASSERT_TRUE(store.saveField(IDC_INTERNAL_IMAGE));
    ASSERT_TRUE(store.saveField(IDC_VERIFY));
    EXPECT_EQ(stored(u"ImagePath1"), u"<missing>");
    EXPECT_TRUE(settings.verify);
    EXPECT_EQ(scratch.contents(settingFile),
              createdFile("[SETTING]\nVersionString=V2\nIDigestEn=0\n"));
}

TEST_F(SettingsStoreTest, FailedWriteIsReportedAndTheFieldKeepsItsValue) {
    SettingsStore nowhere(settings, controls, scratch.path() / "missing" / "");
    controls.type(IDC_TITLE, u"new title");
    EXPECT_FALSE(nowhere.saveField(IDC_TITLE));
    EXPECT_EQ(settings.title, u"new title");
}

TEST_F(SettingsStoreTest, TextsWithLineBreaksLongPathsAndAnyCharacterComeBackWhole) {
    scratch.put(settingFile, "[SETTING]\r\nTitleString=caf\xE9\r\n");  // a Windows-1252 file
    const std::u16string note = u"first line\r\nsecond=line\nthird";
    const std::u16string title = u"\u4E2D\u6587 title";
    const std::u16string keyPath = u"/keys/" + repeated(u"nested folder/", 30) + u"cmd.key";
    controls.type(IDC_NOTE, note);
    controls.type(IDC_TITLE, title);
    controls.type(IDC_CMDKEY_PATH, keyPath);
    for (ControlId control : {IDC_NOTE, IDC_TITLE, IDC_CMDKEY_PATH}) {
        ASSERT_TRUE(store.saveField(control));
    }

    ProjectSettings next;
    FakeControls nextControls(next);
    ASSERT_TRUE(SettingsStore(next, nextControls, scratch.path() / "").loadSettings("setting.ini"));
    EXPECT_EQ(next.note, note);
    EXPECT_EQ(next.title, title);
    EXPECT_EQ(next.cmdKeyPath, keyPath);
    EXPECT_EQ(stored(u"second"), u"<missing>");
}

TEST_F(SettingsStoreTest, ResetAnsweredNoChangesNothing) {
    scratch.put(settingFile, "[SETTING]\nVersionString=1\n");
    scratch.put(defaultFile, "[SETTING]\nVersionString=2\n");
    controls.answer = false;
    const ProjectSettings before = settings;
    const auto controlsBefore = controls.texts;

    ASSERT_TRUE(store.resetSettings());
    EXPECT_EQ(controls.resetQuestions, 1);
    EXPECT_EQ(settings, before);
    EXPECT_EQ(controls.texts, controlsBefore);
    EXPECT_EQ(scratch.contents(settingFile), "[SETTING]\nVersionString=1\n");
}

TEST_F(SettingsStoreTest, ResetWithoutDefaultsRewritesEveryKeyInOrderAndEmptiesThePaths) {
    settings.internalImagePath = settings.externalImagePath = settings.cmdKeyPath = u"/p";
    for (ControlId path : {IDC_INTERNAL_IMAGE, IDC_EXTERNAL_IMAGE, IDC_CMDKEY_PATH}) {
        controls.setText(path, u"/p");
    }
    settings.version = u"3.1";
    settings.digest = u"BEEF";
    controls.check(IDC_DIGEST_EN);

    ASSERT_TRUE(store.resetSettings());
    EXPECT_EQ(scratch.contents(settingFile),
              createdFile("[SETTING]\n"
                          "TitleString=Tavlen Sparrowflasher V1.0.0\n"
                          "TextString=Sparrowflasher for Tavlen. Version V1.0.0\n"
                          "NoteString=Type note here, maximum 100 characters.\n"
                          "ImagePath1=\nImagePath2=\nVersionString=3.1\n"
                          "APVIDString=\nAPPIDString=\nAPINFString=\n"
                          "IAPVIDString=\nIAPPIDString=\nIAPINFString=\n"
                          "IDigestString=BEEF\nIDigestEn=1\nCMDKEYPath=\nCMDKEYEn=0\n"));
    for (ControlId path : {IDC_INTERNAL_IMAGE, IDC_EXTERNAL_IMAGE, IDC_CMDKEY_PATH}) {
        EXPECT_EQ(controls.texts[path], u"");
    }
    EXPECT_EQ(settings.internalImagePath + settings.externalImagePath + settings.cmdKeyPath, u"");

    // The next load reads the digest that the reset wrote under its other spelling.
    ProjectSettings next;
    FakeControls nextControls(next);
    ASSERT_TRUE(SettingsStore(next, nextControls, scratch.path() / "").loadSettings("setting.ini"));
    EXPECT_EQ(next.digest, u"BEEF");
}

TEST_F(SettingsStoreTest, ResetTakesNonEmptyDefaultsAndKeepsFlagsOn) {
    scratch.put(settingFile, "[SETTING]\nIDIGESTString=0001\nCMDKEYPath=/old.key\n");
    scratch.put(defaultFile,
                "[SETTING]\nTitleString=Default title\nVersionString=2.0\nIDigestEn=0\n"
                "IDIGESTString=\nCMDKEYPath=/default.key\nCMDKEYEn=1\n");
    settings.digest = u"0001";
    controls.check(IDC_DIGEST_EN);
    settings.digestEnabled = true;

    ASSERT_TRUE(store.resetSettings());
    EXPECT_EQ(settings.title, u"Default title");
    EXPECT_EQ(settings.version, u"2.0");
    EXPECT_EQ(settings.digest, u"0001");
    EXPECT_TRUE(settings.digestEnabled);
    EXPECT_TRUE(settings.cmdKeyEnabled);
    EXPECT_EQ(settings.cmdKeyPath, u"");
    EXPECT_EQ(stored(u"TitleString"), u"Default title");
    EXPECT_EQ(stored(u"IDigestEn"), u"1");
    EXPECT_EQ(stored(u"CMDKEYEn"), u"1");
    EXPECT_EQ(stored(u"IDIGESTString"), u"0001");
    EXPECT_EQ(stored(u"CMDKEYPath"), u"");  // written with the default's path, then emptied
}

TEST(SettingsFile, ReadsEveryStoredFieldOverTheBase) {
    ScratchFolder scratch;
    const auto file = scratch / "project.ini";
    scratch.put(file,
                "[SETTING]\r\nTitleString=\"  T  \"\r\nImagePath1=C:\\fw\\internal.bin\r\n"
                "APVIDString=1A2B\r\nIDigestEn=1\r\nCMDKEYEn=0\r\nVersionString=\r\n");
    ProjectSettings base;
    base.version = u"kept";
    base.cmdViaControlEndpoint = true;

    const auto read = readSettingsFile(file, base, RelativePaths::FromWorkingFolder);
    ASSERT_TRUE(read.has_value()) << read.error().message;
    ProjectSettings expected = base;
    expected.title = u"  T  ";
    expected.internalImagePath = u"C:\\fw\\internal.bin";
    expected.apVid = u"1A2B";
    expected.digestEnabled = true;
    EXPECT_EQ(read->settings, expected);
}

TEST(SettingsFile, RelativePathsNameFilesBesideTheFileOnlyWhenAsked) {
    ScratchFolder scratch;
    const auto file = scratch / "project.ini";
    const auto absolute = pathToUtf16(scratch / "elsewhere" / "ext.bin");
    scratch.put(file, "[SETTING]\nImagePath1=fw/int.bin\nCMDKEYPath=key.bin\nImagePath2=" +
                          utf16ToUtf8(absolute) + "\nTitleString=fw/title\n");
    const auto beside = readSettingsFile(file, {}, RelativePaths::FromFileFolder);
    ASSERT_TRUE(beside.has_value()) << beside.error().message;
    EXPECT_EQ(pathFromUtf16(beside->settings.internalImagePath), scratch / "fw/int.bin");
    EXPECT_EQ(pathFromUtf16(beside->settings.cmdKeyPath), scratch / "key.bin");
    EXPECT_EQ(beside->settings.externalImagePath, absolute);
    EXPECT_EQ(beside->settings.title, u"fw/title");

    const auto here = readSettingsFile(file, {}, RelativePaths::FromWorkingFolder);
    ASSERT_TRUE(here.has_value()) << here.error().message;
    EXPECT_EQ(here->settings.internalImagePath, u"fw/int.bin");
}

// The dialog reads its setting.ini as the profile functions do, whatever it
// holds; a settings file named by the user must be read, or it is an error.
TEST(SettingsFile, AFileThatCannotBeReadIsAnErrorThatNamesIt) {
    ScratchFolder scratch;
    std::filesystem::create_directory(scratch / "folder.ini");
    scratch.put(scratch / "huge.ini", "[SETTING]\nTitleString=x\n");
    std::filesystem::resize_file(scratch / "huge.ini", kMaxIniFileSize + 1);
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {{"missing.ini", ""}, {"folder.ini", "folder"}, {"huge.ini", "16777217 bytes"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = readSettingsFile(scratch / c.name, {}, RelativePaths::FromWorkingFolder);
        ASSERT_FALSE(read.has_value());
        EXPECT_NE(read.error().message.find(c.name), std::string::npos) << read.error().message;
        EXPECT_NE(read.error().message.find(c.reason), std::string::npos) << read.error().message;
    }
    EXPECT_EQ(IniFile::read(scratch / "huge.ini").get(u"SETTING", u"TitleString", u"-", 260), u"-");
}

}  // namespace
}  // namespace sf
