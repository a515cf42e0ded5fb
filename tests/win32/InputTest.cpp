#include "Win32Fixture.h"
#include "dialog/DialogTemplate.h"

#include <cstring>
#include <utility>

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

// The middle of a control, in the dialog's client coordinates.
POINT centreOf(HWND control) {
    const RECT rect = placeInParent(control);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Moves the window so that the screen point `place` lies in its title bar.
void putTitleBarAt(HWND window, POINT place) {
    RECT frame;
    GetWindowRect(window, &frame);
    POINT clientTop{0, 0};
    ClientToScreen(window, &clientTop);
    const int band = clientTop.y - frame.top;
    SetWindowPos(window, nullptr, place.x - 60, place.y - band / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(place.x, place.y)), HTCAPTION);
}

const char16_t* settingOf(int pathEdit) {
    switch (pathEdit) {
        case IDC_INTERNAL_IMAGE:
            return u"ImagePath1";
        case IDC_EXTERNAL_IMAGE:
            return u"ImagePath2";
        default:
            return u"CMDKEYPath";
    }
}

// A dropped file is taken by the path its place names, and saved, as a
// chosen one is; what cannot be taken is refused with a message, and
// nothing changes.
TEST_F(Win32DialogTest, DroppedFilesGoToThePathTheirPlaceNames) {
    open();
    // Unopenable: a file another program is writing.
    enum class Dropped { File, Folder, TwoFiles, Unopenable };
    struct Refusal {
        std::u16string_view caption;
        std::u16string_view text;
    };
    const Refusal dropOneFile{texts::kDropFile, texts::kDropOneFile};
    const Refusal cannotOpen{texts::kSelectImage, texts::kFileDoesNotExist};
    // Outside the client area, where the drop's place is on the screen.
    constexpr int kTitleBar = -2;
    struct Row {
        const char* name;
        int target;  // the control dropped on, kNoControlId for `at`, or kTitleBar
        POINT at;    // in dialog units
        Dropped dropped;
        int takenBy;  // kNoControlId when refused
        const Refusal* refusal;
    };
    const Row rows[] = {
        {"a label", kNoControlId, {20, 174}, Dropped::File, IDC_INTERNAL_IMAGE, nullptr},
        {"inside the frame", kNoControlId, {200, 245}, Dropped::File, IDC_INTERNAL_IMAGE, nullptr},
        {"external path", IDC_EXTERNAL_IMAGE, {}, Dropped::File, IDC_EXTERNAL_IMAGE, nullptr},
        {"key path", IDC_CMDKEY_PATH, {}, Dropped::File, IDC_CMDKEY_PATH, nullptr},
        {"a folder", IDC_EXTERNAL_IMAGE, {}, Dropped::Folder, kNoControlId, &dropOneFile},
        {"two files", IDC_CMDKEY_PATH, {}, Dropped::TwoFiles, kNoControlId, &dropOneFile},
        {"unopenable file", IDC_EXTERNAL_IMAGE, {}, Dropped::Unopenable, kNoControlId, &cannotOpen},
        // Read as a point of the client area, its place would lie on the
        // external image's path.
        {"the title bar", kTitleBar, {}, Dropped::File, IDC_INTERNAL_IMAGE, nullptr},
    };
    const std::filesystem::path beingWritten = folder / "being-written.bin";
    const HANDLE writer = writeAndHoldOpen(beingWritten);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    const HWND window = dialog->GetSafeHwnd();
    // Without the style the shell drops nothing on the dialog.
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    ModalAnswers answers(window);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto file = folder / (std::string(row.name) + ".bin");
        writeBytes(file, patternBytes(10, 1));
        std::vector<std::filesystem::path> files{file};
        if (row.dropped == Dropped::Folder) {
            files = {folder / row.name};
            std::filesystem::create_directory(files.front());
        }
        if (row.dropped == Dropped::TwoFiles) files.push_back(beingWritten);
        if (row.dropped == Dropped::Unopenable) files = {beingWritten};

        POINT place;
        if (row.target == kTitleBar) {
            place = centreOf(dialog->GetDlgItem(IDC_EXTERNAL_IMAGE));
            putTitleBarAt(window, place);
        } else if (row.target != kNoControlId) {
            place = centreOf(dialog->GetDlgItem(row.target));
        } else {
            RECT units{row.at.x, row.at.y, row.at.x, row.at.y};
            MapDialogRect(window, &units);
            place = {units.left, units.top};
        }
        const int paths[] = {IDC_INTERNAL_IMAGE, IDC_EXTERNAL_IMAGE, IDC_CMDKEY_PATH};
        std::vector<std::pair<std::wstring, std::wstring>> before;
        for (int path : paths) before.emplace_back(shown(path), stored(settingOf(path)));
        const std::size_t seen = answers.seen.size();
        if (row.refusal) answers.then(ModalAnswers::press(IDOK));

        drop(place, files, row.target == kTitleBar);

        for (std::size_t index = 0; index < std::size(paths); ++index) {
            const int path = paths[index];
            const auto expected =
                path == row.takenBy ? std::pair(file.wstring(), file.wstring()) : before[index];
            EXPECT_EQ(shown(path), expected.first) << path;
            EXPECT_EQ(stored(settingOf(path)), expected.second) << path;
        }
        if (row.refusal) {
            ASSERT_EQ(answers.seen.size(), seen + 1);
            EXPECT_EQ(answers.seen.back().caption, wideText(row.refusal->caption));
            EXPECT_EQ(answers.seen.back().text, wideText(row.refusal->text));
        } else {
            EXPECT_EQ(answers.seen.size(), seen);
        }
    }
    CloseHandle(writer);
    EXPECT_FALSE(dialog->isChecked(IDC_CMDKEY_EN));
    EXPECT_EQ(answers.unexpected, 0);
}

}  // namespace
}  // namespace sf::test
