#include <windows.h>

#include <algorithm>
#include <random>
#include <string>

#include "platform/AtomicOutputFile.h"
#include "platform/Utf.h"
#include "platform/WindowsError.h"

namespace sf {

struct AtomicOutputFile::Handle {
    std::filesystem::path target;
    std::filesystem::path temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    bool committed = false;

    ~Handle() {
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        if (!committed && !temporary.empty()) DeleteFileW(temporary.c_str());
    }
};

namespace {

std::filesystem::path temporaryBeside(const std::filesystem::path& target, unsigned suffix) {
    auto name = L"." + target.filename().native() + L"." + std::to_wstring(suffix) + L".partial";
    return target.parent_path() / name;
}

// Windows cannot replace a file that another program holds open without
// sharing its deletion, as readers and virus scanners briefly do: wait for
// them a little (up to a second) before giving up.
bool replaceFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMilliseconds = 50;
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!held || attempt == kAttempts) return false;
        Sleep(kPauseMilliseconds);
    }
}

bool hasAttribute(DWORD attributes, DWORD attribute) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(std::unique_ptr<Handle> h) : handle(std::move(h)) {}
AtomicOutputFile::AtomicOutputFile(AtomicOutputFile&&) noexcept = default;
AtomicOutputFile& AtomicOutputFile::operator=(AtomicOutputFile&&) noexcept = default;
AtomicOutputFile::~AtomicOutputFile() = default;

// Windows has no executable permission bit, so both modes make the same file.
Result<AtomicOutputFile> AtomicOutputFile::create(const std::filesystem::path& target, Mode) {
    auto handle = std::make_unique<Handle>();
    handle->target = target;
    const DWORD existing = GetFileAttributesW(target.c_str());
    if (hasAttribute(existing, FILE_ATTRIBUTE_DIRECTORY)) {
        return Error{pathToUtf8(target) + " is a folder"};
    }
    // A file the user may not write to is not replaced behind its back.
    if (hasAttribute(existing, FILE_ATTRIBUTE_READONLY)) {
        return Error{pathToUtf8(target) + " is read-only"};
    }

    std::random_device entropy;
    for (int attempt = 0; attempt < 16 && handle->file == INVALID_HANDLE_VALUE; ++attempt) {
        handle->temporary = temporaryBeside(target, entropy());
        handle->file = CreateFileW(handle->temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle->file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (handle->file == INVALID_HANDLE_VALUE) {
        const std::string reason = lastWindowsErrorText();
        handle->temporary.clear();
        return Error{"cannot create a file in " + pathToUtf8(target.parent_path()) + ": " + reason};
    }
    return AtomicOutputFile(std::move(handle));
}

Status AtomicOutputFile::write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        // WriteFile takes at most a DWORD's worth of bytes at a time.
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle->file, bytes, chunk, &written, nullptr)) {
            return Error{"cannot write " + pathToUtf8(handle->target) + ": " +
                         lastWindowsErrorText()};
        }
        bytes += written;
        size -= written;
    }
    return success();
}

Status AtomicOutputFile::commit() {
    const bool flushed = FlushFileBuffers(handle->file);
    const DWORD flushError = GetLastError();
    const bool closed = CloseHandle(handle->file);
    handle->file = INVALID_HANDLE_VALUE;
    if (!flushed || !closed) {
        const DWORD code = flushed ? GetLastError() : flushError;
        return Error{"cannot write " + pathToUtf8(handle->target) + ": " + windowsErrorText(code)};
    }
    if (!replaceFile(handle->temporary, handle->target)) {
        return Error{"cannot replace " + pathToUtf8(handle->target) + ": " +
                     lastWindowsErrorText()};
    }
    handle->committed = true;
    return success();
}

const std::filesystem::path& AtomicOutputFile::target() const {
    return handle->target;
}

}  // namespace sf
