#include "package/DigestValue.h"

#include <algorithm>
#include <string>

#include "platform/AnsiCodePage.h"
#include "platform/HexDigits.h"

namespace sf {
uint16_t parseDigestValue(std::u16string_view digest) {
    // The digits are read from the ANSI form of the text, as the identifiers are stored.
    const std::string ansi = toAnsi(digest.substr(0, std::min<std::size_t>(digest.size(), 4)));
    unsigned value = 0;
    for (char c : ansi) {
        const int digit = hexDigitValue(c);
        if (digit < 0) break;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<uint16_t>(value);
}

}  // namespace sf
