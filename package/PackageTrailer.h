#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "package/PackageKey.h"
#include "package/PackageLayout.h"
#include "settings/ProjectSettings.h"

namespace sf {

// The scrambled 688 bytes that end a package (the two image entries and the
// descriptor), with the key that scrambles the images before them.
struct PackageTrailer {
    PackageKey key{};
    std::array<uint8_t, kTrailerSize> bytes{};
};

// Fills the descriptor and the entries, makes the key from a generator seeded
// with `seed`, scrambles entries and descriptor and hides the key. One seed
// always gives the same trailer.
PackageTrailer makePackageTrailer(const ProjectSettings& settings, std::span<const uint8_t> cmdKey,
                                  uint32_t internalLength, uint32_t externalLength, uint32_t seed);

}  // namespace sf
