#include "dialog/MakerDialog.h"

#include "dialog/DialogMakeUi.h"
#include "dialog/MessageTexts.h"
#include "platform/InputFile.h"
#include "platform/Utf.h"
#include "settings/SettingsDirectory.h"

namespace sf {

MakerDialog::Services MakerDialog::systemServices(
    std::u16string_view templateFileName,
    std::function<void(const std::string& reason)> settingsNotSaved) {
    return {[] { return resolveSettingsDirectory(); },
            PackageBuilder::systemOptions(templateFileName), std::move(settingsNotSaved)};
}

MakerDialog::MakerDialog(DialogControls& controls, DialogPrompts& prompts, Services services)
    : controls(controls), prompts(prompts), services(std::move(services)) {}

void MakerDialog::DoDataExchange() {
    for (const TextField& field : kTextFields) {
        controls.setTypingLimit(field.control, field.typingLimit);
        controls.setText(field.control, record.*field.member);
    }
}

void MakerDialog::OnInitDialog() {
    folder = services.settingsDirectory();
    store.emplace(record, static_cast<SettingsControls&>(*this), folder);
    report(store->loadSettings(kSettingsFileName));
    controls.setFocus(IDC_MAKE);
    controls.check(IDC_VERIFY);
    DoDataExchange();
}

void MakerDialog::report(const Status& status) const {
    if (!status && services.settingsNotSaved) services.settingsNotSaved(status.error().message);
}

void MakerDialog::saveField(int controlId) {
    // No save may run before the settings folder is known.
    if (store) report(store->saveField(controlId));
}

void MakerDialog::OnBnClicked(int controlId) {
    switch (controlId) {
        case IDC_BROWSE_INTERNAL:
            return OnBnClickedBrowseInternal();
        case IDC_BROWSE_EXTERNAL:
            return OnBnClickedBrowseExternal();
        case IDC_CLEAR_EXTERNAL:
            return OnBnClickedClearExternal();
        case IDC_BROWSE_CMDKEY:
            return OnBnClickedBrowseCmdKey();
        case IDC_MAKE:
            return makePackage();
        case IDC_DEFAULT:
            return resetSettings();
        default:
            // The two stored check boxes save their state; the others have no handler.
            return saveField(controlId);
    }
}

// ---- File selection ----

std::optional<std::filesystem::path> MakerDialog::ChooseExistingFile() {
    std::filesystem::path refused;
    for (;;) {
        auto chosen = prompts.chooseOpenFile(refused);
        if (!chosen) return std::nullopt;
        if (canBeOpened(*chosen)) return chosen;
        refused = *chosen;
    }
}

bool MakerDialog::canBeOpened(const std::filesystem::path& path) {
    if (InputFile::open(path)) return true;
    prompts.showMessage(texts::kFileDoesNotExist, texts::kSelectImage, DialogPrompts::Icon::None);
    return false;
}

void MakerDialog::setImagePath(ImageKind kind, const std::filesystem::path& path) {
    const TextField& field = kind == ImageKind::Internal ? textFieldOf(IDC_INTERNAL_IMAGE)
                                                         : textFieldOf(IDC_EXTERNAL_IMAGE);
    const std::u16string text = path.empty() ? std::u16string() : pathToUtf16(path);
    controls.setText(field.control, text);
    record.*field.member = text;
    // The image paths have no save on change: the choice writes its key itself.
    if (store) report(store->writeSetting(field.key, text));
}

void MakerDialog::SelectImage(ImageKind kind) {
    const auto path = ChooseExistingFile();
    // Cancel keeps the internal image but forgets the external one.
    if (!path && kind == ImageKind::Internal) return;
    setImagePath(kind, path.value_or(std::filesystem::path()));
}

void MakerDialog::OnBnClickedBrowseCmdKey() {
    const auto chosen = prompts.chooseOpenFile({});
    if (chosen) setCmdKeyPath(*chosen);
}

void MakerDialog::setCmdKeyPath(const std::filesystem::path& path) {
    record.cmdKeyPath = pathToUtf16(path);
    controls.setText(IDC_CMDKEY_PATH, record.cmdKeyPath);
    // The path edit's change saves it, as a typed change would.
    saveField(IDC_CMDKEY_PATH);
}

void MakerDialog::OnBnClickedClearExternal() {
    setImagePath(ImageKind::External, {});
}

void MakerDialog::dropFiles(int target, const std::vector<std::filesystem::path>& files) {
    std::error_code error;
    if (files.size() != 1 || std::filesystem::is_directory(files.front(), error)) {
        prompts.showMessage(texts::kDropOneFile, texts::kDropFile, DialogPrompts::Icon::None);
        return;
    }
    // A key file that cannot be read would only fail at Make: it is refused
    // now, as an image is.
    const std::filesystem::path& file = files.front();
    if (!canBeOpened(file)) return;
    if (target == IDC_CMDKEY_PATH) return setCmdKeyPath(file);
    setImagePath(target == IDC_EXTERNAL_IMAGE ? ImageKind::External : ImageKind::Internal, file);
}

// ---- Make and Default ----

void MakerDialog::makePackage() {
    ProjectSettings input = record;
    for (const FlagField& flag : kFlagFields) input.*flag.member = controls.isChecked(flag.control);
    DialogMakeUi ui(prompts);
    PackageBuilder(services.make).make(input, ui);
}

void MakerDialog::resetSettings() {
    if (store) report(store->resetSettings());
}

// ---- Keys and clicks ----

KeyAction MakerDialog::PreTranslateKey(const KeyStroke& stroke) {
    const KeyAction action = keyAction(stroke);
    if (action == KeyAction::MakePackage) makePackage();
    return action;
}

bool MakerDialog::PreTranslateClick(int target, MouseButton button) {
    if (button != MouseButton::Left) return false;
    if (target == IDC_INTERNAL_IMAGE) {
        SelectImage(ImageKind::Internal);
        return true;
    }
    if (target == IDC_EXTERNAL_IMAGE) {
        SelectImage(ImageKind::External);
        return true;
    }
    return false;
}

// ---- SettingsControls ----

std::u16string MakerDialog::text(ControlId control) const {
    return controls.text(control);
}

void MakerDialog::setText(ControlId control, std::u16string_view text) {
    controls.setText(control, text);
}

bool MakerDialog::isChecked(ControlId checkBox) const {
    return controls.isChecked(checkBox);
}

void MakerDialog::check(ControlId checkBox) {
    controls.check(checkBox);
}

bool MakerDialog::confirmReset() {
    return prompts.askYesNo(texts::kResetQuestion, texts::kConfirm);
}

}  // namespace sf
