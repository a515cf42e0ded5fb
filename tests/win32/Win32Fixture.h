#pragma once

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "ModalAnswers.h"
#include "WindowQueries.h"
#include "app/win32/MakerDlg.h"
#include "app/win32/WideText.h"
#include "dialog/MessageTexts.h"
#include "platform/IniProfile.h"
#include "platform/Utf.h"
#include "settings/SettingsDirectory.h"
#include "support/TempDir.h"

namespace sf::test {

// Writes a file and holds it open for writing, as a program writing it
// would, however freely it shares it; the caller closes the handle.
inline HANDLE writeAndHoldOpen(const std::filesystem::path& path) {
    writeBytes(path, patternBytes(64, 4));
    return CreateFileW(path.c_str(), GENERIC_WRITE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

    // Files dropped as the shell drops them: a WM_DROPFILES for the dialog,
    // its HDROP a block holding a DROPFILES header, then each name wide and
    // ended by a NUL, then one more NUL. `place` is in the dialog's client
    // coordinates, or on the screen for a drop outside the client area.
    void drop(POINT place, const std::vector<std::filesystem::path>& files, bool outsideClient) {
        std::wstring names;
        for (const auto& file : files) names += file.wstring() + L'\0';
        names += L'\0';
        const std::size_t nameBytes = names.size() * sizeof(wchar_t);
        HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + nameBytes);
        ASSERT_NE(block, nullptr);
        auto* header = static_cast<DROPFILES*>(GlobalLock(block));
        header->pFiles = sizeof(DROPFILES);
        header->pt = place;
        header->fNC = outsideClient;
        header->fWide = TRUE;
        std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), nameBytes);
        GlobalUnlock(block);
        // The dialog releases the block, as a window that takes a drop must.
        PostMessageW(dialog->GetSafeHwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
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
