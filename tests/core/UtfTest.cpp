#include "platform/Utf.h"

#include <gtest/gtest.h>

#include <string>

namespace sf {
namespace {

// A name goes through its text form (the dialog's, the settings file's, the
// command line's) and comes back to the file system unchanged; shown in a
// message it is readable text.
TEST(PathText, EveryNameSurvivesTheTripThroughText) {
#ifdef _WIN32
    const std::wstring native = L"\u00E9 \u20AC\U0001F600 \xD800 lone";
    const std::filesystem::path name(native);
    const std::string asArgument = utf16ToUtf8(pathToUtf16(name));
#else
    std::string native = "\xC3\xA9 ";  // valid UTF-8
    for (int byte = 0x80; byte <= 0xFF; ++byte) native.push_back(static_cast<char>(byte));
    native += " \xED\xB2\x80 \xF0\x9F\x98";  // a surrogate's encoding, a cut-off sequence
    const std::filesystem::path name(native);
    const std::string& asArgument = native;
#endif
    EXPECT_EQ(pathFromUtf16(pathToUtf16(name)), name);
    EXPECT_EQ(pathToUtf16(name).substr(0, 2), u"\u00E9 ");
    EXPECT_TRUE(isValidUtf8(pathToUtf8(name)));
#ifndef _WIN32
    EXPECT_EQ(pathFromUtf8(asArgument), name);
#else
    EXPECT_EQ(pathFromUtf8(asArgument).native().substr(0, 3), native.substr(0, 3));
#endif
}

}  // namespace
}  // namespace sf
