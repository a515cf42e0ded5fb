#include "platform/AtomicOutputFile.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/FolderNotWritable.h"
#include "platform/PosixError.h"
#include "platform/RemovedOnTermination.h"
#include "platform/TemporaryName.h"
#include "platform/Utf.h"

namespace sf {

struct AtomicOutputFile::Handle {
    std::filesystem::path target;
    int folder = -1;       // the folder of the target, links followed
    std::string name;      // the target's name in that folder
    int fd = -1;           // the new file, until it takes the target's place
    bool unnamed = false;  // the new file has no name of its own
    bool synced = false;
    uint64_t size = 0;           // bytes written so far
    uint64_t writebackFrom = 0;  // the bytes before this are on their way to disk
    std::string temporaryName;   // the new file's name in `folder`, while it has one
    std::optional<RemovedOnTermination> removal;

    ~Handle() {
        if (fd >= 0) ::close(fd);
        if (!temporaryName.empty()) ::unlinkat(folder, temporaryName.c_str(), 0);
        removal.reset();
        if (folder >= 0) ::close(folder);
    }
};

namespace {

// A folder is opened only to name files in it, which needs no permission to read it.
#ifdef O_PATH
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

// Chains of links longer than the system follows itself are refused.
constexpr int kMaxLinks = 40;

std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

Unexpected notAFile(const std::filesystem::path& target, const std::filesystem::path& found,
                    mode_t mode) {
    const std::string what =
        found == target ? pathToUtf8(target) + " is "
                        : pathToUtf8(target) + " leads to " + pathToUtf8(found) + ", which is ";
    return fail(what + kindOf(mode) + "; only a regular file is ever replaced");
}

// Where an output goes once symbolic links are followed, and the file that
// stands there now, if any.
struct ResolvedTarget {
    std::filesystem::path path;
    std::optional<struct stat> existing;
};

Expected<ResolvedTarget> resolveTarget(const std::filesystem::path& target) {
    std::filesystem::path path = target;
    for (int links = 0;; ++links) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno == ENOENT) return ResolvedTarget{path, std::nullopt};
            return fail("cannot look at " + pathToUtf8(path) + ": " + posixErrorText());
        }
        if (!S_ISLNK(status.st_mode)) {
            if (!S_ISREG(status.st_mode)) return notAFile(target, path, status.st_mode);
            return ResolvedTarget{path, status};
        }
        if (links == kMaxLinks) {
            return fail("cannot follow the link " + pathToUtf8(target) + ": " +
                        posixErrorText(ELOOP));
        }
        std::error_code ec;
        const auto next = std::filesystem::read_symlink(path, ec);
        if (ec) return fail("cannot follow the link " + pathToUtf8(path) + ": " + ec.message());
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
}

Unexpected cannotCreateIn(const std::filesystem::path& target, const std::filesystem::path& folder,
                          int code, bool replacing) {
    if (code == EACCES || code == EPERM || code == EROFS) {
        return fail(
            "cannot write " + pathToUtf8(target) + ": " +
            folderNotWritable(folder, posixErrorText(code), replacing ? kReplacedBesideIt : ""));
    }
    return fail("cannot create a file in " + pathToUtf8(folder) + ": " + posixErrorText(code));
}

// The unnamed file open as `fd`, as a path that linkat() can follow.
std::string openFilePath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// The new file without a name (O_TMPFILE): it vanishes with the process
// however that ends, and is linked in under its name only when complete. The
// link goes through /proc, so both must be there.
bool openUnnamed(AtomicOutputFile::Handle& h, mode_t permissions) {
#ifdef O_TMPFILE
    h.fd = ::openat(h.folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, permissions);
    if (h.fd < 0) return false;
    if (::access(openFilePath(h.fd).c_str(), F_OK) == 0) {
        h.unnamed = true;
        return true;
    }
    ::close(h.fd);
    h.fd = -1;
#else
    (void)h, (void)permissions;
#endif
    return false;
}

// The new file under a short temporary name of its own, for file systems that
// cannot make unnamed files; an interrupting signal removes it.
int openNamed(AtomicOutputFile::Handle& h, mode_t permissions) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = makeTemporaryName();
        // Watched before it exists, so that a signal at any moment after the
        // file is made removes it. (Removing a name that is not there yet does
        // no harm; the random names make another file's name out of reach.)
        h.removal.emplace(h.folder, name);
        h.fd =
            ::openat(h.folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
        const int error = errno;
        if (h.fd >= 0) {
            h.temporaryName = name;
            return 0;
        }
        h.removal.reset();
        if (error != EEXIST) return error;
    }
    return EEXIST;
}

// Gives the unnamed file a temporary name, so that it can be renamed over the target.
int linkUnderTemporaryName(AtomicOutputFile::Handle& h) {
    const std::string self = openFilePath(h.fd);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = makeTemporaryName();
        h.removal.emplace(h.folder, name);  // before the name exists, as in openNamed
        if (::linkat(AT_FDCWD, self.c_str(), h.folder, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            h.temporaryName = name;
            return 0;
        }
        const int error = errno;
        h.removal.reset();
        if (error != EEXIST) return error;
    }
    return EEXIST;
}

