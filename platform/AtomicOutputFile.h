#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/Expected.h"
#include "platform/InputFile.h"

namespace sf {

// An output that appears at its target all at once or not at all. The bytes
// go to a file of their own in the target's folder that has no name while it
// is written (or, where the file system cannot do that, a short temporary
// name that is removed when the process is interrupted), and that takes the
// target's place only on commit(). Until then an existing target stays as it
// was, and a file that is dropped without a commit, or whose process ends
// before it, leaves nothing behind.
//
// Only a regular file (or a missing name) is ever replaced: a folder, a
// device, a named pipe or a socket at the target is refused. A target that is
// a symbolic link is written through to the link's final target, which is
// replaced there, so the link itself stays.
class AtomicOutputFile {
  public:
    enum class Mode { Regular, Executable };

    // What commit() does when a file stands at the target by then.
    enum class IfExists { Replace, Fail };

    static Expected<AtomicOutputFile> create(const std::filesystem::path& target,
                                             Mode mode = Mode::Regular);

    AtomicOutputFile(AtomicOutputFile&&) noexcept;
    AtomicOutputFile& operator=(AtomicOutputFile&&) noexcept;
    ~AtomicOutputFile();

    Status write(const void* data, std::size_t size);

    // Appends the next `length` bytes of `input`, from its read position on,
    // read and written in blocks.
    Status copyFrom(InputFile& input, uint64_t length);

    // Flushes the bytes written so far to disk, which commit() otherwise does
    // first: a caller may do the long part before it decides to commit.
    Status flush();

    // Flushes the bytes to disk and puts the file in the target's place. With
    // IfExists::Fail the name is taken in one step that fails when a file of
    // that name exists by then (an error of kind AlreadyExists; the file may
    // still be committed with IfExists::Replace).
    Status commit(IfExists ifExists = IfExists::Replace);

    // The target as the caller named it.
    const std::filesystem::path& target() const;

    struct Handle;

  private:
    explicit AtomicOutputFile(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle;
};

// Whether something stands at `target` now (a link counts, even one whose
// target is missing), found without opening it, so a named pipe cannot block
// the caller. An error when what stands there could never be replaced by an
// AtomicOutputFile, saying what it is.
Expected<bool> outputExists(const std::filesystem::path& target);

// Puts `bytes` at `target` all at once, as one AtomicOutputFile.
Status writeWholeFile(const std::filesystem::path& target, std::string_view bytes,
                      AtomicOutputFile::Mode mode = AtomicOutputFile::Mode::Regular);

}  // namespace sf
