#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace sf::test {

// The window class of `window`, such as "Edit" or "Button".
inline std::wstring classOf(HWND window) {
    std::array<wchar_t, 64> name{};
    GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return name.data();
}

// A window's text: a window's caption, a control's words, an edit's contents.
inline std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Where a control lies in its parent's client area, in pixels.
inline RECT placeInParent(HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// Whether `control` is the dialog's banner, the static that shows a picture.
inline bool isBanner(HWND control) {
    return classOf(control) == L"Static" &&
           (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP;
}

}  // namespace sf::test
