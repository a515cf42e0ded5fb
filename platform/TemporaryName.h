#pragma once

#include <string>

namespace sf {

// A fresh name for a temporary file, such as ".sf-0123456789abcdef.tmp": short
// whatever the name of the file it stands in for, so any name the file system
// accepts can be written through one.
std::string makeTemporaryName();

}  // namespace sf
