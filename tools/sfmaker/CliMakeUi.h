#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "package/MakeUi.h"

namespace sf {

// Answers the Make command's questions from the command line: the output is
// the one given, an existing file is replaced only when forced, and the
// outcome goes to stdout (the package written) or stderr (everything else),
// told with the file and the reason. Quiet, it tells failures only.
class CliMakeUi : public MakeUi {
  public:
    CliMakeUi(std::filesystem::path output, bool force, bool quiet);

    std::optional<std::filesystem::path> askSavePath() override;
    bool confirmOverwrite(const std::filesystem::path& output) override;
    void failed(const MakeFailure& failure) override;
    void packageWritten(const std::filesystem::path& output) override;
    void templateOpened(const std::filesystem::path& path) override;
    void imageConverted(ImageKind image, const std::string& summary) override;
    void progress(uint64_t written, uint64_t total) override;
    // Ctrl+C or SIGTERM, once watchForInterrupts() has been called.
    bool cancelRequested() override;

    // A line on stderr, after any progress shown.
    void tell(const std::string& text);

  private:
    // A line on stderr that says what the make takes, not that anything failed.
    void note(const std::string& text);
    // Ends the progress line, if one is shown.
    void endProgressLine();

    std::filesystem::path output;
    bool force;
    bool quiet;
    bool asked = false;
    bool toPerson;  // stderr is a terminal
    int shownPercent = -1;
};

}  // namespace sf
