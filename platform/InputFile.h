#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

#include "platform/Expected.h"

namespace sf {

// A regular file opened for reading, with its size taken when it was opened.
class InputFile {
  public:
    // Opens `path` for reading. Anything but a regular file (a folder, a named
    // pipe, a device) is refused at once, without waiting on it. The error is
    // the reason alone, in the system's words ("No such file or directory") or
    // ours ("it is a named pipe, not a regular file"), for the caller to put
    // after what it was opening.
    static Expected<InputFile> open(const std::filesystem::path& path);

    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    ~InputFile();

    uint64_t size() const { return fileSize; }
    const std::filesystem::path& path() const { return filePath; }

    // Reads exactly `size` bytes, or fails when the file ends or errs first.
    Status readExactly(void* buffer, std::size_t size);

    // Moves the read position to `offset` bytes from the start.
    Status seek(uint64_t offset);

  private:
    // The system's handle of the open file: a descriptor, or a Windows HANDLE.
    using NativeHandle = std::intptr_t;
    static constexpr NativeHandle kClosed = -1;

    InputFile(std::filesystem::path path, NativeHandle handle, uint64_t size)
        : filePath(std::move(path)), handle(handle), fileSize(size) {}
    void close();

    // The failures of a read, in words that name the file.
    Unexpected readFailed(const std::string& reason) const;
    Unexpected endedEarly() const;

    std::filesystem::path filePath;
    NativeHandle handle = kClosed;
    uint64_t fileSize = 0;
};

// What InputFile::open says of a path that is there but is no regular file.
inline constexpr const char* kFolderNotFile = "it is a folder, not a regular file";
inline constexpr const char* kPipeNotFile = "it is a named pipe, not a regular file";
inline constexpr const char* kDeviceNotFile = "it is a device, not a regular file";

// Reads a whole file of at most `maxSize` bytes; a larger one is refused
// before it is read. The error is the reason alone, as InputFile::open gives it.
Expected<std::string> readWholeFile(const std::filesystem::path& path,
                                    uint64_t maxSize = std::numeric_limits<uint64_t>::max());

}  // namespace sf
