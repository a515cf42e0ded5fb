#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/IniDocument.h"

// Any bytes make a document that gives its bytes back unchanged, and a value
// written into it reads back whole, however odd the file around it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto document = sf::IniDocument::fromBytes(bytes);
    if (document.toBytes() != bytes) __builtin_trap();
    // One pass over the text finds each key as a lookup of that key alone does.
    constexpr std::u16string_view keys[] = {u"TitleString", u" notestring ", u"", u"TitleString"};
    const auto found = document.values(u"SETTING", keys);
    for (std::size_t i = 0; i < std::size(keys); ++i) {
        if (found[i] != document.value(u"SETTING", keys[i])) __builtin_trap();
    }

    const std::u16string value = u"  line1\r\nline2=x \"q\" \u4E2D";
    document.set(u"SETTING", u"NoteString", value);
    const auto reread = sf::IniDocument::fromBytes(document.toBytes());
    if (reread.value(u"SETTING", u"NoteString") != value) __builtin_trap();
    return 0;
}
