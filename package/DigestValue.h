#pragma once

#include <cstdint>
#include <string_view>

namespace sf {

// The 16-bit number written as up to four hex digits at the start of the
// digest text. Parsing stops at the first character that is not a hex digit,
// and never looks past the fourth.
uint16_t parseDigestValue(std::u16string_view digest);

}  // namespace sf
