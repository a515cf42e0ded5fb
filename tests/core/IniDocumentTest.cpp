#include "platform/IniDocument.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/Utf16File.h"

namespace sf {
namespace {

using namespace std::string_literals;

using test::utf16File;

struct ReadCase {
    const char* name;
    std::string file;
    std::u16string section;
    std::u16string key;
    std::optional<std::u16string> expected;
};

// Test lists and failures name a case by its name, not by its bytes.
void PrintTo(const ReadCase& c, std::ostream* out) {
    *out << c.name;
}

class IniReadRules : public testing::TestWithParam<ReadCase> {};

TEST_P(IniReadRules, FindsTheValueTheProfileFunctionsFind) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(IniDocument::fromBytes(c.file).value(c.section, c.key), c.expected);
}

const std::string kQuotes =
    "[SETTING]\r\nQ1=\"double\"\r\nQ2='single'\r\nQ3=\"mismatch'\r\nQ4=\"leading only\r\n"
    "Q5=trailing only\"\r\nQ6=\"a\" b \"c\"\r\nQ7=\"\"\r\nQ8=\"\r\nQ9=  \" padded \"  \r\n"
    "Q10=x\"y\"\r\nQ11='it''s'\r\n";
const std::string kComments =
    "[SETTING]\r\n;Key=commented\r\n#Key2=hash\r\n; a = b\r\nKey3=Value ;inline\r\n";
const std::string kBlanks =
    "[SETTING]\r\n  Key1  =  Value 1  \r\n\tKey2\t=\tValue2\t\r\nKey 3=x\r\n";
const std::string kTwoSections =
    "[SETTING]\r\nA=1\r\n[Other]\r\nX=0\r\n[SETTING]\r\nA=2\r\nB=3\r\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, IniReadRules,
    testing::Values(
        ReadCase{"NamesIgnoreCase", "[SETTING]\r\nKey=Value\r\n", u"setting", u"kEy", u"Value"},
        ReadCase{"BlanksAroundNamesAndValue", kBlanks, u"SETTING", u"Key1", u"Value 1"},
        ReadCase{"TabsAroundNamesAndValue", kBlanks, u"SETTING", u"Key2", u"Value2"},
        ReadCase{"BlanksInTheCall", kBlanks, u" SETTING ", u"  Key1  ", u"Value 1"},
        ReadCase{"BlankInsideAName", kBlanks, u"SETTING", u"Key 3", u"x"},
        ReadCase{"BlankInsideANameCounts", kBlanks, u"SETTING", u"Key3", std::nullopt},
        ReadCase{"DoubleQuotes", kQuotes, u"SETTING", u"Q1", u"double"},
        ReadCase{"SingleQuotes", kQuotes, u"SETTING", u"Q2", u"single"},
        ReadCase{"MismatchedQuotes", kQuotes, u"SETTING", u"Q3", u"\"mismatch'"},
        ReadCase{"LeadingQuoteOnly", kQuotes, u"SETTING", u"Q4", u"\"leading only"},
        ReadCase{"TrailingQuoteOnly", kQuotes, u"SETTING", u"Q5", u"trailing only\""},
        ReadCase{"OnlyTheOuterPair", kQuotes, u"SETTING", u"Q6", u"a\" b \"c"},
        ReadCase{"EmptyQuotes", kQuotes, u"SETTING", u"Q7", u""},
        ReadCase{"LoneQuote", kQuotes, u"SETTING", u"Q8", u"\""},
        ReadCase{"QuotesKeepInnerBlanks", kQuotes, u"SETTING", u"Q9", u" padded "},
        ReadCase{"QuoteNotAtTheStart", kQuotes, u"SETTING", u"Q10", u"x\"y\""},
        ReadCase{"NoUnescaping", kQuotes, u"SETTING", u"Q11", u"it''s"},
        ReadCase{"SemicolonLineIsNoKey", kComments, u"SETTING", u"Key", std::nullopt},
        ReadCase{"SemicolonBelongsToTheName", kComments, u"SETTING", u";Key", u"commented"},
        ReadCase{"HashLineIsNoKey", kComments, u"SETTING", u"Key2", std::nullopt},
        ReadCase{"HashBelongsToTheName", kComments, u"SETTING", u"#Key2", u"hash"},
        ReadCase{"InlineSemicolonIsValue", kComments, u"SETTING", u"Key3", u"Value ;inline"},
        ReadCase{"LineWithoutEquals", "[SETTING]\r\nNoEquals\r\nKey=V\r\n", u"SETTING", u"NoEquals",
                 std::nullopt},
        ReadCase{"FirstKeyWins", "[SETTING]\r\nKey=first\r\nKEY=second\r\n", u"SETTING", u"Key",
                 u"first"},
        ReadCase{"FirstSectionWins", kTwoSections, u"SETTING", u"A", u"1"},
        ReadCase{"LaterSectionIsNotSearched", kTwoSections, u"SETTING", u"B", std::nullopt},
        ReadCase{"EmptyValue", "[SETTING]\r\nEmpty=\r\n", u"SETTING", u"Empty", u""},
        ReadCase{"BlankValue", "[SETTING]\r\nBlank=   \r\n", u"SETTING", u"Blank", u""},
        ReadCase{"MissingSection", "[SETTING]\r\nKey=1\r\n", u"Other", u"Key", std::nullopt},
        ReadCase{"EmptyKeyName", "[SETTING]\r\n=1\r\n", u"SETTING", u"", std::nullopt},
        ReadCase{"FirstEqualsSplits", "[SETTING]\r\nKey=a=b=c\r\n", u"SETTING", u"Key", u"a=b=c"},
        ReadCase{"ValueStartingWithEquals", "[SETTING]\r\nKey2 = = x\r\n", u"SETTING", u"Key2",
                 u"= x"},
        ReadCase{"BlanksInsideBrackets", "[ SETTING ]\r\nKey=1\r\n", u"SETTING", u"Key", u"1"},
        ReadCase{"TextAfterTheHeader", "  [SETTING]  ;c\r\nKey=1\r\n[Other] x\r\nK2=2\r\n",
                 u"Other", u"K2", u"2"},
        ReadCase{"KeyBeforeAnySection", "Key=orphan\r\n[SETTING]\r\nOther=1\r\n", u"SETTING",
                 u"Key", std::nullopt},
        ReadCase{"NoFinalLineBreak", "[SETTING]\r\nKey=Value", u"SETTING", u"Key", u"Value"},
        ReadCase{"LineFeedEndings", "[SETTING]\nKey=Value\nK2=V2\n", u"SETTING", u"K2", u"V2"},
        ReadCase{"CarriageReturnEndings", "[SETTING]\rKey=Value\rK2=V2\r", u"SETTING", u"K2",
                 u"V2"},
        ReadCase{"ControlZIsBlank", "[SETTING]\r\n\t\r\nKey=V\x1A\r\n", u"SETTING", u"Key", u"V"},
        ReadCase{"WindowsPathReadsExactly", "[SETTING]\r\nImagePath1=C:\\fw\\n1\\r2\\image.bin\r\n",
                 u"SETTING", u"ImagePath1", u"C:\\fw\\n1\\r2\\image.bin"},
        ReadCase{"AnsiBytes", "[SETTING]\r\nA=\xE9\x80\r\n", u"SETTING", u"A", u"\u00E9\u20AC"},
        ReadCase{"Utf8WithoutMark", "[SETTING]\r\nA=\xC3\xA9\r\n", u"SETTING", u"A", u"\u00E9"},
        ReadCase{"Utf8MarkBeforeTheFirstHeader", "\xEF\xBB\xBF[SETTING]\r\nA=\xC3\xA9\r\n",
                 u"SETTING", u"A", u"\u00E9"},
        ReadCase{"Utf16", utf16File(u"[SETTING]\r\nA=\u00E9\u20AC\u4E2D\r\n"), u"SETTING", u"A",
                 u"\u00E9\u20AC\u4E2D"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

struct WriteCase {
    const char* name;
    std::string before;
    std::u16string key;
    std::u16string value;
    std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* out) {
    *out << c.name;
}

class IniWriteRules : public testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteRules, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    auto document = IniDocument::fromBytes(c.before);
    EXPECT_EQ(document.set(u"SETTING", c.key, c.value), c.before != c.after);
    EXPECT_EQ(document.toBytes(), c.after);
    EXPECT_EQ(IniDocument::fromBytes(document.toBytes()).value(u"SETTING", c.key), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IniWriteRules,
    testing::Values(
        WriteCase{"NewKeyAfterTheLastKey", "[SETTING]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n", u"C", u"3",
                  "[SETTING]\r\nA=1\r\nC=3\r\n\r\n[Other]\r\nB=2\r\n"},
        WriteCase{"TrailingBlankLinesStay", "[SETTING]\r\nA=1\r\n\r\n\r\n", u"C", u"3",
                  "[SETTING]\r\nA=1\r\nC=3\r\n\r\n\r\n"},
        WriteCase{"NewKeyInAnEmptySection", "[SETTING]\r\n[Other]\r\n", u"C", u"3",
                  "[SETTING]\r\nC=3\r\n[Other]\r\n"},
        WriteCase{"NewSectionAtTheEnd", "[Other]\r\nX=1\r\n", u"A", u"1",
                  "[Other]\r\nX=1\r\n[SETTING]\r\nA=1\r\n"},
        WriteCase{"NewSectionAfterAnUnendedLine", "[Other]\r\nX=1", u"A", u"1",
                  "[Other]\r\nX=1\r\n[SETTING]\r\nA=1\r\n"},
        WriteCase{"ReplaceInPlace", "[SETTING]\r\nA=1\r\nB=2\r\nC=3\r\n", u"B", u"new",
                  "[SETTING]\r\nA=1\r\nB=new\r\nC=3\r\n"},
        WriteCase{
            "OtherLinesKeepTheirBytes",
            "; header\n[SETTING]\n  A = 1  \nB=2\n; c = d\n#hash\nnoequals\n\n[Other]\nX=\"q\"\n",
            u"B", u"new",
            "; header\n[SETTING]\n  A = 1  \nB=new\n; c = "
            "d\n#hash\nnoequals\n\n[Other]\nX=\"q\"\n"},
        WriteCase{"ReplaceKeepsTheNameAsWritten", "[SETTING]\n  A = 1  \n", u"a", u"2",
                  "[SETTING]\n  A =2\n"},
        WriteCase{"SameValueWritesNothing", "[SETTING]\nA = 1\nB=2\n", u"B", u"2",
                  "[SETTING]\nA = 1\nB=2\n"},
        WriteCase{"NewKeyAfterAnUnendedLine", "[SETTING]\r\nKey=Value", u"Key2", u"x",
                  "[SETTING]\r\nKey=Value\r\nKey2=x\r\n"},
        WriteCase{"EmptyValue", "[SETTING]\r\nKey=1\r\n", u"Key", u"", "[SETTING]\r\nKey=\r\n"},
        WriteCase{"OuterBlanksAreQuoted", "[SETTING]\r\n", u"Key", u"  padded  ",
                  "[SETTING]\r\nKey=\"  padded  \"\r\n"},
        WriteCase{"QuotedValueKeepsItsQuotes", "[SETTING]\r\n", u"Key", u"\"quoted\"",
                  "[SETTING]\r\nKey=\"\"quoted\"\"\r\n"},
        WriteCase{"LineBreaksStayInTheLine", "[SETTING]\r\n", u"Multi", u"line1\r\nline2=x\nz",
                  "[SETTING]\r\nMulti=line1\xE2\x80\xA9\xE2\x80\xA8line2=x\xE2\x80\xA8z\r\n"},
        WriteCase{"KeyBeforeAnySectionStays", "Key=orphan\r\n[SETTING]\r\nOther=1\r\n", u"New",
                  u"1", "Key=orphan\r\n[SETTING]\r\nOther=1\r\nNew=1\r\n"},
        WriteCase{"HeaderKeepsItsBlanks", "[ SETTING ]\r\nKey=1\r\n", u"Key", u"2",
                  "[ SETTING ]\r\nKey=2\r\n"},
        WriteCase{"OnlyTheFirstDuplicate", "[SETTING]\r\nKey=first\r\nKey=second\r\n", u"Key",
                  u"new", "[SETTING]\r\nKey=new\r\nKey=second\r\n"},
        WriteCase{"LinesBeforeTheFirstSectionStay", "\r\n; top comment\r\n\r\n[SETTING]\r\nA=1\r\n",
                  u"A", u"2", "\r\n; top comment\r\n\r\n[SETTING]\r\nA=2\r\n"},
        WriteCase{"CarriageReturnFile", "[SETTING]\rKey=Value\r", u"K2", u"x",
                  "[SETTING]\rKey=Value\rK2=x\r"},
        WriteCase{"AnsiFileStaysAnsi", "[SETTING]\r\nA=\xE9\r\n", u"B", u"\u00E9\u20AC",
                  "[SETTING]\r\nA=\xE9\r\nB=\xE9\x80\r\n"},
        WriteCase{"AnsiFileBecomesUtf8RatherThanLoseCharacters", "[SETTING]\r\nA=\xE9\r\n", u"B",
                  u"\u4E2D\U0001F600",
                  "[SETTING]\r\nA=\xC3\xA9\r\nB=\xE4\xB8\xAD\xF0\x9F\x98\x80\r\n"},
        WriteCase{"Utf8MarkStays", "\xEF\xBB\xBF[SETTING]\r\nA=1\r\n", u"B", u"\u00E9\u4E2D",
                  "\xEF\xBB\xBF[SETTING]\r\nA=1\r\nB=\xC3\xA9\xE4\xB8\xAD\r\n"},
        WriteCase{"Utf16StaysUtf16", utf16File(u"[SETTING]\r\nA=1\r\n"), u"B",
                  u"\u00E9\u20AC\u4E2D",
                  utf16File(u"[SETTING]\r\nA=1\r\nB=\u00E9\u20AC\u4E2D\r\n")}),
    [](const testing::TestParamInfo<WriteCase>& info) { return info.param.name; });

TEST(IniDocument, NewFileIsUtf8WithThePlatformsLineBreaks) {
    IniDocument document;
    ASSERT_TRUE(document.set(u"SETTING", u"Key", u"Value"));
    ASSERT_TRUE(document.set(u"SETTING", u"Key2", u"\u4E2D"));
    ASSERT_TRUE(document.set(u"Other", u"K", u"v"));
#ifdef _WIN32
    EXPECT_EQ(document.toBytes(),
              "[SETTING]\r\nKey=Value\r\nKey2=\xE4\xB8\xAD\r\n[Other]\r\nK=v\r\n");
#else
    EXPECT_EQ(document.toBytes(), "[SETTING]\nKey=Value\nKey2=\xE4\xB8\xAD\n[Other]\nK=v\n");
#endif
    EXPECT_EQ(document.encoding(), IniEncoding::Utf8);
}

TEST(IniDocument, EveryFileReadsBackToItsOwnBytes) {
    const std::string files[] = {
        "",
        "[SETTING]\r\nA=\xE9\r\n",                         // ANSI
        "[SETTING]\nA=\xC3\xA9\n",                         // UTF-8
        "\xEF\xBB\xBF[SETTING]\r\nA=1",                    // UTF-8 with a mark
        "\xEF\xBB\xBF[SETTING]\r\nA=\xFF\r\n",             // a mark, then no UTF-8
        utf16File(u"[SETTING]\r\nA=\xD800\r\n") + "\x41",  // lone surrogate, odd length
        "\r\r\n\n\x1A\0\x81\x8D\x8F\x90\x9D"s,             // bytes Windows-1252 leaves unassigned
    };
    for (const auto& bytes : files) {
        EXPECT_EQ(IniDocument::fromBytes(bytes).toBytes(), bytes);
    }
}

TEST(IniDocument, EveryValueComesBackWhole) {
    const std::u16string values[] = {
        u"",
        u" ",
        u"  padded  ",
        u"\tTab\t",
        u"\"quoted\"",
        u"'single'",
        u"\"",
        u"\"\"",
        u"a\" b \"c",
        u"line1\nline2",
        u"line1\r\nline2=x",
        u"ends with a break\r\n",
        u"\nstarts with a break",
        u"C:\\Users\\me\\fw\\new\\image.bin",
        u"=;#[x]",
        u"ends with ^Z\x1A",
        u"\u3000ideographic space\u3000",
        u"\u00E9\u20AC\u4E2D\U0001F600",
    };
    const std::string files[] = {"", "[SETTING]\r\nA=\xE9\r\n", "\xEF\xBB\xBF[SETTING]\r\n",
                                 utf16File(u"[SETTING]\r\n")};
    for (const auto& file : files) {
        for (const auto& value : values) {
            auto document = IniDocument::fromBytes(file);
            document.set(u"SETTING", u"Key", value);
            const auto reread = IniDocument::fromBytes(document.toBytes());
            EXPECT_EQ(reread.value(u"SETTING", u"Key"), value);
            EXPECT_EQ(reread.value(u"SETTING", u"line2"), std::nullopt);
        }
    }
}

}  // namespace
}  // namespace sf
