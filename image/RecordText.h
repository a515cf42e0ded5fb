#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace sf {

// The two text formats of address records: Intel HEX (":10000000...") and
// Motorola S-records ("S1130000...").
enum class RecordSyntax { IntelHex, SRecord };

// The syntax whose shape the line has (':', or 'S' and a digit, then nothing
// but enough hex digits for the shortest record), or nothing.
std::optional<RecordSyntax> recordShapeOf(std::string_view line);

// Decodes pairs of hex digits into `bytes`: the number of bytes, or nothing
// when `digits` has an odd length, a character that is not a hex digit, or
// more pairs than `bytes` holds.
std::optional<std::size_t> decodeHexPairs(std::string_view digits, std::span<uint8_t> bytes);

// A byte as records write it: two upper-case hex digits ("0A").
std::string hexByte(uint8_t byte);

// Why a record whose checksum byte is `found` is refused, when its other
// bytes need `needed`.
std::string checksumProblem(uint8_t found, uint8_t needed);

// What one record line says.
struct Record {
    enum class Kind {
        Data,  // `data` belongs at `address`
        End,   // the last record of the file
        Other  // a header, an address base, a start address or a count
    };
    Kind kind = Kind::Other;
    uint64_t address = 0;
    std::span<const uint8_t> data;
};

}  // namespace sf
