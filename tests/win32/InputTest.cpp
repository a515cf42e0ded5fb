#include "Win32Fixture.h"

#include <cstring>

namespace sf::test {
namespace {

void putOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(copy), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(copy);
    SetClipboardData(CF_UNICODETEXT, copy);
    CloseClipboard();
}

// Keys go through the dialog's loop as a user's do: the rules first, then
// the dialog's keyboard handling, then the edit, which makes the characters.
TEST_F(Win32DialogTest, KeysFollowTheRulesAndEditsKeepTheCaret) {
    open();
    // The identifier edits take hex digits, whatever key types them, and the
    // editing keys; nothing is pasted into them.
    focus(IDC_AP_VID);
    type(L"1!2");  // 1, Shift+1, 2
    type(L"a");
    press(VK_NUMPAD3);
    EXPECT_EQ(shown(IDC_AP_VID), L"12a3");
    putOnClipboard(L"9!");
    for (UINT refused : {UINT('G'), UINT(VK_SPACE), UINT(VK_OEM_PERIOD), UINT(VK_DECIMAL)}) {
        press(refused);
    }
    press('V', {VK_CONTROL});
    press(VK_INSERT, {VK_SHIFT});
    press('G', {VK_MENU});
    EXPECT_EQ(shown(IDC_AP_VID), L"12a3");
    press(VK_HOME);
    press(VK_DELETE);
    press(VK_END);
    press(VK_LEFT);
    press(VK_BACK);
    EXPECT_EQ(shown(IDC_AP_VID), L"23");
    EXPECT_EQ(stored(u"APVIDString"), L"23");

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

    // Version and digest take every key and a paste; Alt+letter types nothing anywhere.
    focus(IDC_VERSION);
    type(L"V 1.g");
    press('X', {VK_MENU});
    press('V', {VK_CONTROL});  // the paste the identifier edit refused
    EXPECT_EQ(shown(IDC_VERSION), L"V 1.g9!");
    EXPECT_EQ(stored(u"VersionString"), L"V 1.g9!");

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
