#pragma once

#include <CLI/CLI.hpp>

#include <initializer_list>

namespace sf {

// Gives the program `--version` and a `--help` that shows every command with
// its options: the whole manual, which the manual page is made from. Called
// before the commands are added, which inherit `--help`.
void addHelpAndVersion(CLI::App& program);

// Ends each help with the notes that concern it, once the commands are added:
// the exit status everywhere (the comparing commands have their own); where
// make takes its fields from, what it warns of and the environment it reads
// wherever make is shown.
void addNotes(CLI::App& program, CLI::App& make, std::initializer_list<CLI::App*> comparing);

}  // namespace sf
