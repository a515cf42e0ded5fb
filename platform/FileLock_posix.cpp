#include "platform/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FolderNotWritable.h"
#include "platform/PosixError.h"

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

Expected<FileLock> FileLock::acquireFor(const std::filesystem::path& file) {
    const auto lockFile = lockFileFor(file);
    auto handle = std::make_unique<Handle>();
    handle->fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    const int code = errno;
    // flock() needs no write access: a lock file that another user made will do.
    if (handle->fd < 0 && code == EACCES) {
        handle->fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (handle->fd < 0) {
        if (code == EACCES || code == EPERM || code == EROFS) {
            return fail(
                "cannot change " + pathToUtf8(file) + ": " +
                folderNotWritable(folderOf(lockFile), posixErrorText(code), lockFileNeeded(file)));
        }
        return fail("cannot open the lock file " + pathToUtf8(lockFile) + ": " +
                    posixErrorText(code));
    }
    // flock() locks belong to the open file, so two holders in one process
    // exclude each other as well as two processes do.
    while (::flock(handle->fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return fail("cannot lock " + pathToUtf8(lockFile) + ": " + posixErrorText());
        }
    }
    return FileLock(std::move(handle));
}

}  // namespace sf
