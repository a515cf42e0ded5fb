#include "image/SRecordDecoder.h"

#include <string>

namespace sf {

Expected<Record> SRecordDecoder::decode(std::string_view line) {
    if (line.size() < 2 || line[0] != 'S' || line[1] < '0' || line[1] > '9') {
        return fail("not an S-record: a record starts with 'S' and its type digit");
    }
    const int type = line[1] - '0';
    const auto size = decodeHexPairs(line.substr(2), bytes);
    if (!size || *size < 2) {
        return fail("not an S-record: the type is followed by 2 to 256 pairs of hex digits");
    }
    const std::size_t count = bytes[0];
    if (*size != 1 + count) {
        return fail("the record's count byte says " + std::to_string(count) +
                    " bytes follow it, but " + std::to_string(*size - 1) + " do");
    }
    static constexpr std::array<std::size_t, 10> kAddressSize = {2, 2, 3, 4, 0, 2, 3, 4, 3, 2};
    const std::size_t addressSize = kAddressSize[static_cast<std::size_t>(type)];
    if (count < addressSize + 1) {
        return fail("an S" + std::to_string(type) + " record has at least " +
                    std::to_string(addressSize + 1) + " bytes after its count, this one " +
                    std::to_string(count));
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < *size; ++i) sum += bytes[i];
    const auto needed = static_cast<uint8_t>(~sum);
    if (bytes[*size - 1] != needed) return fail(checksumProblem(bytes[*size - 1], needed));

    uint64_t address = 0;
    for (std::size_t i = 1; i <= addressSize; ++i) address = address << 8 | bytes[i];
    const std::span<const uint8_t> data(bytes.data() + 1 + addressSize, count - addressSize - 1);
    switch (type) {
        case 1:
        case 2:
        case 3:
            ++dataRecords;
            return Record{Record::Kind::Data, address, data};
        case 5:
        case 6: {
            // Counts that outgrow the field are written as their low bits.
            const uint64_t expected = dataRecords & ((uint64_t{1} << (8 * addressSize)) - 1);
            if (address != expected) {
                return fail("the count record says " + std::to_string(address) +
                            " data records come before it, but " + std::to_string(dataRecords) +
                            " do");
            }
            return Record{};
        }
        case 7:
        case 8:
        case 9:
            return Record{Record::Kind::End, 0, {}};
        default:
            return Record{};
    }
}

}  // namespace sf
