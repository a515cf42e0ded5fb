#pragma once

#include <string>

#include "dialog/DialogPrompts.h"
#include "package/MakeUi.h"

namespace sf {

// The Make command's user as the dialog plays it: its outcomes in message
// boxes in the program's own words, the save chooser for the output, and a
// progress window while a large package is written, closed when the command
// ends; its Cancel button stops the write, and the command then leaves
// nothing behind.
class DialogMakeUi : public MakeUi {
  public:
    explicit DialogMakeUi(DialogPrompts& prompts) : prompts(prompts) {}
    ~DialogMakeUi() override;

    std::optional<std::filesystem::path> askSavePath() override;
    bool confirmOverwrite(const std::filesystem::path& output) override;
    void failed(const MakeFailure& failure) override;
    void packageWritten(const std::filesystem::path& output) override;
    void progress(uint64_t written, uint64_t total) override;
    // True once the user pressed Cancel in the progress window.
    bool cancelRequested() override { return cancelled; }

  private:
    DialogPrompts& prompts;
    // The output the user chose last in this command, for the chooser's repeat.
    std::filesystem::path lastSavePath;
    bool showingProgress = false;
    bool cancelled = false;
};

// The caption of an application message: the executable's file name without
// its folder and its extension, so a renamed tool shows its new name.
std::u16string applicationName();

}  // namespace sf
