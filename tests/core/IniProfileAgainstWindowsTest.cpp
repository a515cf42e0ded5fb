// Our INI layer side by side with the real GetPrivateProfileStringW and
// WritePrivateProfileStringW: every case runs through both, and every value
// returned and every file left behind is compared. Where the two part ways on
// purpose, the table of known differences below names the case, what each
// side gives and why; a difference that is not in the table fails, and so does
// a table row that no longer holds.
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "platform/IniProfile.h"
#include "support/Utf16File.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

constexpr std::u16string_view kDef = u"<DEF>";

// One GetPrivateProfileStringW call. A missing default is a null pointer for
// the real function and an empty default for ours.
struct Get {
    std::u16string_view section;
    std::u16string_view key;
    std::optional<std::u16string_view> defaultValue = kDef;
    DWORD size = 260;
};

// One WritePrivateProfileStringW call.
struct Put {
    std::u16string_view section;
    std::u16string_view key;
    std::u16string_view value;
};

// A file (or none) and the calls made on it: first the writes, each followed
// by a look at the file, then the reads.
struct Case {
    std::string id;
    std::optional<std::string> file;
    std::vector<Put> puts;
    std::vector<Get> gets;
    // Writes go into a folder that does not exist.
    bool missingFolder = false;
    // The files left in the folder are compared too.
    bool listFolder = false;
};

using test::utf16File;

std::u16string repeated(std::u16string_view unit, int times) {
    std::u16string text;
    for (int i = 0; i < times; ++i) text += unit;
    return text;
}

const std::u16string kDigits300 = repeated(u"0123456789", 30);
const std::string kLongFile = "[SETTING]\r\nLong=" + std::string(300, '7') + "\r\n";
const std::u16string kLongValueCut(259, u'7');

