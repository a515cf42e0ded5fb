#include "app/qt/ProcessObjects.h"

#include "package/PackageBuilder.h"

namespace sf {

// One translation unit, so the order of construction is the order below.
CSparrowflasherMakerApp theApp;
ToolTipControl toolTipControl;
std::filesystem::path settingsDirectory;
const std::u16string templateFileName{kTemplateFileName};

}  // namespace sf
