#include "app/qt/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must name the resource file from the global namespace.
static void registerResourcesFile() {
    Q_INIT_RESOURCE(resources);
}

namespace sf {

void registerResources() {
    registerResourcesFile();
}

}  // namespace sf