// Renames in one step that fails with EEXIST when the new name is taken.
// Where the file system cannot rename that way, a hard link (made only when the
// name is free) takes the name, and the old name goes.
int renameWithoutReplacing(int folder, const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(folder, from, folder, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
#endif
    if (::linkat(folder, from, folder, to, 0) != 0) return errno;
    ::unlinkat(folder, from, 0);
    return 0;
}

// Puts the new file in the target's place: 0 or the errno value.
int place(AtomicOutputFile::Handle& h, AtomicOutputFile::IfExists ifExists) {
    if (ifExists == AtomicOutputFile::IfExists::Fail) {
        if (h.unnamed) {
            const std::string self = openFilePath(h.fd);
            const int linked =
                ::linkat(AT_FDCWD, self.c_str(), h.folder, h.name.c_str(), AT_SYMLINK_FOLLOW);
            return linked == 0 ? 0 : errno;
        }
        return renameWithoutReplacing(h.folder, h.temporaryName.c_str(), h.name.c_str());
    }
    if (h.unnamed && h.temporaryName.empty()) {
        if (const int error = linkUnderTemporaryName(h); error != 0) return error;
    }
    return ::renameat(h.folder, h.temporaryName.c_str(), h.folder, h.name.c_str()) == 0 ? 0 : errno;
}

// Sets each few MiB that were written on their way to disk at once, rather
// than leaving them all to the flush at the end: the disk works while the
// rest is prepared, the flush has little left to wait for, and a large output
// does not fill the memory with data waiting to be written. The flush still
// decides what is on disk.
void noteWritten(AtomicOutputFile::Handle& h, uint64_t size) {
    h.size += size;
    h.synced = false;
#ifdef SYNC_FILE_RANGE_WRITE
    constexpr uint64_t kWritebackStep = 8 << 20;
    if (h.size - h.writebackFrom < kWritebackStep) return;
    ::sync_file_range(h.fd, static_cast<off_t>(h.writebackFrom),
                      static_cast<off_t>(h.size - h.writebackFrom), SYNC_FILE_RANGE_WRITE);
    h.writebackFrom = h.size;
#endif
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(std::unique_ptr<Handle> h) : handle(std::move(h)) {}
AtomicOutputFile::AtomicOutputFile(AtomicOutputFile&&) noexcept = default;
AtomicOutputFile& AtomicOutputFile::operator=(AtomicOutputFile&&) noexcept = default;
AtomicOutputFile::~AtomicOutputFile() = default;

Expected<bool> outputExists(const std::filesystem::path& target) {
    auto resolved = resolveTarget(target);
    if (!resolved) return failureOf(resolved);
    struct stat status {};
    return ::lstat(target.c_str(), &status) == 0;
}

Expected<AtomicOutputFile> AtomicOutputFile::create(const std::filesystem::path& target,
                                                    Mode mode) {
    auto resolved = resolveTarget(target);
    if (!resolved) return failureOf(resolved);
    const bool replacing = resolved->existing.has_value();
    // A file the user may not write to is not replaced behind its back.
    if (replacing && ::access(resolved->path.c_str(), W_OK) != 0) {
        return fail(pathToUtf8(target) + " is read-only");
    }

    auto handle = std::make_unique<Handle>();
    handle->target = target;
    handle->name = resolved->path.filename().string();
    const auto folder = folderOf(resolved->path);
    handle->folder = ::open(folder.c_str(), kFolderFlags);
    if (handle->folder < 0) return cannotCreateIn(target, folder, errno, replacing);

    // A new file gets the usual permissions (less the umask); a file that is
    // replaced keeps its own.
    const mode_t permissions = mode == Mode::Executable ? 0777 : 0666;
    if (!openUnnamed(*handle, permissions)) {
        if (const int error = openNamed(*handle, permissions); error != 0) {
            return cannotCreateIn(target, folder, error, replacing);
        }
    }
    if (replacing) ::fchmod(handle->fd, resolved->existing->st_mode & 07777);
    return AtomicOutputFile(std::move(handle));
}

Status AtomicOutputFile::write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(handle->fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return fail("cannot write " + pathToUtf8(handle->target) + ": " + posixErrorText());
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
        noteWritten(*handle, static_cast<uint64_t>(written));
    }
    return success();
}

Status AtomicOutputFile::flush() {
    Handle& h = *handle;
    if (h.synced) return success();
    if (::fsync(h.fd) != 0) {
        return fail("cannot write " + pathToUtf8(h.target) + ": " + posixErrorText());
    }
    h.synced = true;
    return success();
}

Status AtomicOutputFile::commit(IfExists ifExists) {
    Handle& h = *handle;
    if (auto flushed = flush(); !flushed) return flushed;
    // A file that appeared at the target while this one was written may only
    // be replaced if it is a regular file, as at the start.
    struct stat status {};
    if (ifExists == IfExists::Replace &&
        ::fstatat(h.folder, h.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(status.st_mode)) {
        return notAFile(h.target, h.target, status.st_mode);
    }
    if (const int error = place(h, ifExists); error != 0) {
        if (error == EEXIST) {
            return fail(pathToUtf8(h.target) + " already exists", ErrorKind::AlreadyExists);
        }
        return fail("cannot replace " + pathToUtf8(h.target) + ": " + posixErrorText(error));
    }
    h.temporaryName.clear();
    h.removal.reset();
    ::close(h.fd);
    h.fd = -1;
    return success();
}

const std::filesystem::path& AtomicOutputFile::target() const {
    return handle->target;
}

}  // namespace sf
