#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "image/ImageFormat.h"
#include "image/ImagePiece.h"
#include "image/ImageSource.h"
#include "platform/Expected.h"

namespace sf {

// A firmware image as the device takes it: the flat run of bytes from the
// lowest address the file gives data for to the highest, with 0xFF in the
// gaps, read from an ELF, Intel HEX or S-record file, or a raw binary taken
// as it is. The bytes are handed out in blocks as they are read; gaps are
// made on the fly and ELF sections read from the file when their turn comes,
// so memory does not grow with the gaps (the data of a text format is held,
// decoded, in memory).
class FirmwareImage {
  public:
    struct Options {
        // The largest span of data a toolchain's file may give. A raw file is
        // taken whatever its size: its user decides what fits.
        uint64_t maxSize;
        // False takes every file as raw bytes, whatever it holds.
        bool detectFormat = true;
    };

    // Opens the file and reads it in the format its contents show: ELF by its
    // identification, Intel HEX or S-records by a first line in record shape,
    // anything else as raw bytes. A file that shows a format but breaks its
    // rules is refused with the reason (and the line, in a text format).
    static Expected<FirmwareImage> open(const std::filesystem::path& path, const Options& options);

    // The same for bytes from any source, named `name` in messages.
    static Expected<FirmwareImage> read(std::unique_ptr<ImageSource> source,
                                        const std::string& name, const Options& options);

    // An image of `pieces`, in address order and not overlapping, whose
    // bytes are read from `source`.
    FirmwareImage(ImageFormat format, std::vector<ImagePiece> pieces,
                  std::unique_ptr<ImageSource> source);

    ImageFormat format() const { return imageFormat; }

    // The flat image's size in bytes.
    uint64_t size() const;

    // The address of its first byte (0 for a raw binary).
    uint64_t startAddress() const { return pieces.empty() ? 0 : pieces.front().address; }

    // What was read, in a line: "Intel HEX, 0x08000000-0x0801A3FF, 107520 bytes"
    // (a raw binary: "raw binary, 65536 bytes").
    std::string summary() const;

    // Hands over the next `size` bytes of the flat image, or fails when the
    // image ends or its file cannot be read.
    Status readExactly(void* buffer, std::size_t size);

    // Starts handing over the flat image from its first byte again.
    void rewind() {
        position = 0;
        nextPiece = 0;
    }

  private:
    ImageFormat imageFormat;
    std::vector<ImagePiece> pieces;
    std::unique_ptr<ImageSource> source;
    uint64_t position = 0;      // in the flat image
    std::size_t nextPiece = 0;  // the first piece that does not end before `position`
};

}  // namespace sf
