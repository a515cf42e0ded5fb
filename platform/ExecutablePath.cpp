#include "platform/ExecutablePath.h"

namespace sf {

std::filesystem::path installedFolder(const char* fromPrograms) {
    return (executableDirectory() / fromPrograms).lexically_normal();
}

}  // namespace sf
