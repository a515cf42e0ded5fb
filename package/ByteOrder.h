#pragma once

#include <cstddef>
#include <cstdint>

namespace sf {

// Little-endian numbers in byte buffers, whatever the machine's own order.
inline void storeLittleEndian(uint8_t* at, uint64_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint64_t loadLittleEndian(const uint8_t* at, std::size_t width) {
    uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) value = (value << 8) | at[i];
    return value;
}

}  // namespace sf
