#include <windows.h>

#include "platform/FileLock.h"
#include "platform/FolderNotWritable.h"
#include "platform/Utf.h"
#include "platform/WindowsError.h"

namespace sf {

struct FileLock::Handle {
    HANDLE file = INVALID_HANDLE_VALUE;

    ~Handle() {
        // Closing the handle releases the lock.
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
};

FileLock::FileLock(std::unique_ptr<Handle> h) : handle(std::move(h)) {}
FileLock::FileLock(FileLock&&) noexcept = default;
FileLock& FileLock::operator=(FileLock&&) noexcept = default;
FileLock::~FileLock() = default;

Expected<FileLock> FileLock::acquireFor(const std::filesystem::path& file) {
    const auto lockFile = lockFileFor(file);
    auto handle = std::make_unique<Handle>();
    handle->file = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle->file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) {
            return fail("cannot change " + pathToUtf8(file) + ": " +
                        folderNotWritable(folderOf(lockFile), windowsErrorText(error),
                                          lockFileNeeded(file)));
        }
        return fail("cannot open the lock file " + pathToUtf8(lockFile) + ": " +
                    windowsErrorText(error));
    }
    // A lock taken through one handle holds off every other handle, in this
    // process as in others; without LOCKFILE_FAIL_IMMEDIATELY the call waits.
    OVERLAPPED whole{};
    if (!LockFileEx(handle->file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
        return fail("cannot lock " + pathToUtf8(lockFile) + ": " + lastWindowsErrorText());
    }
    return FileLock(std::move(handle));
}

}  // namespace sf
