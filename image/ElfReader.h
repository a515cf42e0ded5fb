#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image/ImagePiece.h"
#include "image/ImageSource.h"
#include "platform/Expected.h"

namespace sf {

// Reads an ELF file (32 or 64 bit, either byte order) the way a flat binary
// is made from it: every section that is loaded and has bytes in the file
// (SHF_ALLOC and not SHT_NOBITS) is placed at its load address, taken from
// the loadable segment that holds it.
//
// Gives the sections as pieces of the file in address order, or fails with
// ErrorKind::NotThisFormat when the file does not identify itself as ELF
// (magic, class, byte order and version). An ELF file that is cut short or damaged, holds
// overlapping sections, no loaded data, or data spanning more than `maxSize` bytes is refused with
// the reason; the messages name the file as `name`.
Expected<std::vector<ImagePiece>> readElf(ImageSource& source, const std::string& name,
                                          uint64_t maxSize);

}  // namespace sf
