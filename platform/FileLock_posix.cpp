#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sf {

struct FileLock::Handle {
    int fd = -1;

    ~Handle() {
        // Closing the descriptor releases the lock.
        if (fd >= 0) ::close(fd);
    }
};

FileLock::FileLock(std::unique_ptr<Handle> h) : handle(std::move(h)) {}
FileLock::FileLock(FileLock&&) noexcept = default;
FileLock& FileLock::operator=(FileLock&&) noexcept = default;
FileLock::~FileLock() = default;

Result<FileLock> FileLock::acquireFor(const std::filesystem::path& file) {
    const auto lockFile = lockFileFor(file);
    auto handle = std::make_unique<Handle>();
    handle->fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (handle->fd < 0) {
        return Error{"cannot open the lock file " + lockFile.string() + ": " +
                     std::strerror(errno)};
    }
    // flock() locks belong to the open file, so two holders in one process
    // exclude each other as well as two processes do.
    while (::flock(handle->fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return Error{"cannot lock " + lockFile.string() + ": " + std::strerror(errno)};
        }
    }
    return FileLock(std::move(handle));
}

}  // namespace sf
