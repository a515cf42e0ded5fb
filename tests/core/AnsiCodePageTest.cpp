#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/AnsiCodePage.h"

namespace sf {
namespace {

// Windows converts with the thread's ANSI code page; these cases are those of
// Windows-1252, the code page of the systems the tool is used on (and Wine's
// under the C or C.UTF-8 locale).
class AnsiCodePage : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef _WIN32
        if (GetACP() != 1252) GTEST_SKIP() << "ANSI code page is " << GetACP();
#endif
    }
};

TEST_F(AnsiCodePage, MapsWindows1252AndMarksTheRestWithQuestionMarks) {
    EXPECT_EQ(toAnsi(u"1A2b"), "1A2b");
    EXPECT_EQ(toAnsi(u"\u00E9\u00FF\u20AC\u2122\u0178"), "\xE9\xFF\x80\x99\x9F");
    EXPECT_EQ(toAnsi(u"\u4E2D\u0394"), "??");
    EXPECT_EQ(toAnsi(u""), "");
}

// Two cases where the real conversion and the stand-in part ways; neither can
// occur in the hex identifiers the package stores as ANSI text.
TEST_F(AnsiCodePage, WhereWindowsDiffersFromTheStandIn) {
#ifdef _WIN32
    // WideCharToMultiByte without flags falls back to a similar letter where
    // the code page has one (best fit), and replaces each half of a surrogate
    // pair on its own.
    EXPECT_EQ(toAnsi(u"\u0100\u0107"), "Ac");
    EXPECT_EQ(toAnsi(u"a\U0001F600b"), "a??b");
#else
    EXPECT_EQ(toAnsi(u"\u0100\u0107"), "??");
    EXPECT_EQ(toAnsi(u"a\U0001F600b"), "a?b");
#endif
}

TEST_F(AnsiCodePage, ReadsEveryByte) {
    EXPECT_EQ(fromAnsi("\x80\x9F\xE9\xFF"), u"\u20AC\u0178\u00E9\u00FF");
    EXPECT_EQ(fromAnsi(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    // The five bytes Windows-1252 leaves unassigned read as the control
    // characters of the same value.
    EXPECT_EQ(fromAnsi("\x81\x8D\x8F\x90\x9D"), u"\u0081\u008D\u008F\u0090\u009D");
    for (int byte = 1; byte < 256; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(toAnsi(fromAnsi(one)), one) << "byte " << byte;
    }
}

}  // namespace
}  // namespace sf
