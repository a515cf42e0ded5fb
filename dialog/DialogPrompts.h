#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace sf {

// The modal questions the dialog puts to its user: file choosers and message
// boxes, and the progress of a long write. Each front end shows its own; the
// tests answer them from a script.
class DialogPrompts {
  public:
    enum class Icon { None, Exclamation };

    virtual ~DialogPrompts() = default;

    // The open-file chooser ("All File (*.*)"): the chosen full path, or
    // nothing on Cancel. The path is not checked; the process's current
    // folder is left as it was. `again` is the user's earlier choice when the
    // chooser is shown again after it was refused: the chooser then opens in
    // its folder with its name typed in. Empty for a new choice.
    virtual std::optional<std::filesystem::path> chooseOpenFile(
        const std::filesystem::path& again) = 0;

    // The save chooser for packages: the chosen full path, or nothing on
    // Cancel. It asks nothing about an existing file itself. `again` as for
    // chooseOpenFile.
    virtual std::optional<std::filesystem::path> chooseSaveFile(
        const std::filesystem::path& again) = 0;

    // A message with an OK button.
    virtual void showMessage(std::u16string_view text, std::u16string_view caption, Icon icon) = 0;

    // A question with the buttons Yes and No and no icon; true for Yes.
    virtual bool askYesNo(std::u16string_view text, std::u16string_view caption) = 0;

    // Shows how far a long write has come, from 0 to 100; the first call
    // opens the progress window, which has a Cancel button. True while the
    // user lets the write go on; false once they have asked to cancel it.
    virtual bool showProgress(int percent) = 0;

    // Closes the progress window, if one is open.
    virtual void endProgress() = 0;
};

}  // namespace sf
