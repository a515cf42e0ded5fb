#pragma once

#include <cstdint>
#include <optional>

#include "package/PackageKey.h"

namespace sf {

// The seed in [0, 2^31) from which makePackageKey and hidePackageKey draw
// `key` and store `slots` (the hidden key in one, the decoy in the other), so
// that seeding with it makes the same package again; none when no seed does,
// as for a package another generator made. Bit 31 of the generator's state
// never reaches a draw, so a seed and the seed plus 2^31 draw alike. Should
// more than one seed in the range give the same nine draws, the smallest.
std::optional<uint32_t> findKeySeed(const PackageKey& key, const KeySlots& slots);

}  // namespace sf
