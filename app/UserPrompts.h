#pragma once

#include <QString>
#include <optional>

namespace sf {

// The modal questions the dialog puts to its user: file choosers and message
// boxes. The dialog shows real ones; tests answer them from a script.
class UserPrompts {
  public:
    enum class Icon { None, Warning };

    virtual ~UserPrompts() = default;

    // The open-file chooser: the chosen full path, or nothing on Cancel. The
    // path is not checked; the process's current folder is left as it was.
    virtual std::optional<QString> chooseOpenFile() = 0;

    // The save chooser for packages: the chosen full path, or nothing on
    // Cancel. It asks nothing about an existing file itself.
    virtual std::optional<QString> chooseSaveFile() = 0;

    // A message with an OK button.
    virtual void showMessage(const QString& text, const QString& caption, Icon icon) = 0;

    // A question with the buttons Yes and No and no icon; true for Yes.
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;
};

}  // namespace sf
