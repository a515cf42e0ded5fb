#pragma once

#include <filesystem>
#include <string>

#include "app/qt/MakerApp.h"
#include "app/qt/ToolTipControl.h"

namespace sf {

// The objects the whole process shares, built in this order before main runs
// and destroyed in the reverse order after it returns.

// The application object.
extern CSparrowflasherMakerApp theApp;
// The tips of the dialog's controls; the dialog creates it when it opens.
extern ToolTipControl toolTipControl;
// The per-user settings folder, ending in a separator; empty until the dialog opens.
extern std::filesystem::path settingsDirectory;
// The template updater's file name, looked up beside the running executable.
extern const std::u16string templateFileName;

}  // namespace sf
