#pragma once

#include <windows.h>

#include <string_view>

namespace sf {

// The tips of the dialog's controls: the system's tooltip control, black on
// pale yellow, shown after half a second, wrapped at 200 pixels. It sees the
// mouse only through the messages the dialog relays to it. The object exists
// for the whole process; the dialog creates its window, which goes with the
// dialog's.
class ToolTipControl {
  public:
    static constexpr int kDelayMs = 500;
    static constexpr int kMaxWidth = 200;
    static constexpr COLORREF kBackground = RGB(0xff, 0xff, 0xdd);
    static constexpr COLORREF kText = RGB(0, 0, 0);

    // Makes the tooltip window, owned by `owner` and shown only while the
    // owner is active, and activates it.
    bool Create(HWND owner);

    // Gives the whole of `control` the tip `text`.
    void AddTool(HWND control, std::u16string_view text) const;

    // Sets the delay, the colours and the width at which tips wrap.
    void Configure() const;

    // Shows the tooltip the mouse message it would otherwise not see.
    void RelayEvent(const MSG& message) const;

    HWND GetSafeHwnd() const { return window; }

  private:
    HWND window = nullptr;
    HWND owner = nullptr;
};

}  // namespace sf
