#pragma once

#include <string>

namespace sf {

// The system's own text for a Windows error code (GetLastError), as UTF-8,
// without the trailing line break; the number when the system has no text.
std::string windowsErrorText(unsigned long code);

// The text for the calling thread's last error.
std::string lastWindowsErrorText();

}  // namespace sf
