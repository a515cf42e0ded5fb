#include "platform/InputFile.h"

#include <gtest/gtest.h>

#include <string>

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
        SCOPED_TRACE(pathToUtf8(c.path));
        const auto file = InputFile::open(c.path);
        ASSERT_EQ(file.has_value(), c.reason.empty()) << pathToUtf8(c.path);
        if (file) continue;
        EXPECT_FALSE(file.error().message.empty());
        if (c.reason != "?") {
            EXPECT_EQ(file.error().message, c.reason);
        }
    }
}

}  // namespace
}  // namespace sf