// The cases of the measured table of how the profile functions behave (R: reading,
// W: writing), those of how the settings are loaded and saved (S), and our own (X).
// Listing names (a null section or key) and deleting (a null value) are left
// out: our layer offers neither, since the tool never does either.
std::vector<Case> allCases() {
    return {
        {"R01", "[SETTING]\r\nKey=Value\r\n", {}, {{u"setting", u"KEY"}, {u"Setting", u"kEy"}}},
        {"R02",
         "[SETTING]\r\n  Key1  =  Value 1  \r\n\tKey2\t=\tValue2\t\r\nKey 3=x\r\n",
         {},
         {{u"SETTING", u"Key1"},
          {u"SETTING", u"Key2"},
          {u"SETTING", u"  Key1  "},
          {u"SETTING", u"Key 3"},
          {u"SETTING", u"Key3"}}},
        {"R03",
         "[SETTING]\r\nQ1=\"double\"\r\nQ2='single'\r\nQ3=\"mismatch'\r\nQ4=\"leading only\r\n"
         "Q5=trailing only\"\r\nQ6=\"a\" b \"c\"\r\nQ7=\"\"\r\nQ8=\"\r\nQ9=  \" padded \"  \r\n"
         "Q10=x\"y\"\r\nQ11='it''s'\r\n",
         {},
         {{u"SETTING", u"Q1"},
          {u"SETTING", u"Q2"},
          {u"SETTING", u"Q3"},
          {u"SETTING", u"Q4"},
          {u"SETTING", u"Q5"},
          {u"SETTING", u"Q6"},
          {u"SETTING", u"Q7"},
          {u"SETTING", u"Q8"},
          {u"SETTING", u"Q9"},
          {u"SETTING", u"Q10"},
          {u"SETTING", u"Q11"}}},
        {"R04",
         "[SETTING]\r\nQ=\"double\"\r\nP=double\r\n",
         {},
         {{u"SETTING", u"Q", kDef, 9},
          {u"SETTING", u"Q", kDef, 8},
          {u"SETTING", u"Q", kDef, 7},
          {u"SETTING", u"Q", kDef, 4},
          {u"SETTING", u"P", kDef, 7},
          {u"SETTING", u"P", kDef, 4}}},
        {"R05",
         "[SETTING]\r\n;Key=commented\r\n#Key2=hash\r\n; a = b\r\nKey3=Value ;inline\r\n",
         {},
         {{u"SETTING", u"Key"},
          {u"SETTING", u";Key"},
          {u"SETTING", u"Key2"},
          {u"SETTING", u"#Key2"},
          {u"SETTING", u"; a"},
          {u"SETTING", u"Key3"}}},
        {"R06",
         "[SETTING]\r\nNoEquals\r\nKey=V\r\n",
         {},
         {{u"SETTING", u"NoEquals"}, {u"SETTING", u"NoEquals", std::nullopt}}},
        {"R07", "[SETTING]\r\nKey=first\r\nKEY=second\r\n", {}, {{u"SETTING", u"Key"}}},
        {"R08",
         "[SETTING]\r\nA=1\r\n[Other]\r\nX=0\r\n[SETTING]\r\nA=2\r\nB=3\r\n",
         {},
         {{u"SETTING", u"A"}, {u"SETTING", u"B"}}},
        {"R09",
         "[SETTING]\r\nEmpty=\r\nBlank=   \r\n",
         {},
         {{u"SETTING", u"Empty"},
          {u"SETTING", u"Blank"},
          {u"SETTING", u"Missing"},
          {u"SETTING", u"Missing", std::nullopt},
          {u"SETTING", u"Missing", u"dflt   "},
          {u"SETTING", u"Missing", u"  lead"},
          {u"SETTING", u"Missing", u"\"q\""},
          {u"NoSuchSection", u"Key"},
          {u"SETTING", u""}}},
        {"R10", std::nullopt, {}, {{u"SETTING", u"Key"}, {u"SETTING", u"Key", std::nullopt}}},
        {"R11",
         "[SETTING]\r\nLong=" + std::string(kDigits300.begin(), kDigits300.end()) + "\r\n",
         {},
         {{u"SETTING", u"Long"},
          {u"SETTING", u"Long", kDef, 5},
          {u"SETTING", u"Long", kDef, 2},
          {u"SETTING", u"Long", kDef, 1},
          {u"SETTING", u"Long", kDef, 400}}},
        {"R12",
         "[SETTING]\r\nV259=" + std::string(259, '9') + "\r\nV260=" + std::string(260, '6') +
             "\r\n",
         {},
         {{u"SETTING", u"V259"}, {u"SETTING", u"V260"}}},
        {"R13",
         "[SETTING]\r\nKey=a=b=c\r\nKey2 = = x\r\n",
         {},
         {{u"SETTING", u"Key"}, {u"SETTING", u"Key2"}}},
        {"R14", "[ SETTING ]\r\nKey=1\r\n", {}, {{u"SETTING", u"Key"}, {u" SETTING ", u"Key"}}},
        {"R15",
         "  [SETTING]  ;c\r\nKey=1\r\n[Other] x\r\nK2=2\r\n",
         {},
         {{u"SETTING", u"Key"}, {u"Other", u"K2"}}},
        {"R16",
         "Key=orphan\r\n[SETTING]\r\nOther=1\r\n",
         {},
         {{u"", u"Key"}, {u"SETTING", u"Key"}}},
        {"R17", "Key=orphan\r\n[]\r\nKey=empty-section\r\n", {}, {{u"", u"Key"}}},
        {"R18", "[SETTING]\r\nKey=Value", {}, {{u"SETTING", u"Key"}}},
        {"R19", "[SETTING]\nKey=Value\nK2=V2\n", {}, {{u"SETTING", u"Key"}, {u"SETTING", u"K2"}}},
        {"R20", "[SETTING]\rKey=Value\rK2=V2\r", {}, {{u"SETTING", u"Key"}, {u"SETTING", u"K2"}}},
        {"R21", "[SETTING]\r\nA=\xC3\xA9\r\n", {}, {{u"SETTING", u"A"}}},
        {"R22", "\xEF\xBB\xBF[SETTING]\r\nA=\xC3\xA9\r\n", {}, {{u"SETTING", u"A"}}},
        {"R23", utf16File(u"[SETTING]\r\nA=\u00E9\u20AC\u4E2D\r\n"), {}, {{u"SETTING", u"A"}}},
        {"R24", "[SETTING]\r\n\t\r\nKey=V\x1A\r\n", {}, {{u"SETTING", u"Key"}}},
        // Our own cases: a cut that falls inside a surrogate pair, text beyond
        // Windows-1252 written into an ANSI file, names beyond ASCII in another
        // case, and names that would break the file.
        {"X01",
         utf16File(u"[SETTING]\r\nKey=" + std::u16string(258, u'a') + u"\U0001F600\r\n"),
         {},
         {{u"SETTING", u"Key"}}},
        {"X03",
         utf16File(u"[SETTING]\r\n\u00C9t\u00E9=1\r\n"),
         {},
         {{u"SETTING", u"\u00E9t\u00E9"}, {u"setting", u"\u00C9t\u00E9"}}},
        {"X04", std::nullopt, {{u"SETTING", u"a=b", u"v"}}, {{u"SETTING", u"a"}}},
        {"X05", std::nullopt, {{u"", u"Key", u"v"}, {u"SET]TING", u"Key", u"v"}}, {}},
        {"X02",
         "[SETTING]\r\nA=\xE9\r\n",
         {{u"SETTING", u"B", u"\u00E9"}, {u"SETTING", u"C", u"\u4E2D"}},
         {{u"SETTING", u"A"}, {u"SETTING", u"B"}, {u"SETTING", u"C"}}},

        {"W01",
         std::nullopt,
         {{u"SETTING", u"Key", u"Value"}, {u"SETTING", u"Key2", u"V2"}, {u"Other", u"K", u"v"}},
         {{u"SETTING", u"Key2"}, {u"Other", u"K"}},
         false,
         true},
        {"W02",
         "[SETTING]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n",
         {{u"SETTING", u"C", u"3"}},
         {{u"SETTING", u"C"}}},
        {"W03", "[SETTING]\r\nA=1\r\n\r\n\r\n", {{u"SETTING", u"C", u"3"}}, {}},
        {"W04", "[Other]\r\nX=1\r\n", {{u"SETTING", u"A", u"1"}}, {}},
        {"W05", "[Other]\r\nX=1", {{u"SETTING", u"A", u"1"}}, {}},
        {"W06", "[SETTING]\r\nA=1\r\nB=2\r\nC=3\r\n", {{u"SETTING", u"B", u"new"}}, {}},
        {"W07",
         "; header\n[SETTING]\n  A = 1  \nB=2\n; c = d\n#hash\nnoequals\n\n[Other]\nX=\"q\"\n",
         {{u"SETTING", u"B", u"new"}},
         {{u"SETTING", u"A"}, {u"SETTING", u"B"}, {u"Other", u"X"}}},
        {"W08", "[SETTING]\nA = 1\nB=2\n", {{u"SETTING", u"B", u"2"}}, {}},
        {"W09",
         "[SETTING]\r\nKey=1\r\n",
         {{u"setting", u"KEY", u"2"}, {u"setting", u"NewKey", u"3"}},
         {}},
        {"W10", "[SETTING]\r\nKey=Value", {{u"SETTING", u"Key2", u"x"}}, {}},
        {"W11",
         std::nullopt,
         {{u"SETTING", u"Multi", u"line1\r\nline2"}},
         {{u"SETTING", u"Multi"}, {u"SETTING", u"line2"}}},
        {"W12",
         std::nullopt,
         {{u"SETTING", u"Multi", u"line1\nline2=x"}},
         {{u"SETTING", u"Multi"}, {u"SETTING", u"line2"}}},
        {"W13", std::nullopt, {{u"SETTING", u"Key", u""}}, {{u"SETTING", u"Key"}}},
        {"W14", std::nullopt, {{u"SETTING", u"Key", u"  padded  "}}, {{u"SETTING", u"Key"}}},
        {"W15", std::nullopt, {{u"SETTING", u"Key", u"\"quoted\""}}, {{u"SETTING", u"Key"}}},
        {"W17",
         utf16File(u"[SETTING]\r\nA=1\r\n"),
         {{u"SETTING", u"B", u"\u00E9\u20AC\u4E2D"}},
         {{u"SETTING", u"B"}}},
        {"W18",
         "\xEF\xBB\xBF[SETTING]\r\nA=1\r\n",
         {{u"SETTING", u"B", u"\u00E9\u20AC\u4E2D"}},
         {{u"SETTING", u"B"}}},
        {"W19",
         std::nullopt,
         {{u"SETTING", u"Key", u"\u00E9\u20AC\u4E2D\U0001F600"}},
         {{u"SETTING", u"Key"}}},
        {"W20", "[SETTING]\r\nA=\xC3\xA9\r\n", {{u"SETTING", u"B", u"x"}}, {}},
        {"W21",
         std::nullopt,
         {{u" SETTING ", u" Key ", u"v"}, {u"SETTING", u"Key", u"w"}},
         {{u"SETTING", u"Key"}}},
        {"W22", "Key=orphan\r\n[SETTING]\r\nOther=1\r\n", {{u"SETTING", u"New", u"1"}}, {}},
        {"W23", "[ SETTING ]\r\nKey=1\r\n", {{u"SETTING", u"Key", u"2"}}, {}},
        {"W24",
         "[SETTING]\r\nKey=first\r\nKey=second\r\n",
         {{u"SETTING", u"Key", u"new"}},
         {{u"SETTING", u"Key"}}},
        {"W25", "\r\n; top comment\r\n\r\n[SETTING]\r\nA=1\r\n", {{u"SETTING", u"A", u"2"}}, {}},
        {"W26", "[SETTING]\rKey=Value\r", {{u"SETTING", u"K2", u"x"}}, {}},

        // An empty stored title, a missing version and the flag spellings: a
        // load reads each with default "" into 260 characters.
        {"S-load",
         "[SETTING]\r\nTitleString=\r\nIDigestEn= 1 \r\nCMDKEYEn=01\r\n",
         {},
         {{u"SETTING", u"TitleString", u""},
          {u"SETTING", u"VersionString", u""},
          {u"SETTING", u"IDigestEn", u""},
          {u"SETTING", u"CMDKEYEn", u""}}},
        // No settings file: every read gives "".
        {"S-no-file", std::nullopt, {}, {{u"SETTING", u"TitleString", u""}}},
        // A 300-character version comes back as its first 259 and is written back so.
        {"S-long-version",
         kLongFile,
         {{u"SETTING", u"VersionString", kLongValueCut}},
         {{u"SETTING", u"Long", u""}, {u"SETTING", u"VersionString", u""}}},
        // The reset writes IDigestString, which replaces IDIGESTString in place.
        {"S-reset-spelling",
         "[SETTING]\r\nIDIGESTString=BEEF\r\n",
         {{u"SETTING", u"IDigestString", u"CAFE"}},
         {{u"SETTING", u"IDIGESTString", u""}}},
        // The reset's sixteen writes into a new file.
        {"S-reset",
         std::nullopt,
         {{u"SETTING", u"TitleString", u"Tavlen Sparrowflasher V1.0.0"},
          {u"SETTING", u"TextString", u"Sparrowflasher for Tavlen. Version V1.0.0"},
          {u"SETTING", u"NoteString", u"Type note here, maximum 100 characters."},
          {u"SETTING", u"ImagePath1", u""},
          {u"SETTING", u"ImagePath2", u""},
          {u"SETTING", u"VersionString", u"1.0.0"},
          {u"SETTING", u"APVIDString", u"1A2B"},
          {u"SETTING", u"APPIDString", u"3C4D"},
          {u"SETTING", u"APINFString", u"01"},
          {u"SETTING", u"IAPVIDString", u"1A2B"},
          {u"SETTING", u"IAPPIDString", u"3C4E"},
          {u"SETTING", u"IAPINFString", u"02"},
          {u"SETTING", u"IDigestString", u"BEEF"},
          {u"SETTING", u"IDigestEn", u"1"},
          {u"SETTING", u"CMDKEYPath", u"C:\\keys\\cmd.key"},
          {u"SETTING", u"CMDKEYEn", u"0"}},
         {{u"SETTING", u"CMDKEYPath", u""}}},
        // A settings folder that could not be made: the write fails.
        {"S-missing-folder", std::nullopt, {{u"SETTING", u"TitleString", u"x"}}, {}, true},
    };
}

