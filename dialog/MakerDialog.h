#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialog/DialogControls.h"
#include "dialog/DialogPrompts.h"
#include "dialog/KeyRules.h"
#include "package/PackageBuilder.h"
#include "settings/ProjectSettings.h"
#include "settings/SettingsControls.h"
#include "settings/SettingsStore.h"

namespace sf {

enum class MouseButton { Left, Right, Middle };

// What the tool's one dialog does, whatever draws it: it shows every setting
// in its control, saves each change at once, runs the three file choices and
// the Default command, makes packages, and decides what becomes of keys and
// clicks before a control sees them. A front end owns the window and its
// controls, forwards their events here, and asks the key and click rules
// first.
class MakerDialog : private SettingsControls {
  public:
    // What the dialog takes from the system; tests give their own.
    struct Services {
        // Finds the per-user settings folder, making and seeding it as needed.
        std::function<std::filesystem::path()> settingsDirectory;
        // Where Make finds the template, and the clock that seeds the package key.
        PackageBuilder::Options make;
        // Told why setting.ini could not be written. The dialog goes on: the
        // value stays in the control and the record.
        std::function<void(const std::string& reason)> settingsNotSaved;
    };

    // The settings folder under the user's data folder, seeded from the
    // working folder; the template of that name where sfmaker looks for it
    // too (templateSearchPath); the clock; and the front end's own way of
    // telling a settings file that could not be written.
    static Services systemServices(std::u16string_view templateFileName,
                                   std::function<void(const std::string& reason)> settingsNotSaved);

    MakerDialog(DialogControls& controls, DialogPrompts& prompts, Services services);

    // The data exchange towards the controls: every text field into its
    // control, with its typing limit. Raises no change event.
    void DoDataExchange();

    // The start once the window has its controls, icons and tips: finds the
    // settings folder, loads setting.ini, puts the focus on Make, checks
    // "Verify" and exchanges the data once more.
    void OnInitDialog();

    // The settings folder found by OnInitDialog; empty before.
    const std::filesystem::path& settingsDirectory() const { return folder; }

    // The settings as the dialog holds them; the four flags live in the check boxes.
    const ProjectSettings& settings() const { return record; }

    // The user changed a control: an edit's text, or a check box by a click.
    // Copies it into its field and writes its key; other controls are ignored.
    void saveField(int controlId);

    // A click on a button or a check box: runs its handler, if it has one.
    void OnBnClicked(int controlId);

    // The file choices.
    void SelectImage(ImageKind kind);
    void OnBnClickedBrowseInternal() { SelectImage(ImageKind::Internal); }
    void OnBnClickedBrowseExternal() { SelectImage(ImageKind::External); }
    void OnBnClickedBrowseCmdKey();
    void OnBnClickedClearExternal();

    // Files dropped on the dialog: on the external image's path the file
    // becomes the external image, on the command-key path the key file, and
    // anywhere else (`target` is the control under the drop, kNoControlId for
    // a label or the background) the internal image. A file that cannot be
    // opened is refused as the chooser refuses it; a folder, or several files
    // at once, with a word of what to drop instead. Nothing changes then.
    void dropFiles(int target, const std::vector<std::filesystem::path>& files);

    // The Make command with the current settings and check boxes.
    void makePackage();

    // The Default command: asks, then resets the settings.
    void resetSettings();

    // The key rules (see keyAction), with Make run for Enter.
    KeyAction PreTranslateKey(const KeyStroke& stroke);

    // A mouse press on a control: the left button on an image path opens its
    // chooser instead of reaching the edit. True when the press is consumed.
    bool PreTranslateClick(int target, MouseButton button);

  private:
    // The full path of a file that can be opened, or nothing on Cancel.
    std::optional<std::filesystem::path> ChooseExistingFile();
    // True when the file can be opened for reading; otherwise tells the user so.
    bool canBeOpened(const std::filesystem::path& path);
    void setImagePath(ImageKind kind, const std::filesystem::path& path);
    void setCmdKeyPath(const std::filesystem::path& path);
    void report(const Status& status) const;

    // SettingsControls, for the settings store.
    std::u16string text(ControlId control) const override;
    void setText(ControlId control, std::u16string_view text) override;
    bool isChecked(ControlId checkBox) const override;
    void check(ControlId checkBox) override;
    bool confirmReset() override;

    DialogControls& controls;
    DialogPrompts& prompts;
    Services services;
    ProjectSettings record;
    std::filesystem::path folder;
    std::optional<SettingsStore> store;
};

}  // namespace sf
