#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "image/RecordText.h"
#include "platform/Expected.h"

namespace sf {

// Reads Intel HEX records one line at a time: data (type 00), end of file
// (01), extended segment and linear addresses (02, 04), which set the bases
// added to the addresses of the data records after them, and start addresses
// (03, 05), which a flat image has no use for; those four have the address
// field 0000. The two bases are kept apart: a file that sets both has their
// sum added, as objcopy does.
class IntelHexDecoder {
  public:
    // What the line says, or why it is not a sound record. A data record's
    // bytes stay valid until the next call.
    Expected<Record> decode(std::string_view line);

  private:
    uint64_t segmentBase = 0;
    uint64_t linearBase = 0;
    std::array<uint8_t, 5 + 255> bytes{};
};

}  // namespace sf
