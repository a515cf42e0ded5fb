#include "image/ImagePiece.h"

#include <cstdio>

namespace sf {

std::string hexAddress(uint64_t address) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%08llX", static_cast<unsigned long long>(address));
    return text;
}

std::string addressRange(uint64_t address, uint64_t end) {
    return hexAddress(address) + "-" + hexAddress(end - 1);
}

std::optional<std::string> spanProblem(uint64_t low, uint64_t end, uint64_t maxSize) {
    if (end - low <= maxSize) return std::nullopt;
    return "the data spans " + addressRange(low, end) + " (" + std::to_string(end - low) +
           " bytes), more than the " + std::to_string(maxSize) + " bytes an image can hold";
}

}  // namespace sf
