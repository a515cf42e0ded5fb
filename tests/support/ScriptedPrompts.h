#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "dialog/DialogPrompts.h"
#include "dialog/MessageTexts.h"
#include "platform/Utf.h"

namespace sf::test {

// The log lines of ScriptedPrompts: a message box without an icon, one with
// the exclamation icon, and a Yes/No question.
inline std::string messageLine(std::u16string_view text, std::u16string_view caption) {
    return "message: " + utf16ToUtf8(text) + " | " + utf16ToUtf8(caption);
}
inline std::string warningLine(std::u16string_view text, std::u16string_view caption) {
    return "warning: " + utf16ToUtf8(text) + " | " + utf16ToUtf8(caption);
}
inline std::string questionLine(std::u16string_view text, std::u16string_view caption) {
    return "question: " + utf16ToUtf8(text) + " | " + utf16ToUtf8(caption);
}

// Plays the user of the dialog's choosers and message boxes from a script:
// the files to choose (nothing = Cancel), the save paths and the answers to
// Yes/No questions. Records every prompt in order; the progress window is
// counted, not logged.
class ScriptedPrompts : public DialogPrompts {
  public:
    std::deque<std::optional<std::filesystem::path>> openFiles;
    std::deque<std::optional<std::filesystem::path>> saveFiles;
    std::deque<bool> answers;
    std::vector<std::string> log;
    int progressShown = 0;
    bool progressOpen = false;
    // Cancel is pressed when the progress window has been updated this many
    // more times (-1: never).
    int updatesBeforeCancel = -1;

    std::optional<std::filesystem::path> chooseOpenFile(
        const std::filesystem::path& again) override {
        log.push_back(shownAgain("open dialog", again));
        return next(openFiles);
    }
    std::optional<std::filesystem::path> chooseSaveFile(
        const std::filesystem::path& again) override {
        log.push_back(shownAgain("save dialog", again));
        return next(saveFiles);
    }
    void showMessage(std::u16string_view text, std::u16string_view caption, Icon icon) override {
        log.push_back(icon == Icon::Exclamation ? warningLine(text, caption)
                                                : messageLine(text, caption));
    }
    bool askYesNo(std::u16string_view text, std::u16string_view caption) override {
        log.push_back(questionLine(text, caption));
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool showProgress(int /*percent*/) override {
        if (!progressOpen) ++progressShown;
        progressOpen = true;
        return updatesBeforeCancel < 0 || --updatesBeforeCancel > 0;
    }
    void endProgress() override { progressOpen = false; }

  private:
    // A chooser shown again names the earlier choice it shows.
    static std::string shownAgain(std::string line, const std::filesystem::path& again) {
        return again.empty() ? line : line + " again with " + again.filename().string();
    }
    static std::optional<std::filesystem::path> next(
        std::deque<std::optional<std::filesystem::path>>& queue) {
        if (queue.empty()) return std::nullopt;
        auto answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

}  // namespace sf::test
