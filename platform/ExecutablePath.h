#pragma once

#include <filesystem>

namespace sf {

// The full path of the running executable.
std::filesystem::path executablePath();

// The folder that holds the running executable, without a trailing separator.
std::filesystem::path executableDirectory();

}  // namespace sf
