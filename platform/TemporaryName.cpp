#include "platform/TemporaryName.h"

#include <cstdint>
#include <random>

#include "platform/HexDigits.h"

namespace sf {

std::string makeTemporaryName() {
    std::random_device entropy;
    const uint64_t number = (uint64_t{entropy()} << 32) | entropy();
    return ".sf-" + hexNumber(number, 16, LetterCase::Lower) + ".tmp";
}

}  // namespace sf
