#include "Win32Fixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "dialog/DialogTemplate.h"
#include "res/resource.h"

namespace sf::test {
namespace {

// A control's device context with the control's own font selected, as the
// control has it while it paints.
class ControlFont {
  public:
    explicit ControlFont(HWND control)
        : control(control),
          context(GetDC(control)),
          previous(SelectObject(
              context, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)))) {}
    ~ControlFont() {
        SelectObject(context, previous);
        ReleaseDC(control, context);
    }
    ControlFont(const ControlFont&) = delete;
    ControlFont& operator=(const ControlFont&) = delete;

    // The size DrawTextW gives `text` with `format`; a text that wraps is
    // laid out `width` pixels wide, and grows wider only for a longer word.
    SIZE textSize(const std::wstring& text, UINT format, LONG width = 0) const {
        RECT box{0, 0, width, 0};
        DrawTextW(context, text.c_str(), -1, &box, format | DT_CALCRECT);
        return {box.right - box.left, box.bottom - box.top};
    }

    int digitWidth() const {
        INT width = 0;
        GetCharWidth32W(context, L'0', L'0', &width);
        return width;
    }

    int dpi() const { return GetDeviceCaps(context, LOGPIXELSX); }

  private:
    HWND control;
    HDC context;
    HGDIOBJ previous;
};

// What a control's caption needs and what the control gives it, in pixels.
struct TextRoom {
    std::wstring kind;
    SIZE needed;
    SIZE available;
};

SIZE shrunk(SIZE size, LONG dx, LONG dy) {
    return {size.cx - dx, size.cy - dy};
}

// A label lays its text out as the static control draws it: wrapped at
// spaces, or on one line centred from top to bottom with SS_CENTERIMAGE.
TextRoom labelRoom(const ControlFont& font, const std::wstring& text, LONG style, SIZE client) {
    UINT format = DT_EXPANDTABS | ((style & SS_TYPEMASK) == SS_RIGHT ? DT_RIGHT : DT_LEFT);
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    format |= (style & SS_CENTERIMAGE) ? DT_SINGLELINE | DT_VCENTER : DT_WORDBREAK;
    return {L"label", font.textSize(text, format, client.cx), client};
}

// Buttons draw their caption on one line: a push button inside its 2-pixel
// frame; a check box after its box (12 pixels at 96 DPI, and one more) and a
// gap of half a digit; a group box between the frame's ends, 7 pixels in.
TextRoom buttonRoom(const ControlFont& font, const std::wstring& text, LONG style, SIZE client) {
    const SIZE line = font.textSize(text, DT_SINGLELINE);
    switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX:
            return {L"group box", line, shrunk(client, 2 * 7, 0)};
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX: {
            const LONG box = 12 * font.dpi() / 96 + 1;
            return {L"check box",
                    {box + font.digitWidth() / 2 + line.cx, std::max(box, line.cy)},
                    client};
        }
        default:
            return {L"push button", line, shrunk(client, 2 * 2, 2 * 2)};
    }
}

// What a child of the dialog needs for its caption; nothing for edits, the
// banner and the controls without a caption.
std::optional<TextRoom> roomOf(HWND control) {
    const std::wstring text = windowText(control);
    const std::wstring type = classOf(control);
    if (text.empty() || (type != L"Static" && type != L"Button")) return std::nullopt;
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    // The banner's text names its picture.
    if (isBanner(control)) return std::nullopt;
    RECT client;
    GetClientRect(control, &client);
    const SIZE size{client.right - client.left, client.bottom - client.top};
    const ControlFont font(control);
    return type == L"Static" ? labelRoom(font, text, style, size)
                             : buttonRoom(font, text, style, size);
}

std::vector<HWND> childrenOf(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

std::string utf8(const std::wstring& text) {
    return utf16ToUtf8(u16Text(text));
}

// The DPI comes from the Wine prefix's LogPixels, read as the process starts:
// scripts/test-windows runs this test at 96, 144 and 192 DPI and names the
// DPI of each run in SF_EXPECTED_DPI. Without it the DPI of a new prefix, 96,
// is expected.
TEST_F(Win32DialogTest, EveryCaptionFitsAndTheBannerGrowsAtTheScreensDpi) {
    open();
    const char* expectedText = std::getenv("SF_EXPECTED_DPI");
    const int expected = expectedText && *expectedText ? std::atoi(expectedText) : 96;
    const int dpi = ControlFont(dialog->GetSafeHwnd()).dpi();
    std::printf("The dialog is drawn at %d DPI.\n", dpi);
    ASSERT_EQ(dpi, expected) << "the Wine prefix's LogPixels did not reach the dialog";

    int checked = 0;
    for (HWND control : childrenOf(dialog->GetSafeHwnd())) {
        const std::optional<TextRoom> room = roomOf(control);
        if (!room) continue;
        ++checked;
        EXPECT_TRUE(room->needed.cx <= room->available.cx && room->needed.cy <= room->available.cy)
            << '"' << utf8(windowText(control)) << "\" (" << utf8(room->kind) << ") at " << dpi
            << " DPI: needs " << room->needed.cx << 'x' << room->needed.cy << " px, has "
            << room->available.cx << 'x' << room->available.cy;
    }
    // The banner's picture grows with the DPI, as the dialog does.
    const std::vector<HWND> children = childrenOf(dialog->GetSafeHwnd());
    const auto banner = std::ranges::find_if(children, isBanner);
    ASSERT_NE(banner, children.end());
    BITMAP shown{};
    BITMAP picture{};
    GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(*banner, STM_GETIMAGE, IMAGE_BITMAP, 0)),
               sizeof shown, &shown);
    HANDLE resource = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BANNER),
                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    GetObjectW(resource, sizeof picture, &picture);
    DeleteObject(resource);
    EXPECT_EQ(shown.bmWidth, MulDiv(picture.bmWidth, dpi, 96));
    EXPECT_EQ(shown.bmHeight, MulDiv(picture.bmHeight, dpi, 96));

    // Every control of the table that shows a caption was reached.
    EXPECT_EQ(checked, std::ranges::count_if(kDialogTemplate, [](const ControlTemplate& entry) {
                  return !entry.caption.empty();
              }));
}

}  // namespace
}  // namespace sf::test