// What the two sides may do differently.
enum class Kind {
    // Wine differs from Windows here; our layer follows Windows.
    WineDiffersFromWindows,
    // Our layer differs on purpose, on Windows as under Wine: it mends a fault
    // of the profile functions or keeps running copies from tearing the file.
    OursDiffersOnPurpose,
    // Our layer agrees with Wine; Windows is believed to differ.
    WindowsBelievedToDiffer,
};

struct Difference {
    std::string observation;
    Kind kind;
    std::string profileFunctions;  // what the real functions give under Wine
    std::string ours;
    std::string why;
};

// Every difference found between our layer and the real functions under Wine.
const std::vector<Difference>& knownDifferences() {
    static const std::vector<Difference> table = {
        {"R04 Get(SETTING,Q,<DEF>,7)", Kind::WineDiffersFromWindows, "doubl", "double",
         "Wine loses a character of a quoted value when the buffer is just large enough"},
        {"R16 Get(,Key,<DEF>,260)", Kind::WineDiffersFromWindows, "orphan", "<DEF>",
         "Wine reads a key above every section as section \"\"; Windows does not"},
        {"R17 Get(,Key,<DEF>,260)", Kind::WineDiffersFromWindows, "orphan", "empty-section",
         "Windows gives the key of the [] section for section \"\""},
        {"R21 Get(SETTING,A,<DEF>,260)", Kind::OursDiffersOnPurpose, "\\u00C3\\u00A9", "\\u00E9",
         "our files are UTF-8, so a file without a byte-order mark that is valid UTF-8 is read "
         "as UTF-8, not in the ANSI code page"},
        {"R22 Get(SETTING,A,<DEF>,260)", Kind::WindowsBelievedToDiffer, "\\u00E9", "\\u00E9",
         "Windows is reported to ignore a UTF-8 byte-order mark, which then hides the first "
         "section; reading it as UTF-8 does no harm"},
        {"W18 Get(SETTING,B,<DEF>,260)", Kind::WindowsBelievedToDiffer, "\\u00E9\\u20AC\\u4E2D",
         "\\u00E9\\u20AC\\u4E2D", "a file with a UTF-8 byte-order mark stays UTF-8"},
        {"X01 Get(SETTING,Key,<DEF>,260)", Kind::OursDiffersOnPurpose,
         std::string(258, 'a') + "\\uD83D", std::string(258, 'a'),
         "a cut never leaves half of a surrogate pair behind"},
        {"X02 file after write 2", Kind::OursDiffersOnPurpose,
         "[SETTING]\\r\\nA=\\xE9\\r\\nB=\\xE9\\r\\nC=?\\r\\n",
         "[SETTING]\\r\\nA=\\xC3\\xA9\\r\\nB=\\xC3\\xA9\\r\\nC=\\xE4\\xB8\\xAD\\r\\n",
         "text the ANSI code page lacks turns the file into UTF-8 instead of being lost to '?'"},
        {"X02 Get(SETTING,C,<DEF>,260)", Kind::OursDiffersOnPurpose, "?", "\\u4E2D",
         "no character is lost"},
        {"X03 Get(SETTING,\\u00E9t\\u00E9,<DEF>,260)", Kind::WindowsBelievedToDiffer, "<DEF>",
         "<DEF>",
         "names beyond ASCII match only in the same case, as under Wine; Windows is believed to "
         "fold their case too. The tool's own names are ASCII"},
        {"X04 write 1", Kind::OursDiffersOnPurpose, "written", "failed",
         "a key name holding '=' is refused: written as it is, it stores a different key"},
        {"X04 file after write 1", Kind::OursDiffersOnPurpose, "[SETTING]\\r\\na=b=v\\r\\n",
         "(none)", "nothing is written for a refused name"},
        {"X04 Get(SETTING,a,<DEF>,260)", Kind::OursDiffersOnPurpose, "b=v", "<DEF>",
         "no key is stored under another name"},
        {"X05 write 1", Kind::OursDiffersOnPurpose, "written", "failed",
         "an empty section name is refused: it would put the key above every section"},
        {"X05 file after write 1", Kind::OursDiffersOnPurpose, "Key=v\\r\\n", "(none)",
         "nothing is written for a refused name"},
        {"X05 write 2", Kind::OursDiffersOnPurpose, "written", "failed",
         "a section name holding ']' is refused: its header would name another section"},
        {"X05 file after write 2", Kind::OursDiffersOnPurpose,
         "Key=v\\r\\n[SET]TING]\\r\\nKey=v\\r\\n", "(none)",
         "nothing is written for a refused name"},
        {"W01 folder", Kind::OursDiffersOnPurpose, "setting.ini", ".setting.ini.lock setting.ini",
         "the lock file that keeps running copies from tearing each other's writes stays "
         "beside the file"},
        {"W02 file after write 1", Kind::WineDiffersFromWindows,
         "[SETTING]\\r\\nA=1\\r\\nC=3\\r\\n[Other]\\r\\nB=2\\r\\n",
         "[SETTING]\\r\\nA=1\\r\\nC=3\\r\\n\\r\\n[Other]\\r\\nB=2\\r\\n",
         "Wine rewrites the whole file and drops blank lines; Windows edits only the changed line"},
        {"W03 file after write 1", Kind::WineDiffersFromWindows,
         "[SETTING]\\r\\nA=1\\r\\nC=3\\r\\n", "[SETTING]\\r\\nA=1\\r\\nC=3\\r\\n\\r\\n\\r\\n",
         "Wine drops blank lines at the end of the file"},
        {"W07 file after write 1", Kind::WineDiffersFromWindows,
         "; header\\r\\n[SETTING]\\r\\nA=1\\r\\nB=new\\r\\n; c=d\\r\\n#hash\\r\\nnoequals\\r\\n"
         "[Other]\\r\\nX=\"q\"\\r\\n",
         "; header\\n[SETTING]\\n  A = 1  \\nB=new\\n; c = "
         "d\\n#hash\\nnoequals\\n\\n[Other]\\nX=\"q\"\\n",
         "Wine rewrites every line: line endings, blanks around names and '=', blank lines"},
        {"W11 file after write 1", Kind::OursDiffersOnPurpose,
         "[SETTING]\\r\\nMulti=line1\\r\\nline2\\r\\n",
         "[SETTING]\\r\\nMulti=line1\\xE2\\x80\\xA9\\xE2\\x80\\xA8line2\\r\\n",
         "a line break in a value is written raw and cuts the value; ours keeps it as "
         "U+2029/U+2028"},
        {"W11 Get(SETTING,Multi,<DEF>,260)", Kind::OursDiffersOnPurpose, "line1",
         "line1\\r\\nline2", "the value reads back whole"},
        {"W12 file after write 1", Kind::OursDiffersOnPurpose,
         "[SETTING]\\r\\nMulti=line1\\nline2=x\\r\\n",
         "[SETTING]\\r\\nMulti=line1\\xE2\\x80\\xA8line2=x\\r\\n",
         "a line feed in a value injects a key of its own"},
        {"W12 Get(SETTING,Multi,<DEF>,260)", Kind::OursDiffersOnPurpose, "line1", "line1\\nline2=x",
         "the value reads back whole"},
        {"W12 Get(SETTING,line2,<DEF>,260)", Kind::OursDiffersOnPurpose, "x", "<DEF>",
         "no key is injected by a value"},
        {"W14 file after write 1", Kind::OursDiffersOnPurpose, "[SETTING]\\r\\nKey=padded  \\r\\n",
         "[SETTING]\\r\\nKey=\"  padded  \"\\r\\n",
         "outer blanks of a value are lost on reading; ours quotes such a value"},
        {"W14 Get(SETTING,Key,<DEF>,260)", Kind::OursDiffersOnPurpose, "padded", "  padded  ",
         "the value reads back as written"},
        {"W15 file after write 1", Kind::OursDiffersOnPurpose,
         "[SETTING]\\r\\nKey=\"quoted\"\\r\\n", "[SETTING]\\r\\nKey=\"\"quoted\"\"\\r\\n",
         "a value in quotes loses them on reading; ours adds a pair that reading removes"},
        {"W15 Get(SETTING,Key,<DEF>,260)", Kind::OursDiffersOnPurpose, "quoted", "\"quoted\"",
         "the value reads back as written"},
        {"W19 file after write 1", Kind::OursDiffersOnPurpose,
         "[SETTING]\\r\\nKey=\\xE9\\x80???\\r\\n",
         "[SETTING]\\r\\nKey=\\xC3\\xA9\\xE2\\x82\\xAC\\xE4\\xB8\\xAD\\xF0\\x9F\\x98\\x80\\r\\n",
         "a new file is ANSI and loses what the code page lacks to '?'; ours is UTF-8"},
        {"W19 Get(SETTING,Key,<DEF>,260)", Kind::OursDiffersOnPurpose, "\\u00E9\\u20AC???",
         "\\u00E9\\u20AC\\u4E2D\\uD83D\\uDE00", "no character is lost"},
        {"W21 file after write 1", Kind::WineDiffersFromWindows, "[SETTING ]\\r\\nKey =v\\r\\n",
         "[SETTING]\\r\\nKey=v\\r\\n",
         "Wine cuts only the leading blanks of names given with outer blanks"},
        {"W23 file after write 1", Kind::WineDiffersFromWindows, "[SETTING]\\r\\nKey=2\\r\\n",
         "[ SETTING ]\\r\\nKey=2\\r\\n", "Wine rewrites the header without its inner blanks"},
        {"W25 file after write 1", Kind::WineDiffersFromWindows,
         "; top comment\\r\\n[SETTING]\\r\\nA=2\\r\\n",
         "\\r\\n; top comment\\r\\n\\r\\n[SETTING]\\r\\nA=2\\r\\n",
         "Wine drops the blank lines before the first section"},
        {"W26 file after write 1", Kind::WineDiffersFromWindows,
         "[SETTING]\\r\\nKey=Value\\r\\nK2=x\\r\\n", "[SETTING]\\rKey=Value\\rK2=x\\r",
         "Wine turns CR-only line endings into CRLF"},
    };
    return table;
}

