#pragma once

#include <array>
#include <cstdint>

#include "package/PackageLayout.h"

namespace sf {

// The 16-byte record a package holds for each of its two images.
struct ImageEntry {
    uint32_t start = 0;
    uint32_t length = 0;

    std::array<uint8_t, kImageEntrySize> toBytes() const;
    static ImageEntry fromBytes(const std::array<uint8_t, kImageEntrySize>& bytes);

    bool operator==(const ImageEntry&) const = default;
};

}  // namespace sf
