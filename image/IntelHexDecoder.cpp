#include "image/IntelHexDecoder.h"

#include <string>

namespace sf {
namespace {

constexpr std::size_t kFrameSize = 5;  // length, two address bytes, type, checksum

}  // namespace

Expected<Record> IntelHexDecoder::decode(std::string_view line) {
    if (line.empty() || line[0] != ':') {
        return fail("not an Intel HEX record: a record starts with ':'");
    }
    const auto size = decodeHexPairs(line.substr(1), bytes);
    if (!size || *size < kFrameSize) {
        return fail("not an Intel HEX record: ':' is followed by 5 to 260 pairs of hex digits");
    }
    const std::size_t count = bytes[0];
    if (*size != kFrameSize + count) {
        return fail("the record's length byte says " + std::to_string(count) +
                    " data bytes, but it holds " + std::to_string(*size - kFrameSize));
    }
    uint8_t sum = 0;
    for (std::size_t i = 0; i + 1 < *size; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
    const auto needed = static_cast<uint8_t>(-sum);
    if (bytes[*size - 1] != needed) return fail(checksumProblem(bytes[*size - 1], needed));

    const uint8_t type = bytes[3];
    const std::span<const uint8_t> data(bytes.data() + 4, count);
    static constexpr std::array<std::size_t, 6> kFixedCount = {0, 0, 2, 4, 2, 4};
    if (type >= kFixedCount.size()) {
        return fail("unknown record type " + hexByte(type) + "; Intel HEX has types 00 to 05");
    }
    if (type != 0 && count != kFixedCount[type]) {
        return fail("a type " + hexByte(type) + " record holds " +
                    std::to_string(kFixedCount[type]) + " data bytes, this one " +
                    std::to_string(count));
    }
    // Only data records use the address field; the end record's is left
    // alone, as every reader leaves it, while srec_cat and intelhex refuse
    // anything but 0000 in the other four.
    if (type >= 2 && (bytes[1] | bytes[2]) != 0) {
        return fail("a type " + hexByte(type) + " record's address field must be zero, this " +
                    "one holds " + hexByte(bytes[1]) + hexByte(bytes[2]));
    }
    switch (type) {
        case 0:
            return Record{Record::Kind::Data,
                          linearBase + segmentBase + (unsigned{bytes[1]} << 8 | bytes[2]), data};
        case 1:
            return Record{Record::Kind::End, 0, {}};
        case 2:
            segmentBase = uint64_t{data[0]} << 12 | uint64_t{data[1]} << 4;
            break;
        case 4:
            linearBase = uint64_t{data[0]} << 24 | uint64_t{data[1]} << 16;
            break;
        default:
            break;
    }
    return Record{};
}

}  // namespace sf
