#include "platform/InputFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "platform/Utf.h"
#include "support/TempDir.h"

namespace sf {
namespace {

// Only a regular file is opened; anything else is refused at once with the
// reason, so a named pipe never makes the reader wait for a writer.
TEST(InputFile, OpensOnlyRegularFilesAndSaysWhyNot) {
    test::TempDir dir;
    test::writeBytes(dir / "file.bin", test::patternBytes(10, 1));
    std::filesystem::create_directory(dir / "folder");
    const struct {
        std::filesystem::path path;
        std::string reason;  // empty: the file opens; "?": the system's reason
    } cases[] = {
        {dir / "file.bin", ""},
        {dir / "missing.bin", "?"},
        {dir / "folder", kFolderNotFile},
#ifdef _WIN32
        {"NUL", kDeviceNotFile},
#else
        {"/dev/zero", kDeviceNotFile},    {dir / "pipe", kPipeNotFile},
#endif
    };
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
#endif
    for (const auto& c : cases) {
        const auto file = InputFile::open(c.path);
        ASSERT_EQ(file.ok(), c.reason.empty()) << pathToUtf8(c.path);
        if (file) continue;
        EXPECT_FALSE(file.error().empty());
        if (c.reason != "?") {
            EXPECT_EQ(file.error(), c.reason);
        }
    }
}

TEST(InputFile, ReadsWhatIsThereAndSaysWhenTheFileEndsEarly) {
    test::TempDir dir;
    test::writeBytes(dir / "file.bin", test::patternBytes(10, 1));
    auto file = InputFile::open(dir / "file.bin");
    ASSERT_TRUE(file.ok()) << file.error();
    EXPECT_EQ(file->size(), 10u);
    const auto written = test::patternBytes(10, 1);
    std::vector<uint8_t> bytes(4);
    ASSERT_TRUE(file->seek(6).ok());
    ASSERT_TRUE(file->readExactly(bytes.data(), 4).ok());
    EXPECT_EQ(bytes, std::vector<uint8_t>(written.begin() + 6, written.end()));
    ASSERT_TRUE(file->seek(8).ok());
    const auto shortRead = file->readExactly(bytes.data(), 4);
    ASSERT_FALSE(shortRead.ok());
    EXPECT_NE(shortRead.error().find("file.bin' ended early"), std::string::npos);

    const auto limited = readWholeFile(dir / "file.bin", 9);
    ASSERT_FALSE(limited.ok());
    EXPECT_NE(limited.error().find("10 bytes long"), std::string::npos) << limited.error();
}

}  // namespace
}  // namespace sf
