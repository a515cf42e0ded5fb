#include <gtest/gtest.h>

#include <filesystem>

#include "platform/ExecutablePath.h"

namespace sf {
namespace {

TEST(ExecutablePath, NamesThisTestProgramAndItsFolder) {
    const auto program = executablePath();
    ASSERT_TRUE(program.is_absolute()) << program;
    EXPECT_TRUE(std::filesystem::is_regular_file(program)) << program;
    EXPECT_EQ(program.stem(), "core_tests");

    const auto folder = executableDirectory();
    EXPECT_EQ(folder, program.parent_path());
    EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    EXPECT_FALSE(folder.filename().empty()) << "ends in a separator: " << folder;
}

}  // namespace
}  // namespace sf
