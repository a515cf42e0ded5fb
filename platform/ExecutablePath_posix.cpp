#include "platform/ExecutablePath.h"

#include <system_error>
#include <vector>

#ifdef __APPLE__
#include <mach-o/dyld.h>
#endif

namespace sf {

std::filesystem::path executablePath() {
#ifdef __APPLE__
    uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size + 1, '\0');
    if (_NSGetExecutablePath(buffer.data(), &size) != 0) return {};
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(buffer.data(), ec);
    return ec ? std::filesystem::path(buffer.data()) : canonical;
#else
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : path;
#endif
}

std::filesystem::path executableDirectory() {
    return executablePath().parent_path();
}

}  // namespace sf
