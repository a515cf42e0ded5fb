#pragma once

namespace sf {

// The command line as the program hands it to Qt: its own name and nothing
// else. The tool reads no command line, so Qt's own options (-reverse,
// -style, -stylesheet, -platform, ...) must not take effect either.
class ProgramNameOnly {
  public:
    explicit ProgramNameOnly(char* programName) : values{programName, nullptr} {}

    // QApplication keeps references to both for its whole life.
    int& argc() { return count; }
    char** argv() { return values; }

  private:
    int count = 1;
    char* values[2];
};

}  // namespace sf
