#include <windows.h>

#include <algorithm>

#include "platform/InputFile.h"
#include "platform/WindowsError.h"

namespace sf {
namespace {

HANDLE nativeHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

Expected<InputFile> InputFile::open(const std::filesystem::path& path) {
    // A folder cannot be opened as a file at all; say why rather than "Access is denied".
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return fail(kFolderNotFile);
    }
    // Shared for reading only, as the C runtime's _wfopen_s opens a file for
    // reading: a file another program has open for writing is refused
    // (a sharing violation), and none may write, rename or delete it while
    // it is read here.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fail(lastWindowsErrorText());
    std::string refusal;
    LARGE_INTEGER size{};
    switch (GetFileType(file)) {
        case FILE_TYPE_DISK:
            if (!GetFileSizeEx(file, &size)) refusal = lastWindowsErrorText();
            break;
        case FILE_TYPE_PIPE:
            refusal = kPipeNotFile;
            break;
        case FILE_TYPE_CHAR:
            refusal = kDeviceNotFile;
            break;
        default:
            refusal = "it is not a regular file";
    }
    if (!refusal.empty()) {
        CloseHandle(file);
        return fail(refusal);
    }
    return InputFile(path, reinterpret_cast<std::intptr_t>(file),
                     static_cast<uint64_t>(size.QuadPart));
}

void InputFile::close() {
    if (handle != kClosed) CloseHandle(nativeHandle(std::exchange(handle, kClosed)));
}

Status InputFile::readExactly(void* buffer, std::size_t size) {
    constexpr std::size_t kLargestRead = std::size_t{1} << 30;
    auto* out = static_cast<char*>(buffer);
    while (size > 0) {
        DWORD got = 0;
        const auto wanted = static_cast<DWORD>(std::min(size, kLargestRead));
        if (!ReadFile(nativeHandle(handle), out, wanted, &got, nullptr)) {
            return readFailed(lastWindowsErrorText());
        }
        if (got == 0) return endedEarly();
        out += got;
        size -= got;
    }
    return success();
}

Status InputFile::seek(uint64_t offset) {
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(nativeHandle(handle), position, nullptr, FILE_BEGIN)) {
        return readFailed(lastWindowsErrorText());
    }
    return success();
}

}  // namespace sf
