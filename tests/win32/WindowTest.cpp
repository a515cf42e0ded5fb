#include "Win32Fixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>

#include <array>
#include <vector>

#include "app/win32/ProcessObjects.h"
#include "dialog/DialogTemplate.h"

namespace sf::test {
namespace {

TEST_F(Win32DialogTest, TheWindowIsMadeFromTheControlTable) {
    open();
    HWND window = dialog->GetSafeHwnd();
    EXPECT_EQ(shown(0).size(), 0u);
    EXPECT_EQ(windowText(window), L"Tavlen Sparrowflasher Maker III V" SF_VERSION);
    // The window opens in the middle of the work area.
    RECT frame;
    GetWindowRect(window, &frame);
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR(frame.left - area.left, area.right - frame.right, 2);
    EXPECT_NEAR(frame.top - area.top, area.bottom - frame.bottom, 2);

    for (const ControlTemplate& entry : kDialogTemplate) {
        if (entry.id == kNoControlId) continue;
        HWND control = dialog->GetDlgItem(entry.id);
        ASSERT_NE(control, nullptr) << entry.id;
        // The system maps the place and the size of a control each on its own.
        RECT units{entry.rect.x, entry.rect.y, entry.rect.width, entry.rect.height};
        MapDialogRect(window, &units);
        const RECT expected{units.left, units.top, units.left + units.right,
                            units.top + units.bottom};
        const RECT actual = placeInParent(control);
        EXPECT_TRUE(EqualRect(&expected, &actual)) << entry.id;
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        if (entry.kind == ControlKind::Edit) {
            EXPECT_EQ(classOf(control), L"Edit") << entry.id;
            EXPECT_EQ((style & ES_READONLY) != 0, (entry.style & kReadOnly) != 0) << entry.id;
            EXPECT_EQ((style & ES_MULTILINE) != 0, (entry.style & kMultiLine) != 0) << entry.id;
        } else {
            EXPECT_EQ(classOf(control), L"Button") << entry.id;
            EXPECT_EQ(shown(entry.id), std::wstring(entry.caption.begin(), entry.caption.end()));
            // No button is the default one: Enter makes a package instead.
            EXPECT_NE(style & BS_TYPEMASK, BS_DEFPUSHBUTTON) << entry.id;
        }
    }

    // Tab visits the controls in the table's order.
    std::vector<int> visited;
    HWND at = dialog->GetDlgItem(IDC_TITLE);
    for (const ControlTemplate& entry : kDialogTemplate) {
        if (entry.id == kNoControlId) continue;
        visited.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(window, at, FALSE);
    }
    std::vector<int> expected;
    for (const ControlTemplate& entry : kDialogTemplate) {
        if (entry.id != kNoControlId) expected.push_back(entry.id);
    }
    EXPECT_EQ(visited, expected);

    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(Win32DialogTest, ThirteenControlsShowTheirTipsBlackOnPaleYellowAfterHalfASecond) {
    open();
    HWND tips = toolTipControl.GetSafeHwnd();
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 13);
    for (const ToolTipTemplate& tip : kToolTips) {
        std::array<wchar_t, 128> text{};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = dialog->GetSafeHwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(dialog->GetDlgItem(tip.control));
        tool.lpszText = text.data();
        SendMessageW(tips, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
        EXPECT_EQ(std::wstring(text.data()), std::wstring(tip.text.begin(), tip.text.end()));
    }
    EXPECT_EQ(SendMessageW(tips, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTIPBKCOLOR, 0, 0), RGB(0xff, 0xff, 0xdd));
    EXPECT_EQ(SendMessageW(tips, TTM_GETTIPTEXTCOLOR, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(SendMessageW(tips, TTM_GETMAXTIPWIDTH, 0, 0), 200);
    // Tips show only while the dialog is the active window.
    EXPECT_FALSE(GetWindowLongW(tips, GWL_STYLE) & TTS_ALWAYSTIP);
}

TEST_F(Win32DialogTest, StartsWithFocusOnMakeVerifyOnAndTheTypingLimits) {
    open();
    EXPECT_EQ(GetFocus(), dialog->GetDlgItem(IDC_MAKE));
    EXPECT_TRUE(dialog->isChecked(IDC_VERIFY));
    EXPECT_EQ(shown(IDC_TITLE), L"Tavlen Sparrowflasher V1.0.0");
    for (const TextField& field : kTextFields) {
        const auto limit = SendMessageW(dialog->GetDlgItem(field.control), EM_GETLIMITTEXT, 0, 0);
        if (field.typingLimit) {
            EXPECT_EQ(limit, field.typingLimit) << field.control;
        } else {
            EXPECT_GE(limit, 0x7FFFFFFE) << field.control;
        }
    }
    EXPECT_EQ(settingsDirectory, settingsFile().parent_path() / "");
}

}  // namespace
}  // namespace sf::test
