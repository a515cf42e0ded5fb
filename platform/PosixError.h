#pragma once

#include <cerrno>
#include <string>
#include <system_error>

namespace sf {

// The system's own text for an errno value ("No such file or directory"),
// by default for the one the last failed call left.
inline std::string posixErrorText(int code = errno) {
    return std::generic_category().message(code);
}

}  // namespace sf
