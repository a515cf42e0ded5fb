#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "platform/AtomicOutputFile.h"
#include "platform/FolderNotWritable.h"
#include "platform/TemporaryName.h"
#include "platform/Utf.h"
#include "platform/WindowsError.h"

namespace sf {

// The new file is marked for deletion as soon as it is made, so the system
// removes it when its handle closes, however the process ends (Ctrl+C, the
// console closed, the process killed). A commit takes the mark back just
// before the file is renamed into place through the same handle.
struct AtomicOutputFile::Handle {
    std::filesystem::path target;
    std::filesystem::path finalTarget;  // full, links followed
    std::filesystem::path temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    bool deletePending = false;
    bool flushed = false;

    ~Handle() {
        if (file == INVALID_HANDLE_VALUE) return;
        CloseHandle(file);
        if (!deletePending) DeleteFileW(temporary.c_str());
    }
};

namespace {

constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";
constexpr std::wstring_view kLongPathPrefix = L"\\\\?\\";

std::wstring fullPath(const std::filesystem::path& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path.native();
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    full.resize(length < size ? length : 0);
    return full.empty() ? path.native() : full;
}

// The full path in the form that is not held to MAX_PATH characters, so a
// long name in a deep folder still works.
std::filesystem::path withoutLengthLimit(std::wstring full) {
    if (full.starts_with(kLongPathPrefix) || full.starts_with(kDevicePrefix)) return full;
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return std::wstring(kLongPathPrefix) + full;
}

bool hasAttribute(DWORD attributes, DWORD attribute) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & attribute) != 0;
}

