#pragma once

namespace sf {

// Lets the console show the UTF-8 text a command-line program writes. A
// Windows console reads a program's bytes in its own code page unless told;
// elsewhere terminals take UTF-8 already and nothing is done.
void writeUtf8ToConsole();

// Whether the standard error stream goes to a terminal, where a person reads
// it, rather than into a file or a pipe.
bool stderrIsTerminal();

}  // namespace sf
