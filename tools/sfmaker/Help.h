#pragma once

#include <CLI/CLI.hpp>

namespace sf {

// Gives the program `--version` and a `--help` that shows every command with
// its options: the whole manual, which the manual page is made from. Called
// before the commands are added, which inherit `--help`.
void addHelpAndVersion(CLI::App& program);

// Ends each help with the notes that concern it, once the commands are added:
// the exit status everywhere; where make takes its fields from, what it warns
// of and the environment it reads wherever make is shown.
void addNotes(CLI::App& program, CLI::App& make);

}  // namespace sf
