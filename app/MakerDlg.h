#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include <QProgressDialog>
#include "app/UserPrompts.h"

#include "package/MakeUi.h"
#include "settings/ProjectSettings.h"
#include "settings/SettingsControls.h"
#include "settings/SettingsStore.h"

class QCheckBox;

namespace sf {

// Which image a file choice is for.
enum class ImageKind { Internal = 1, External = 2 };

// The tool's one window: shows every setting in a control of its own, saves
// each change at once, lets the user choose the files, filters keys and
// clicks, and makes packages. It is the settings store's controls and the
// Make command's user at the same time.
class CSparrowflasherMakerDlg : public QDialog, public SettingsControls, public MakeUi {
  public:
    // `prompts` shows the file choosers and message boxes; by default real
    // Qt dialogs owned by this window.
    explicit CSparrowflasherMakerDlg(std::unique_ptr<UserPrompts> prompts = nullptr);
    ~CSparrowflasherMakerDlg() override;

    // The control with the identifier, or nullptr.
    QWidget* GetDlgItem(int id) const;

    // The settings as the dialog holds them; the four flags live in the check boxes.
    const ProjectSettings& settings() const { return record; }

    // File selection.
    void SelectImage(ImageKind kind);
    void OnBnClickedBrowseInternal() { SelectImage(ImageKind::Internal); }
    void OnBnClickedBrowseExternal() { SelectImage(ImageKind::External); }
    void OnBnClickedBrowseCmdKey();
    void OnBnClickedClearExternal();

    // The Make command with the dialog's current settings and check boxes.
    void makePackage();

    // The keyboard and mouse rules, applied before a control sees an event.
    // True when the event is consumed.
    bool PreTranslateMessage(QObject* target, QEvent* event);

    // SettingsControls
    std::u16string text(ControlId control) const override;
    void setText(ControlId control, std::u16string_view text) override;
    bool isChecked(ControlId checkBox) const override;
    void check(ControlId checkBox) override;
    bool askYesNo(std::u16string_view question, std::u16string_view caption) override;

    // MakeUi
    void message(const std::string& text, const std::string& caption) override;
    void applicationMessage(const std::string& text) override;
    std::optional<std::filesystem::path> askSavePath() override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    void progress(uint64_t written, uint64_t total) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void connectHandlers();
    void OnInitDialog();
    // Puts every text field into its control, with its typing limit.
    void transferToControls();
    void saveField(int controlId);
    // The full path of a file that can be opened, or empty text on Cancel.
    QString ChooseExistingFile();
    // The identifier of the control that `object` is or belongs to.
    int controlIdOf(const QObject* object) const;
    QCheckBox* checkBox(ControlId id) const;

    std::unique_ptr<UserPrompts> prompts;
    ProjectSettings record;
    std::optional<SettingsStore> store;
    std::map<int, QWidget*> controls;
    // Shown while a large package is written; gone when Make ends.
    std::unique_ptr<QProgressDialog> writing;
};

}  // namespace sf
