#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/InputFile.h"
#include "platform/PosixError.h"

namespace sf {
namespace {

// Why a file of this kind is not read.
std::string notRegularReason(mode_t mode) {
    if (S_ISDIR(mode)) return kFolderNotFile;
    if (S_ISFIFO(mode)) return kPipeNotFile;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return kDeviceNotFile;
    if (S_ISSOCK(mode)) return "it is a socket, not a regular file";
    return "it is not a regular file";
}

}  // namespace

Expected<InputFile> InputFile::open(const std::filesystem::path& path) {
    // Look before opening: opening a device can do something of its own, and
    // opening a named pipe waits for a writer.
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        return fail(notRegularReason(info.st_mode));
    }
    // The name may have changed since, so the open cannot wait either, and the
    // open file itself decides.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return fail(posixErrorText());
    std::string refusal;
    if (::fstat(fd, &info) != 0) {
        refusal = posixErrorText();
    } else if (!S_ISREG(info.st_mode)) {
        refusal = notRegularReason(info.st_mode);
    }
    if (!refusal.empty()) {
        ::close(fd);
        return fail(refusal);
    }
    // A regular file never makes a read wait; only the open needed the flag.
    if (const int flags = ::fcntl(fd, F_GETFL); flags >= 0) {
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
#ifdef POSIX_FADV_SEQUENTIAL
    // Inputs are read from start to end: the kernel may read further ahead.
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
#endif
    return InputFile(path, fd, static_cast<uint64_t>(info.st_size));
}

void InputFile::close() {
    if (handle != kClosed) ::close(static_cast<int>(std::exchange(handle, kClosed)));
}

Status InputFile::readExactly(void* buffer, std::size_t size) {
    constexpr std::size_t kLargestRead = std::size_t{1} << 30;
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        const ssize_t got = ::read(static_cast<int>(handle), out, std::min(size, kLargestRead));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return readFailed(posixErrorText());
        if (got == 0) return endedEarly();
        out += got;
        size -= static_cast<std::size_t>(got);
    }
    return success();
}

Status InputFile::seek(uint64_t offset) {
    if (::lseek(static_cast<int>(handle), static_cast<off_t>(offset), SEEK_SET) < 0) {
        return readFailed(posixErrorText());
    }
    return success();
}

}  // namespace sf
