#pragma once

#include <filesystem>
#include <memory>

#include "platform/Expected.h"
#include "platform/Utf.h"

namespace sf {

// An exclusive lock that running copies of the tool take before they change a
// shared file. The lock is held on a small lock file beside the shared one
// (".<name>.lock"), not on the file itself, because a change replaces the
// shared file with a new one. The lock is released when the object goes.
class FileLock {
  public:
    // Waits until no other holder has the lock of `file`, then takes it.
    static Expected<FileLock> acquireFor(const std::filesystem::path& file);

    FileLock(FileLock&&) noexcept;
    FileLock& operator=(FileLock&&) noexcept;
    ~FileLock();

    struct Handle;

  private:
    explicit FileLock(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle;
};

// The lock file that guards `file`.
inline std::filesystem::path lockFileFor(const std::filesystem::path& file) {
    std::filesystem::path name(".");
    name += file.filename();
    name += ".lock";
    return file.parent_path() / name;
}

// Why a file must be made beside `file` to change it, for messages.
inline std::string lockFileNeeded(const std::filesystem::path& file) {
    return pathToUtf8(file.filename()) + " is changed under a lock file beside it (" +
           pathToUtf8(lockFileFor(file).filename()) + "), which must be made there";
}

}  // namespace sf
