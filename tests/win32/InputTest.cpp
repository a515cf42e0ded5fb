#include "Win32Fixture.h"

namespace sf::test {
namespace {

// Keys go through the dialog's loop as a user's do: the rules first, then
// the dialog's keyboard handling, then the edit, which makes the characters.
TEST_F(Win32DialogTest, KeysFollowTheRulesAndEditsKeepTheCaret) {
    open();
    // The identifier edits: hex key classes and editing keys only.
    focus(IDC_AP_VID);
    type(L"1aB");
    press(VK_NUMPAD2);
    EXPECT_EQ(shown(IDC_AP_VID), L"1aB2");
    for (UINT refused : {UINT('G'), UINT(VK_SPACE), UINT(VK_OEM_PERIOD), UINT(VK_DECIMAL),
                         UINT(VK_LEFT), UINT(VK_HOME)}) {
        press(refused);
    }
    press('V', {VK_CONTROL});
    press('G', {VK_MENU});
    EXPECT_EQ(shown(IDC_AP_VID), L"1aB2");
    press(VK_BACK);
    EXPECT_EQ(shown(IDC_AP_VID), L"1aB");
    EXPECT_EQ(stored(u"APVIDString"), L"1aB");

    // Typing in the middle keeps the caret; the limit holds without a reset.
    focus(IDC_TITLE);
    SetWindowTextW(dialog->GetDlgItem(IDC_TITLE), L"");
    type(L"abcdef");
    press(VK_HOME);
    type(L"XY");
    EXPECT_EQ(shown(IDC_TITLE), L"XYabcdef");
    EXPECT_EQ(stored(u"TitleString"), L"XYabcdef");
    type(std::wstring(30, L't'));
    EXPECT_EQ(shown(IDC_TITLE).size(), 32u);

    // Version and digest take every key; Alt+letter types nothing anywhere.
    focus(IDC_VERSION);
    type(L"V 1.g");
    press('X', {VK_MENU});
    EXPECT_EQ(shown(IDC_VERSION), L"V 1.g");
    EXPECT_EQ(stored(u"VersionString"), L"V 1.g");

    // Tab moves on from an identifier edit.
    focus(IDC_AP_USAGE);
    press(VK_TAB);
    EXPECT_EQ(GetFocus(), dialog->GetDlgItem(IDC_IAP_VID));
}

// Ctrl+Break, which the system's dialog handling takes for Cancel, does nothing either.
TEST_F(Win32DialogTest, EscapeAndCtrlBreakDoNothingEnterMakesAndAltF4Closes) {
    open();
    ModalAnswers answers(dialog->GetSafeHwnd());
    answers.then(ModalAnswers::press(IDOK))
        .then(ModalAnswers::press(IDOK))
        .then(ModalAnswers::press(IDOK));
    for (int id : {IDC_NOTE, IDC_TITLE, IDC_DEFAULT}) {
        focus(id);
        press(VK_ESCAPE);
        press(VK_CANCEL, {VK_CONTROL});
        press(VK_RETURN);
    }
    EXPECT_EQ(shown(IDC_NOTE), L"Type note here, maximum 100 characters.");
    ASSERT_EQ(answers.seen.size(), 3u);
    for (const SeenWindow& box : answers.seen) {
        EXPECT_EQ(box.caption, wideText(texts::kSelectImage));
        EXPECT_EQ(box.text, wideText(texts::kSpecifyImagePath));
        EXPECT_FALSE(box.icon);
    }
    EXPECT_FALSE(dialog->HasEnded());
    press(VK_F4, {VK_MENU});
    EXPECT_TRUE(dialog->HasEnded());
    EXPECT_EQ(answers.unexpected, 0);
}

}  // namespace
}  // namespace sf::test
