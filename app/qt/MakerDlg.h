#pragma once

#include <QDialog>
#include <map>
#include <memory>
#include <string>

#include "dialog/DialogControls.h"
#include "dialog/DialogPrompts.h"
#include "dialog/MakerDialog.h"

class QCheckBox;

namespace sf {

// The tool's one window, drawn with Qt widgets made from the control table.
// What it does lives in MakerDialog: the window forwards its controls'
// events there and asks its key and click rules before a control sees an
// event.
class CSparrowflasherMakerDlg : public QDialog, public DialogControls {
  public:
    // `prompts` shows the file choosers and message boxes; by default real
    // Qt dialogs owned by this window.
    explicit CSparrowflasherMakerDlg(std::unique_ptr<DialogPrompts> prompts = nullptr);
    ~CSparrowflasherMakerDlg() override;

    // The control with the identifier, or nullptr.
    QWidget* GetDlgItem(int id) const;

    // DialogControls
    std::u16string text(ControlId control) const override;
    void setText(ControlId control, std::u16string_view text) override;
    void setTypingLimit(ControlId edit, int limit) override;
    bool isChecked(ControlId checkBox) const override;
    void check(ControlId checkBox) override;
    void setFocus(ControlId control) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void connectHandlers();
    void OnInitDialog();
    // The key and click rules, applied before a control sees an event.
    // True when the event is consumed.
    bool PreTranslateMessage(QObject* target, QEvent* event);
    // Files dragged over the dialog, whatever lies under them: accepted, so
    // that no edit takes their names as text, and handed to the dialog's
    // rule when dropped. True when the event is consumed.
    bool PreTranslateDrop(QObject* target, QEvent* event);
    // The identifier of the control that `object` is or belongs to.
    int controlIdOf(const QObject* object) const;
    QCheckBox* checkBox(ControlId id) const;

    std::unique_ptr<DialogPrompts> prompts;
    MakerDialog behaviour;
    std::map<int, QWidget*> controls;
};

}  // namespace sf
