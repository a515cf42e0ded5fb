#include "platform/FileLock.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "ScratchFolder.h"
#include "platform/IniProfile.h"

namespace sf {
namespace {

// Two holders in one process exclude each other as two processes do, so
// threads show what two running copies of the tool would do, on every system.
TEST(FileLock, WritersOnSeveralThreadsLoseNothing) {
    ScratchFolder scratch;
    const auto ini = scratch / "setting.ini";
    constexpr int kWrites = 100;
    const std::u16string writers[] = {u"A", u"B", u"C"};
    std::vector<std::thread> threads;
    std::vector<int> failures(std::size(writers), 0);
    for (std::size_t w = 0; w < std::size(writers); ++w) {
        threads.emplace_back([&, w] {
            for (int i = 0; i < kWrites; ++i) {
                const std::string number = std::to_string(i);
                const std::u16string key =
                    writers[w] + std::u16string(number.begin(), number.end());
                if (!writeProfileString(ini, u"SETTING", key, key)) ++failures[w];
            }
        });
    }
    for (auto& thread : threads) thread.join();

    EXPECT_EQ(failures, std::vector<int>(std::size(writers), 0));
    const auto snapshot = IniFile::read(ini);
    for (const auto& writer : writers) {
        for (int i = 0; i < kWrites; ++i) {
            const std::string number = std::to_string(i);
            const std::u16string key = writer + std::u16string(number.begin(), number.end());
            EXPECT_EQ(snapshot.get(u"SETTING", key, u"<missing>", kProfileBufferSize), key);
        }
    }
}

TEST(FileLock, LockFileStandsBesideTheFileItGuards) {
    ScratchFolder scratch;
    {
        auto lock = FileLock::acquireFor(scratch / "setting.ini");
        ASSERT_TRUE(lock.has_value()) << lock.error().message;
        EXPECT_TRUE(std::filesystem::exists(scratch / ".setting.ini.lock"));
        // The lock is free again once its holder is gone.
    }
    EXPECT_TRUE(FileLock::acquireFor(scratch / "setting.ini").has_value());
    EXPECT_FALSE(FileLock::acquireFor(scratch / "missing" / "setting.ini").has_value());
}

}  // namespace
}  // namespace sf
