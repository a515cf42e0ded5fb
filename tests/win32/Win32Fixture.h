#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>

#include "ModalAnswers.h"
#include "app/win32/MakerDlg.h"
#include "app/win32/WideText.h"
#include "dialog/MessageTexts.h"
#include "platform/IniProfile.h"
#include "platform/Utf.h"
#include "settings/SettingsDirectory.h"
#include "support/TempDir.h"

namespace sf::test {

// The window class a control was made from ("Button", "Edit", ...).
inline std::wstring classOf(HWND window) {
    std::array<wchar_t, 64> name{};
    GetClassNameW(window, name.data(), static_cast<int>(name.size()));
    return name.data();
}

// The real dialog, made modeless on the display that Wine draws on, with
// settings in folders of the test's own. Keys and clicks are posted to the
// controls and taken from the queue by the dialog's own loop, as a user's are.
class Win32DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display) GTEST_SKIP() << "needs a display for Wine: scripts/test-windows";
    }

    void open() {
        MakerDialog::Services services{
            [this] { return resolveSettingsDirectory(folder / "data", folder / "work"); },
            PackageBuilder::systemOptions(),
            {}};
        dialog.emplace(std::move(services));
        ASSERT_TRUE(dialog->Create());
        pump();
    }

    // Runs every waiting message through the dialog's loop.
    void pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) dialog->PumpMessage(message);
    }

    // A key as the keyboard sends it to the focused control, with `held`
    // down meanwhile; with Alt and without Ctrl it is a system key.
    void press(UINT key, std::initializer_list<UINT> held = {}) {
        HWND target = GetFocus();
        ASSERT_NE(target, nullptr) << "the dialog lost the focus to another window";
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_NUMLOCK] |= 0x01;  // on, as on most desks: the keypad types digits
        for (UINT modifier : held) state[modifier] |= 0x80;
        SetKeyboardState(state);
        const bool alt = state[VK_MENU] & 0x80;
        const bool system = alt && !(state[VK_CONTROL] & 0x80);
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        const LPARAM context = alt ? (1 << 29) : 0;
        PostMessageW(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1 | scan | context);
        pump();
        PostMessageW(target, system ? WM_SYSKEYUP : WM_KEYUP, key,
                     1 | scan | context | (1 << 30) | (1u << 31));
        pump();
        for (UINT modifier : held) state[modifier] &= ~0x80;
        SetKeyboardState(state);
    }

    // Types a text key by key, Shift held where the layout needs it.
    void type(std::wstring_view text) {
        for (wchar_t character : text) {
            const SHORT key = VkKeyScanW(character);
            if (HIBYTE(key) & 1) {
                press(LOBYTE(key), {VK_SHIFT});
            } else {
                press(LOBYTE(key));
            }
        }
    }

    void focus(int id) {
        SetFocus(dialog->GetDlgItem(id));
        ASSERT_EQ(GetFocus(), dialog->GetDlgItem(id));
    }

    // A press and a release of the left mouse button inside a control.
    void click(int id) {
        HWND control = dialog->GetDlgItem(id);
        PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        pump();
    }

    std::wstring shown(int id) const {
        const std::u16string text = dialog->text(ControlId(id));
        return std::wstring(text.begin(), text.end());
    }

    std::filesystem::path settingsFile() const {
        return folder / "data" / kSettingsFolderName / kSettingsFileName;
    }

    // A key of setting.ini, or "<missing>".
    std::wstring stored(std::u16string_view key) const {
        const std::u16string value =
            readProfileString(settingsFile(), u"SETTING", key, u"<missing>", kWholeValue);
        return std::wstring(value.begin(), value.end());
    }

    TempDir folder;
    std::optional<CSparrowflasherMakerDlg> dialog;
};

}  // namespace sf::test
