#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/ImageFormat.h"
#include "image/ImagePiece.h"
#include "image/ImageSource.h"
#include "image/RecordText.h"
#include "platform/Expected.h"

namespace sf {

// The data of a text image, decoded into memory.
struct HeldImage {
    ImageFormat format;
    std::vector<ImagePiece> pieces;  // in address order, not overlapping
    std::vector<uint8_t> bytes;      // the pieces' offsets count into these
};

// Reads an Intel HEX or S-record file. Without a `syntax`, the first non-empty
// line decides, and a file whose first line has neither record shape fails
// with ErrorKind::NotThisFormat: it is no record file. From then on every
// non-empty line must be a sound record of that syntax up to the end record
// (in Intel HEX no line before it may hold only blanks either), and the data
// must fit in `maxSize` bytes without overlapping; each failure names the file
// (`name`), the line and the reason.
Expected<HeldImage> readRecordFile(ImageSource& source, const std::string& name, uint64_t maxSize,
                                   std::optional<RecordSyntax> syntax = std::nullopt);

}  // namespace sf
