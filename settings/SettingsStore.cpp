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
constexpr std::array kPathsEmptiedByReset = {IDC_INTERNAL_IMAGE, IDC_EXTERNAL_IMAGE,
                                             IDC_CMDKEY_PATH};

bool hasSaveOnChange(ControlId control) {
    return std::ranges::find(kSavedByFileChoice, control) == kSavedByFileChoice.end();
}

// Setting the text of these controls saves them, as their change event does.
bool savesWhenSet(ControlId control) {
    return hasSaveOnChange(control) &&
           std::ranges::find(kMultiLineEdits, control) == kMultiLineEdits.end();
}

// One write of the reset: a text field's value, an empty value (text is null
// and checkBox is 0) or the state of a check box.
struct ResetWrite {
    std::u16string_view key;
    std::u16string ProjectSettings::*text;
    int checkBox;
};

// The reset writes every key in this order; the digest goes under
// IDigestString, which names the same entry as IDIGESTString.
constexpr std::array<ResetWrite, 16> kResetWrites = {{
    {u"TitleString", &ProjectSettings::title, 0},
    {u"TextString", &ProjectSettings::text, 0},
    {u"NoteString", &ProjectSettings::note, 0},
    {u"ImagePath1", nullptr, 0},
    {u"ImagePath2", nullptr, 0},
    {u"VersionString", &ProjectSettings::version, 0},
    {u"APVIDString", &ProjectSettings::apVid, 0},
    {u"APPIDString", &ProjectSettings::apPid, 0},
    {u"APINFString", &ProjectSettings::apUsage, 0},
    {u"IAPVIDString", &ProjectSettings::iapVid, 0},
    {u"IAPPIDString", &ProjectSettings::iapPid, 0},
    {u"IAPINFString", &ProjectSettings::iapUsage, 0},
    {u"IDigestString", &ProjectSettings::digest, 0},
    {u"IDigestEn", nullptr, IDC_DIGEST_EN},
    {u"CMDKEYPath", &ProjectSettings::cmdKeyPath, 0},
    {u"CMDKEYEn", nullptr, IDC_CMDKEY_EN},
}};

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
        const std::u16string_view value =
            write.text       ? std::u16string_view(settings.*write.text)
            : write.checkBox ? flagText(controls.isChecked(ControlId(write.checkBox)))
                             : std::u16string_view();
        keepFirstFailure(result, writeSetting(write.key, value));
    }
    for (ControlId control : kPathsEmptiedByReset) {
        keepFirstFailure(result, showText(control, u""));
        (settings.*findTextField(control)->member).clear();
    }
    return result;
}

}  // namespace sf
