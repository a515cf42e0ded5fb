#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "image/RecordText.h"
#include "platform/Expected.h"

namespace sf {

// Reads Motorola S-records one line at a time: the header (S0), data with
// 16-, 24- and 32-bit addresses (S1, S2, S3), the counts of data records
// before them (S5, S6), which are checked, and the terminations with a start
// address (S9, S8, S7). S4 is reserved; its records are checked and passed over.
class SRecordDecoder {
  public:
    // What the line says, or why it is not a sound record. A data record's
    // bytes stay valid until the next call.
    Expected<Record> decode(std::string_view line);

  private:
    uint64_t dataRecords = 0;
    std::array<uint8_t, 1 + 255> bytes{};
};

}  // namespace sf
