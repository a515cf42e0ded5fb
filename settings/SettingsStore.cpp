#include "settings/SettingsStore.h"

#include <algorithm>
#include <array>

#include "platform/IniProfile.h"
#include "settings/SettingsDirectory.h"
#include "settings/SettingsFile.h"

namespace sf {
namespace {

// The image paths are written by the file choice itself, not on change.
constexpr std::array kSavedByFileChoice = {IDC_INTERNAL_IMAGE, IDC_EXTERNAL_IMAGE};

// Multi-line edits raise no change event when the program sets their text.
constexpr std::array kMultiLineEdits = {IDC_TITLE, IDC_TEXT, IDC_NOTE};

// The paths that a reset empties, in its order.
constexpr std::array kPathsEmptiedByReset = {&textFieldOf(IDC_INTERNAL_IMAGE),
                                             &textFieldOf(IDC_EXTERNAL_IMAGE),
                                             &textFieldOf(IDC_CMDKEY_PATH)};

bool hasSaveOnChange(ControlId control) {
    return std::ranges::find(kSavedByFileChoice, control) == kSavedByFileChoice.end();
}

// Setting the text of these controls saves them, as their change event does.
bool savesWhenSet(ControlId control) {
    return hasSaveOnChange(control) &&
           std::ranges::find(kMultiLineEdits, control) == kMultiLineEdits.end();
}

// One write of the reset: a text field's value (or an empty value) or the
// state of a check box.
struct ResetWrite {
    const TextField* text = nullptr;
    const FlagField* flag = nullptr;
};

// The reset's writes in their order, as the field table orders them; a
// table that leaves a write out or gives one twice does not compile.
constexpr auto kResetWrites = [] {
    std::array<ResetWrite, 16> writes{};
    std::array<int, 16> uses{};
    for (const TextField& field : kTextFields) {
        writes.at(field.resetOrder).text = &field;
        ++uses.at(field.resetOrder);
    }
    for (const FlagField& flag : kFlagFields) {
        if (flag.resetOrder < 0) continue;
        writes.at(flag.resetOrder).flag = &flag;
        ++uses.at(flag.resetOrder);
    }
    for (const int used : uses) {
        if (used != 1) throw "each of the reset's sixteen writes is one field's";
    }
    return writes;
}();

std::u16string_view flagText(bool on) {
    return on ? u"1" : u"0";
}

// Keeps the first failure of a run of writes.
void keepFirstFailure(Status& first, Status next) {
    if (first && !next) first = std::move(next);
}

}  // namespace

SettingsStore::SettingsStore(ProjectSettings& settings, SettingsControls& controls,
                             std::filesystem::path directory)
    : settings(settings), controls(controls), settingsDirectory(std::move(directory)) {}

Status SettingsStore::showText(ControlId control, std::u16string_view text) {
    controls.setText(control, text);
    return savesWhenSet(control) ? saveField(control) : success();
}

Status SettingsStore::loadSettings(const std::filesystem::path& fileName) {
    const StoredSettings stored(IniFile::read(settingsDirectory / fileName));
    Status result = success();
    for (const TextField& field : kTextFields) {
        const auto& value = stored.text(field);
        if (!value) continue;
        keepFirstFailure(result, showText(field.control, *value));
        settings.*field.member = *value;
    }
    for (const FlagField& flag : kFlagFields) {
        if (!stored.flagIsOn(flag)) continue;
        controls.check(flag.control);
        settings.*flag.member = true;
    }
    return result;
}

Status SettingsStore::writeSetting(std::u16string_view key, std::u16string_view value) {
    return writeProfileString(settingsDirectory / kSettingsFileName, kSettingsSection, key, value);
}

Status SettingsStore::saveField(int controlId) {
    if (const TextField* field = findTextField(controlId);
        field && hasSaveOnChange(field->control)) {
        settings.*field->member = controls.text(field->control);
        return writeSetting(field->key, settings.*field->member);
    }
    if (const FlagField* flag = findFlagField(controlId); flag && !flag->key.empty()) {
        settings.*flag->member = controls.isChecked(flag->control);
        return writeSetting(flag->key, flagText(settings.*flag->member));
    }
    return success();
}

Status SettingsStore::resetSettings() {
    if (!controls.confirmReset()) return success();
    Status result = loadSettings(kDefaultsFileName);
    for (const ResetWrite& write : kResetWrites) {
        if (write.flag) {
            keepFirstFailure(
                result,
                writeSetting(write.flag->key, flagText(controls.isChecked(write.flag->control))));
            continue;
        }
        const TextField& field = *write.text;
        const std::u16string_view value =
            field.resetWritesEmpty ? std::u16string_view() : settings.*field.member;
        keepFirstFailure(result, writeSetting(field.resetKey, value));
    }
    for (const TextField* path : kPathsEmptiedByReset) {
        keepFirstFailure(result, showText(path->control, u""));
        (settings.*path->member).clear();
    }
    return result;
}

}  // namespace sf
