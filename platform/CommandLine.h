#pragma once

#include <string>
#include <vector>

namespace sf {

// The program's arguments, its own name first, as UTF-8. Windows hands main()
// its arguments in the ANSI code page, which loses every character the code
// page lacks, so there they are taken from the wide command line instead.
std::vector<std::string> commandLineArguments(int argc, char** argv);

}  // namespace sf
