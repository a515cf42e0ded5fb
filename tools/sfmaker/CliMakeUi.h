#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "package/MakeUi.h"

namespace sf {

// Answers the Make command's questions from the command line: the output is
// the one given, an existing file is replaced only when forced, and messages
// go to stdout (success) or stderr (everything else). A failure is told in
// its detail, which names the file and the reason, not in the dialog's words.
// Quiet, it tells failures only.
class CliMakeUi : public MakeUi {
  public:
    CliMakeUi(std::filesystem::path output, bool force, bool quiet);

    void message(const std::string& text, const std::string& caption) override;
    void applicationMessage(const std::string& text) override;
    void failure(const std::string& text, const std::string& caption,
                 const std::string& detail) override;
    void applicationFailure(const std::string& text, const std::string& detail) override;
    std::optional<std::filesystem::path> askSavePath() override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    void templateOpened(const std::filesystem::path& path) override;
    void imageConverted(const std::string& what, const std::string& summary) override;
    void progress(uint64_t written, uint64_t total) override;
    // Ctrl+C or SIGTERM, once watchForInterrupts() has been called.
    bool cancelRequested() override;

    // True when the output existed and replacing it was not allowed.
    bool refusedOverwrite() const { return refused; }

    // A line on stderr, after any progress shown.
    void tell(const std::string& text);
    // A line on stderr that says what the make takes, not that anything failed.
    void note(const std::string& text);

  private:
    std::filesystem::path output;
    bool force;
    bool quiet;
    bool asked = false;
    bool refused = false;
    bool toPerson;  // stderr is a terminal
    int shownPercent = -1;
};

}  // namespace sf
