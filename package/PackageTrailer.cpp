#include "package/PackageTrailer.h"

#include <algorithm>

#include "package/ImageEntry.h"
#include "package/PackageDescriptor.h"
#include "package/Scrambler.h"

namespace sf {

PackageTrailer makePackageTrailer(const ProjectSettings& settings, std::span<const uint8_t> cmdKey,
                                  uint32_t internalLength, uint32_t externalLength, uint32_t seed) {
    PackageDescriptor descriptor = PackageDescriptor::fill(settings, cmdKey);
    auto internalEntry = ImageEntry{kInternalImageStart, internalLength}.toBytes();
    auto externalEntry = ImageEntry{kExternalImageStart, externalLength}.toBytes();

    CrtRandom random(seed);
    PackageTrailer trailer;
    trailer.key = makePackageKey(random);
    const Scrambler scrambler(trailer.key);
    scrambler.apply(internalEntry, 0);
    scrambler.apply(externalEntry, 0);
    scrambleDescriptor(descriptor.bytes(), scrambler);

    const KeySlots slots = hidePackageKey(trailer.key, random);
    auto& d = descriptor.bytes();
    std::copy(slots.slot0.begin(), slots.slot0.end(), d.begin() + descriptor::keySlot0.offset);
    std::copy(slots.slot1.begin(), slots.slot1.end(), d.begin() + descriptor::keySlot1.offset);

    auto out = trailer.bytes.begin();
    out = std::copy(externalEntry.begin(), externalEntry.end(), out);
    out = std::copy(internalEntry.begin(), internalEntry.end(), out);
    std::copy(d.begin(), d.end(), out);
    return trailer;
}

}  // namespace sf
