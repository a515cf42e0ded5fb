#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>

#include "platform/Result.h"

namespace sf {

// An output that appears at its target all at once or not at all. The bytes
// go to a temporary file in the target's folder, which replaces the target
// only on commit(); until then an existing target stays as it was, and a file
// that is dropped without a commit leaves nothing behind.
class AtomicOutputFile {
  public:
    enum class Mode { Regular, Executable };

    static Result<AtomicOutputFile> create(const std::filesystem::path& target,
                                           Mode mode = Mode::Regular);

    AtomicOutputFile(AtomicOutputFile&&) noexcept;
    AtomicOutputFile& operator=(AtomicOutputFile&&) noexcept;
    ~AtomicOutputFile();

    Status write(const void* data, std::size_t size);

    // Flushes the bytes to disk and puts the file in the target's place.
    Status commit();

    const std::filesystem::path& target() const;

    struct Handle;

  private:
    explicit AtomicOutputFile(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> handle;
};

// Puts `bytes` at `target` all at once, as one AtomicOutputFile.
Status writeWholeFile(const std::filesystem::path& target, std::string_view bytes,
                      AtomicOutputFile::Mode mode = AtomicOutputFile::Mode::Regular);

}  // namespace sf