bool isMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The final target of a link, as the system follows it.
Expected<std::filesystem::path> followLink(const std::filesystem::path& link) {
    HANDLE opened =
        CreateFileW(link.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return fail("cannot follow the link " + pathToUtf8(link) + ": " + lastWindowsErrorText());
    }
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(opened, final.data(), static_cast<DWORD>(final.size()),
                                             FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = GetFinalPathNameByHandleW(opened, final.data(), static_cast<DWORD>(final.size()),
                                           FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    const DWORD error = GetLastError();
    CloseHandle(opened);
    if (length == 0 || length >= final.size()) {
        return fail("cannot follow the link " + pathToUtf8(link) + ": " + windowsErrorText(error));
    }
    final.resize(length);
    return std::filesystem::path(final);
}

// Where an output goes, in full and with links followed, and the attributes
// of the file that stands there now (INVALID_FILE_ATTRIBUTES: none).
struct ResolvedTarget {
    std::filesystem::path path;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
};

Expected<ResolvedTarget> resolveTarget(const std::filesystem::path& target) {
    const std::wstring full = fullPath(target);
    // Reserved names such as NUL or COM1 lead into the device namespace.
    if (full.starts_with(kDevicePrefix)) {
        return fail(pathToUtf8(target) + " is a device; only a regular file is ever replaced");
    }
    ResolvedTarget resolved{withoutLengthLimit(full)};
    resolved.attributes = GetFileAttributesW(resolved.path.c_str());
    if (resolved.attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (isMissing(error)) return resolved;
        return fail("cannot look at " + pathToUtf8(target) + ": " + windowsErrorText(error));
    }
    if (hasAttribute(resolved.attributes, FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A link: the file it leads to is replaced, and the link stays.
        auto final = followLink(resolved.path);
        if (!final) return failureOf(final);
        resolved.path = *final;
        resolved.attributes = GetFileAttributesW(final->c_str());
    }
    if (hasAttribute(resolved.attributes, FILE_ATTRIBUTE_DIRECTORY)) {
        return fail(pathToUtf8(target) + " is a folder; only a regular file is ever replaced");
    }
    return resolved;
}

bool setDeletePending(HANDLE file, bool pending) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = pending;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// Gives the open file the name `to`, replacing a file there only when
// `replace` is set: 0 or the Windows error. Windows cannot replace a file that
// another program holds open without sharing its deletion, as readers and
// virus scanners briefly do: wait for them a little (up to a second) before
// giving up.
DWORD renameOpenFile(HANDLE file, const std::filesystem::path& to, bool replace) {
    const std::wstring& name = to.native();
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = replace;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(buffer.data() + offsetof(FILE_RENAME_INFO, FileName), name.data(), nameBytes);

    constexpr int kAttempts = 20;
    constexpr DWORD kPauseMilliseconds = 50;
    for (int attempt = 1;; ++attempt) {
        if (SetFileInformationByHandle(file, FileRenameInfo, info,
                                       static_cast<DWORD>(buffer.size()))) {
            return ERROR_SUCCESS;
        }
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!replace || !held || attempt == kAttempts) return error;
        Sleep(kPauseMilliseconds);
    }
}

Unexpected cannotCreateIn(const std::filesystem::path& target, const std::filesystem::path& folder,
                          DWORD error, bool replacing) {
    if (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) {
        return fail(
            "cannot write " + pathToUtf8(target) + ": " +
            folderNotWritable(folder, windowsErrorText(error), replacing ? kReplacedBesideIt : ""));
    }
    return fail("cannot create a file in " + pathToUtf8(folder) + ": " + windowsErrorText(error));
}

}  // namespace

AtomicOutputFile::AtomicOutputFile(std::unique_ptr<Handle> h) : handle(std::move(h)) {}
AtomicOutputFile::AtomicOutputFile(AtomicOutputFile&&) noexcept = default;
AtomicOutputFile& AtomicOutputFile::operator=(AtomicOutputFile&&) noexcept = default;
AtomicOutputFile::~AtomicOutputFile() = default;

Expected<bool> outputExists(const std::filesystem::path& target) {
    auto resolved = resolveTarget(target);
    if (!resolved) return failureOf(resolved);
    const auto name = withoutLengthLimit(fullPath(target));
    return GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Windows has no executable permission bit, so both modes make the same file.
Expected<AtomicOutputFile> AtomicOutputFile::create(const std::filesystem::path& target, Mode) {
    auto resolved = resolveTarget(target);
    if (!resolved) return failureOf(resolved);
    const bool replacing = resolved->attributes != INVALID_FILE_ATTRIBUTES;
    // A file the user may not write to is not replaced behind its back.
    if (hasAttribute(resolved->attributes, FILE_ATTRIBUTE_READONLY)) {
        return fail(pathToUtf8(target) + " is read-only");
    }

    auto handle = std::make_unique<Handle>();
    handle->target = target;
    handle->finalTarget = resolved->path;
    const auto folder = resolved->path.parent_path();
    for (int attempt = 0; attempt < 16 && handle->file == INVALID_HANDLE_VALUE; ++attempt) {
        handle->temporary = folder / pathFromUtf8(makeTemporaryName());
        handle->file = CreateFileW(handle->temporary.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle->file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (handle->file == INVALID_HANDLE_VALUE) {
        return cannotCreateIn(target, folderOf(target), GetLastError(), replacing);
    }
    // Where the file system cannot mark it, the file is removed when dropped.
    handle->deletePending = setDeletePending(handle->file, true);
    return AtomicOutputFile(std::move(handle));
}

Status AtomicOutputFile::write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        // WriteFile takes at most a DWORD's worth of bytes at a time.
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle->file, bytes, chunk, &written, nullptr)) {
            return fail("cannot write " + pathToUtf8(handle->target) + ": " +
                        lastWindowsErrorText());
        }
        bytes += written;
        size -= written;
    }
    handle->flushed = false;
    return success();
}

Status AtomicOutputFile::flush() {
    Handle& h = *handle;
    if (h.flushed) return success();
    if (!FlushFileBuffers(h.file)) {
        return fail("cannot write " + pathToUtf8(h.target) + ": " + lastWindowsErrorText());
    }
    h.flushed = true;
    return success();
}

Status AtomicOutputFile::commit(IfExists ifExists) {
    Handle& h = *handle;
    if (auto flushed = flush(); !flushed) return flushed;
    if (h.deletePending && !setDeletePending(h.file, false)) {
        return fail("cannot write " + pathToUtf8(h.target) + ": " + lastWindowsErrorText());
    }
    const DWORD error = renameOpenFile(h.file, h.finalTarget, ifExists == IfExists::Replace);
    if (error != ERROR_SUCCESS) {
        if (h.deletePending) h.deletePending = setDeletePending(h.file, true);
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            return fail(pathToUtf8(h.target) + " already exists", ErrorKind::AlreadyExists);
        }
        return fail("cannot replace " + pathToUtf8(h.target) + ": " + windowsErrorText(error));
    }
    CloseHandle(h.file);
    h.file = INVALID_HANDLE_VALUE;
    return success();
}

const std::filesystem::path& AtomicOutputFile::target() const {
    return handle->target;
}

}  // namespace sf
