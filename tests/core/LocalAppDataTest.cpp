// On Windows the per-user data folder is the system's own answer; the other
// systems' rules are tested with the settings folder.
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/LocalAppData.h"

namespace sf {
namespace {

TEST(LocalAppData, IsTheUsersLocalApplicationDataFolder) {
    const auto folder = localAppDataFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(folder->is_absolute()) << *folder;
    EXPECT_TRUE(std::filesystem::is_directory(*folder)) << *folder;
    EXPECT_EQ(folder->filename(), "Local") << *folder;  // ...\AppData\Local, not Roaming
    EXPECT_FALSE(folder->native().ends_with(L"\\")) << *folder;
}

}  // namespace
}  // namespace sf

#endif  // _WIN32
