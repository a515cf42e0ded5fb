#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "dialog/DialogTemplate.h"
#include "dialog/MakerDialog.h"
#include "platform/ExecutablePath.h"
#include "platform/IniProfile.h"
#include "platform/Utf.h"
#include "settings/SettingsDirectory.h"
#include "support/ScriptedPrompts.h"
#include "support/TempDir.h"

namespace sf::test {

// The dialog's controls as plain values. A user's change is made with
// `type` or `click`, which raise the control's event as a front end does.
class FakeControls : public DialogControls {
  public:
    std::map<int, std::u16string> texts;
    std::map<int, int> limits;
    std::set<int> checked;
    int focused = kNoControlId;

    std::u16string text(ControlId control) const override {
        const auto found = texts.find(control);
        return found == texts.end() ? std::u16string() : found->second;
    }
    void setText(ControlId control, std::u16string_view text) override {
        texts[control] = std::u16string(text);
    }
    void setTypingLimit(ControlId edit, int limit) override { limits[edit] = limit; }
    bool isChecked(ControlId checkBox) const override { return checked.contains(checkBox); }
    void check(ControlId checkBox) override { checked.insert(checkBox); }
    void setFocus(ControlId control) override { focused = control; }
};

// The dialog opened on fresh settings: the per-user data folder and the
// working folder it seeds from are folders of the test's own, and Make uses
// the template beside the test and a fixed time.
class DialogTest : public ::testing::Test {
  protected:
    static constexpr int64_t kMakeTime = 1700000000;

    // Writes setting.ini in the settings folder before the dialog opens.
    void storeSetting(std::u16string_view key, std::u16string_view value) {
        std::filesystem::create_directories(settingsFile().parent_path());
        ASSERT_TRUE(writeProfileString(settingsFile(), u"SETTING", key, value));
    }

    void open() {
        MakerDialog::Services services{
            [this] { return resolveSettingsDirectory(folder / "data", folder / "work"); },
            {{executableDirectory() / "AP2.EXE"}, [] { return kMakeTime; }},
            [this](const std::string& reason) { notSaved.push_back(reason); }};
        dialog.emplace(controls, prompts, std::move(services));
        dialog->DoDataExchange();
        dialog->OnInitDialog();
    }

    // The user types a whole new text into an edit.
    void type(ControlId edit, std::u16string_view text) {
        controls.texts[edit] = std::u16string(text);
        dialog->saveField(edit);
    }

    // The user clicks a button, or a check box, which turns it over first.
    void click(ControlId control) {
        if (findFlagField(control)) {
            if (!controls.checked.erase(control)) controls.checked.insert(control);
        }
        dialog->OnBnClicked(control);
    }

    std::filesystem::path settingsFile() const {
        return folder / "data" / kSettingsFolderName / kSettingsFileName;
    }

    // A key of setting.ini, or "<missing>".
    std::string stored(std::u16string_view key) const {
        return utf16ToUtf8(
            readProfileString(settingsFile(), u"SETTING", key, u"<missing>", kWholeValue));
    }

    std::string shown(ControlId id) const { return utf16ToUtf8(controls.text(id)); }

    TempDir folder;
    FakeControls controls;
    ScriptedPrompts prompts;
    std::vector<std::string> notSaved;
    std::optional<MakerDialog> dialog;
};

}  // namespace sf::test
