#include "app/win32/ToolTipControl.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <string>

#include "app/win32/WideText.h"

namespace sf {

bool ToolTipControl::Create(HWND ownerWindow) {
    owner = ownerWindow;
    // No TTS_ALWAYSTIP: a tip shows only while the dialog is the active window.
    window = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (!window) return false;
    // A themed tip draws the theme's colours instead of the ones set here.
    SetWindowTheme(window, L"", L"");
    SendMessageW(window, TTM_ACTIVATE, TRUE, 0);
    return true;
}

void ToolTipControl::Configure() const {
    SendMessageW(window, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(kDelayMs, 0));
    SendMessageW(window, TTM_SETTIPBKCOLOR, kBackground, 0);
    SendMessageW(window, TTM_SETTIPTEXTCOLOR, kText, 0);
    SendMessageW(window, TTM_SETMAXTIPWIDTH, 0, kMaxWidth);
}

void ToolTipControl::AddTool(HWND control, std::u16string_view text) const {
    std::wstring copy = wideText(text);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = copy.data();
    SendMessageW(window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void ToolTipControl::RelayEvent(const MSG& message) const {
    if (window) SendMessageW(window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

}  // namespace sf
