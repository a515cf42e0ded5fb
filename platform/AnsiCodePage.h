#pragma once

#include <string>
#include <string_view>

namespace sf {

// Converts UTF-16 text to the ANSI code page of the calling thread. On Windows
// this is the thread's code page; elsewhere it is Windows-1252, the code page
// of the systems the tool's users work on. Characters the code page cannot
// hold become '?'.
std::string toAnsi(std::u16string_view text);

// The reverse: ANSI bytes to UTF-16.
std::u16string fromAnsi(std::string_view bytes);

}  // namespace sf
