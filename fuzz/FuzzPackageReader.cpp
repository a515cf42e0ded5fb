// The package reader on any bytes: the last 688 are taken as a trailer, and
// the file size is either the input's own or one taken from its first bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "package/PackageReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < sf::kTrailerSize) return 0;
    const std::span<const uint8_t, sf::kTrailerSize> trailer(data + size - sf::kTrailerSize,
                                                             sf::kTrailerSize);
    (void)sf::parsePackageTrailer(trailer, size);
    uint64_t claimedSize = 0;
    std::memcpy(&claimedSize, data, sizeof claimedSize);
    auto contents = sf::parsePackageTrailer(trailer, claimedSize);
    if (contents.has_value() && contents->templateSize + contents->internal.length +
                                        contents->external.length + sf::kTrailerSize !=
                                    claimedSize) {
        __builtin_trap();  // the parts must add up to the file
    }
    return 0;
}
