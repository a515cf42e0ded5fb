#include "package/ImageEntry.h"

#include "package/ByteOrder.h"

namespace sf {

std::array<uint8_t, kImageEntrySize> ImageEntry::toBytes() const {
    std::array<uint8_t, kImageEntrySize> bytes{};
    storeLittleEndian(&bytes[0], start, 4);
    storeLittleEndian(&bytes[4], length, 4);
    return bytes;
}

ImageEntry ImageEntry::fromBytes(const std::array<uint8_t, kImageEntrySize>& bytes) {
    return {static_cast<uint32_t>(loadLittleEndian(&bytes[0], 4)),
            static_cast<uint32_t>(loadLittleEndian(&bytes[4], 4))};
}

}  // namespace sf