// Bytes and texts shown with escapes, so that the table above can name them.
std::string escapeBytes(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            shown += "\\r";
        } else if (c == '\n') {
            shown += "\\n";
        } else if (c == '\\') {
            shown += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7F) {
            shown += c;
        } else {
            shown += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return shown;
}

std::string escapeText(std::u16string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    for (const char16_t unit : text) {
        if (unit < 0x80) {
            shown += escapeBytes(std::string(1, static_cast<char>(unit)));
        } else {
            shown += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) shown += kHex[(unit >> shift) & 0xF];
        }
    }
    return shown;
}

const wchar_t* orNull(const std::optional<std::u16string_view>& text, std::u16string& storage) {
    if (!text) return nullptr;
    storage = std::u16string(*text);
    return reinterpret_cast<const wchar_t*>(storage.c_str());
}

const wchar_t* wideOf(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// What one side did: each observation's name and what was seen.
using Observations = std::vector<std::pair<std::string, std::string>>;

// The calls of one case, made through either side.
class Side {
  public:
    virtual ~Side() = default;
    virtual std::u16string get(const fs::path& file, const Get& call) = 0;
    virtual bool put(const fs::path& file, const Put& call) = 0;
};

class ProfileFunctions : public Side {
  public:
    std::u16string get(const fs::path& file, const Get& call) override {
        // Wine keeps parsed files in a cache; a null write empties it, so every
        // read sees the file as it is on disk.
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
        std::u16string section(call.section), key(call.key), defaultStorage;
        std::u16string buffer(call.size, u'\0');
        const DWORD length = GetPrivateProfileStringW(
            wideOf(section), wideOf(key), orNull(call.defaultValue, defaultStorage),
            reinterpret_cast<wchar_t*>(buffer.data()), call.size, file.c_str());
        buffer.resize(length);
        return buffer;
    }
    bool put(const fs::path& file, const Put& call) override {
        const std::u16string section(call.section), key(call.key), value(call.value);
        const bool written = WritePrivateProfileStringW(wideOf(section), wideOf(key), wideOf(value),
                                                        file.c_str()) != FALSE;
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, file.c_str());
        return written;
    }
};

