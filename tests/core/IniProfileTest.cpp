#include "platform/IniProfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "ScratchFolder.h"

namespace sf {
namespace {

const std::u16string kDigits300 = [] {
    std::u16string digits;
    for (int i = 0; i < 30; ++i) digits += u"0123456789";
    return digits;
}();

class IniProfileTest : public testing::Test {
  protected:
    ScratchFolder scratch;
    const std::filesystem::path ini = scratch / "setting.ini";

    std::u16string read(std::u16string_view key, std::u16string_view defaultValue = u"<DEF>",
                        std::size_t bufferSize = kProfileBufferSize) const {
        return readProfileString(ini, u"SETTING", key, defaultValue, bufferSize);
    }
};

TEST_F(IniProfileTest, MissingFileSectionOrKeyGivesTheCleanedDefault) {
    EXPECT_EQ(read(u"Key"), u"<DEF>");
    scratch.put(ini, "[SETTING]\r\nEmpty=\r\n");
    EXPECT_EQ(read(u"Missing", u"dflt   "), u"dflt");
    EXPECT_EQ(read(u"Missing", u"  lead"), u"  lead");
    EXPECT_EQ(read(u"Missing", u"\"q\""), u"q");
    EXPECT_EQ(read(u"", u"<DEF>"), u"<DEF>");
    EXPECT_EQ(read(u"Empty"), u"");
    EXPECT_EQ(readProfileString(ini, u"NoSuchSection", u"Empty", u"<DEF>"), u"<DEF>");
}

TEST_F(IniProfileTest, ReadIsCutToTheBuffer) {
    ASSERT_TRUE(writeProfileString(ini, u"SETTING", u"Long", kDigits300));
    EXPECT_EQ(read(u"Long"), kDigits300.substr(0, 259));
    EXPECT_EQ(read(u"Long", u"", 5), u"0123");
    EXPECT_EQ(read(u"Long", u"", 2), u"0");
    EXPECT_EQ(read(u"Long", u"", 1), u"");
    EXPECT_EQ(read(u"Long", u"", kWholeValue), kDigits300);
    EXPECT_EQ(read(u"Missing", kDigits300, 5), u"0123");

    // A cut never leaves half a surrogate pair behind.
    ASSERT_TRUE(writeProfileString(ini, u"SETTING", u"Emoji", u"abc\U0001F600"));
    EXPECT_EQ(read(u"Emoji", u"", 5), u"abc");
}

TEST_F(IniProfileTest, WriteCreatesTheFileButNotTheFolder) {
    ASSERT_TRUE(writeProfileString(ini, u"SETTING", u"Key", u"Value"));
    EXPECT_EQ(read(u"Key"), u"Value");

    const auto elsewhere = scratch / "missing" / "setting.ini";
    EXPECT_FALSE(writeProfileString(elsewhere, u"SETTING", u"Key", u"Value"));
    EXPECT_FALSE(std::filesystem::exists(elsewhere));
}

TEST_F(IniProfileTest, NamesThatWouldBreakTheFileAreRefused) {
    EXPECT_FALSE(writeProfileString(ini, u"SETTING", u"", u"v"));
    EXPECT_FALSE(writeProfileString(ini, u"SETTING", u"a=b", u"v"));
    EXPECT_FALSE(writeProfileString(ini, u"SETTING", u"a\nb", u"v"));
    EXPECT_FALSE(writeProfileString(ini, u"SET]TING", u"Key", u"v"));
    EXPECT_FALSE(std::filesystem::exists(ini));
}

TEST_F(IniProfileTest, UnchangedValueLeavesTheFileAlone) {
    scratch.put(ini, "[SETTING]\nA = 1\nB=2\n");
    const auto before = std::filesystem::last_write_time(ini);
    ASSERT_TRUE(writeProfileString(ini, u"SETTING", u"B", u"2"));
    EXPECT_EQ(std::filesystem::last_write_time(ini), before);
    EXPECT_EQ(scratch.contents(ini), "[SETTING]\nA = 1\nB=2\n");
}

TEST_F(IniProfileTest, WriteKeepsTheEncodingAndEveryOtherByte) {
    const std::string before =
        "\xEF\xBB\xBF; made by hand\r\n[SETTING]\r\nA=\xC3\xA9\r\n\r\n[Other]\nX=1";
    scratch.put(ini, before);
    ASSERT_TRUE(writeProfileString(ini, u"SETTING", u"A", u"\u4E2D"));
    EXPECT_EQ(scratch.contents(ini),
              "\xEF\xBB\xBF; made by hand\r\n[SETTING]\r\nA=\xE4\xB8\xAD\r\n\r\n[Other]\nX=1");
}

#ifndef _WIN32
std::u16string keyName(std::u16string_view writer, int number) {
    const std::string digits = std::to_string(number);
    return std::u16string(writer) + std::u16string(digits.begin(), digits.end());
}

// Two running copies write different keys of one file at the same time.
TEST_F(IniProfileTest, ConcurrentWritersLoseNothing) {
    constexpr int kWrites = 1000;
    const char16_t* const writers[] = {u"A", u"B"};
    pid_t children[2];
    for (int w = 0; w < 2; ++w) {
        children[w] = fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            for (int i = 0; i < kWrites; ++i) {
                if (!writeProfileString(ini, u"SETTING", keyName(writers[w], i), u"value"))
                    _exit(1);
            }
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string file = scratch.contents(ini);
    EXPECT_EQ(std::count(file.begin(), file.end(), '['), 1);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1 + 2 * kWrites);
    const auto snapshot = IniFile::read(ini);
    for (const char16_t* writer : writers) {
        for (int i = 0; i < kWrites; ++i) {
            EXPECT_EQ(
                snapshot.get(u"SETTING", keyName(writer, i), u"<missing>", kProfileBufferSize),
                u"value");
        }
    }
}
#endif

}  // namespace
}  // namespace sf
