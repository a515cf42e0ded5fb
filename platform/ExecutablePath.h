#pragma once

#include <filesystem>

namespace sf {

// The full path of the running executable.
std::filesystem::path executablePath();

// The folder that holds the running executable, without a trailing separator.
std::filesystem::path executableDirectory();

// A folder of the installation, given relative to the folder of the running
// executable (see InstallLayout.h).
std::filesystem::path installedFolder(const char* fromPrograms);

}  // namespace sf
