#include "platform/AtomicOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <string>

namespace sf {

struct AtomicOutputFile::Handle {
    std::filesystem::path target;
    std::filesystem::path temporary;
    int fd = -1;
    bool committed = false;

    ~Handle() {
        if (fd >= 0) ::close(fd);
        if (!committed && !temporary.empty()) ::unlink(temporary.c_str());
    }
};

namespace {

std::string systemError() {
    return std::strerror(errno);
}

std::filesystem::path temporaryBeside(const std::filesystem::path& target, unsigned suffix) {
    auto name = "." + target.filename().string() + "." + std::to_string(suffix) + ".partial";
    return target.parent_path() / name;
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(std::unique_ptr<Handle> h) : handle(std::move(h)) {}
AtomicOutputFile::AtomicOutputFile(AtomicOutputFile&&) noexcept = default;
AtomicOutputFile& AtomicOutputFile::operator=(AtomicOutputFile&&) noexcept = default;
AtomicOutputFile::~AtomicOutputFile() = default;

Result<AtomicOutputFile> AtomicOutputFile::create(const std::filesystem::path& target, Mode mode) {
    auto handle = std::make_unique<Handle>();
    handle->target = target;

    // A new file gets the usual permissions (less the umask); a file that is
    // replaced keeps its own.
    mode_t permissions = mode == Mode::Executable ? 0777 : 0666;
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing && S_ISDIR(existing.st_mode)) {
        return Error{target.string() + " is a folder"};
    }
    // A file the user may not write to is not replaced behind its back.
    if (replacing && ::access(target.c_str(), W_OK) != 0) {
        return Error{target.string() + " is read-only"};
    }

    std::random_device entropy;
    for (int attempt = 0; attempt < 16 && handle->fd < 0; ++attempt) {
        handle->temporary = temporaryBeside(target, entropy());
        handle->fd =
            ::open(handle->temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
        if (handle->fd < 0 && errno != EEXIST) break;
    }
    if (handle->fd < 0) {
        const std::string reason = systemError();
        handle->temporary.clear();
        return Error{"cannot create a file in " + target.parent_path().string() + ": " + reason};
    }
    if (replacing) ::fchmod(handle->fd, existing.st_mode & 07777);
    return AtomicOutputFile(std::move(handle));
}

Status AtomicOutputFile::write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(handle->fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return Error{"cannot write " + handle->target.string() + ": " + systemError()};
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return success();
}

Status AtomicOutputFile::commit() {
    if (::fsync(handle->fd) != 0 || ::close(handle->fd) != 0) {
        handle->fd = -1;
        return Error{"cannot write " + handle->target.string() + ": " + systemError()};
    }
    handle->fd = -1;
    if (::rename(handle->temporary.c_str(), handle->target.c_str()) != 0) {
        return Error{"cannot replace " + handle->target.string() + ": " + systemError()};
    }
    handle->committed = true;
    return success();
}

const std::filesystem::path& AtomicOutputFile::target() const {
    return handle->target;
}

}  // namespace sf