class OurLayer : public Side {
  public:
    std::u16string get(const fs::path& file, const Get& call) override {
        return readProfileString(file, call.section, call.key, call.defaultValue.value_or(u""),
                                 call.size);
    }
    bool put(const fs::path& file, const Put& call) override {
        return writeProfileString(file, call.section, call.key, call.value).has_value();
    }
};

std::string folderListing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    std::string listing;
    for (const auto& name : names) listing += (listing.empty() ? "" : " ") + name;
    return listing;
}

Observations run(Side& side, const Case& test, const fs::path& folder) {
    fs::create_directories(folder);
    const fs::path file = (test.missingFolder ? folder / "missing" : folder) / "setting.ini";
    if (test.file) ScratchFolder::put(file, *test.file);

    Observations seen;
    int number = 0;
    for (const Put& call : test.puts) {
        const std::string step = test.id + " write " + std::to_string(++number);
        seen.emplace_back(step, side.put(file, call) ? "written" : "failed");
        seen.emplace_back(test.id + " file after write " + std::to_string(number),
                          fs::exists(file) ? escapeBytes(ScratchFolder::contents(file)) : "(none)");
    }
    if (test.listFolder) seen.emplace_back(test.id + " folder", folderListing(folder));
    for (const Get& call : test.gets) {
        const std::string defaultShown =
            call.defaultValue ? escapeText(*call.defaultValue) : std::string("NULL");
        seen.emplace_back(test.id + " Get(" + escapeText(call.section) + "," +
                              escapeText(call.key) + "," + defaultShown + "," +
                              std::to_string(call.size) + ")",
                          escapeText(side.get(file, call)));
    }
    return seen;
}

bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

const Difference* findDifference(const std::string& observation) {
    for (const Difference& difference : knownDifferences()) {
        if (difference.observation == observation) return &difference;
    }
    return nullptr;
}

TEST(IniProfileAgainstWindows, EveryCaseGivesWhatTheProfileFunctionsGiveOrAKnownDifference) {
    if (GetACP() != 1252) GTEST_SKIP() << "the cases assume ANSI code page 1252, not " << GetACP();
    const bool wine = runningUnderWine();
    ScratchFolder scratch;
    ProfileFunctions real;
    OurLayer ours;
    std::set<std::string> differencesSeen;

    for (const Case& test : allCases()) {
        const auto theirs = run(real, test, scratch / (test.id + "-real"));
        const auto mine = run(ours, test, scratch / (test.id + "-ours"));
        ASSERT_EQ(theirs.size(), mine.size());
        for (std::size_t i = 0; i < theirs.size(); ++i) {
            const auto& [name, realSaw] = theirs[i];
            const std::string& oursSaw = mine[i].second;
            const Difference* known = findDifference(name);
            if (known == nullptr) {
                EXPECT_EQ(oursSaw, realSaw) << name << ": a difference the table does not name";
                continue;
            }
            differencesSeen.insert(name);
            EXPECT_EQ(oursSaw, known->ours) << name << " (" << known->why << ")";
            if (known->kind == Kind::OursDiffersOnPurpose || wine) {
                EXPECT_EQ(realSaw, known->profileFunctions) << name << " (" << known->why << ")";
            } else if (known->kind == Kind::WineDiffersFromWindows) {
                EXPECT_EQ(realSaw, oursSaw) << name << " (" << known->why << ")";
            } else {
                EXPECT_NE(realSaw, oursSaw) << name << " (" << known->why << ")";
            }
        }
    }
    for (const Difference& difference : knownDifferences()) {
        EXPECT_TRUE(differencesSeen.contains(difference.observation))
            << difference.observation << " names no observation of any case";
    }
}

}  // namespace
}  // namespace sf

#endif  // _WIN32
