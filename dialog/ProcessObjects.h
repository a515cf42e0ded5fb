#pragma once

#include <filesystem>
#include <string>

namespace sf {

// Two of the four objects the whole process shares. Each front end defines
// them in one translation unit with its application object and its tooltip
// control, so that the four are made in that order before the program's
// entry point runs, and destroyed in the reverse order after it returns.

// The per-user settings folder, ending in a separator; empty until the dialog opens.
extern std::filesystem::path settingsDirectory;
// The template updater's file name, looked up beside the running executable.
extern const std::u16string templateFileName;

}  // namespace sf
