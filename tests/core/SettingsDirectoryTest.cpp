#include "settings/SettingsDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "ScratchFolder.h"
#include "platform/LocalAppData.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

class SettingsDirectoryTest : public testing::Test {
  protected:
    ScratchFolder scratch;
    const fs::path appData = scratch / "AppData";
    const fs::path working = scratch / "work";
    const fs::path expectedFolder = appData / "QX32_SparrowflasherMakerIII";
    const fs::path settingsFile = expectedFolder / "setting.ini";

    void SetUp() override { fs::create_directories(working); }

    fs::path resolve() const { return resolveSettingsDirectory(appData, working); }
};

TEST_F(SettingsDirectoryTest, FirstStartSeedsACopyOfTheWorkingFoldersDefaults) {
    const std::string defaults = "[SETTING]\r\nTitleString=\xE9 seeded\r\n";
    scratch.put(working / "default.ini", defaults);

    const fs::path folder = resolve();
    EXPECT_EQ(folder.native(), (expectedFolder / "").native());
    EXPECT_EQ(scratch.contents(fs::path(folder) += "setting.ini"), defaults);

    // A later start never brings an existing settings file up to date.
    scratch.put(working / "default.ini", "[SETTING]\r\nTitleString=changed\r\n");
    EXPECT_EQ(resolve(), folder);
    EXPECT_EQ(scratch.contents(settingsFile), defaults);
}

TEST_F(SettingsDirectoryTest, WithoutDefaultsTheSettingsFileStaysAbsent) {
    EXPECT_EQ(resolve(), expectedFolder / "");
    EXPECT_TRUE(fs::is_directory(expectedFolder));
    EXPECT_FALSE(fs::exists(settingsFile));
}

// An installation's defaults seed a start from a folder without its own; the
// working folder's come first.
TEST_F(SettingsDirectoryTest, InstalledDefaultsSeedWhenTheWorkingFolderHasNone) {
    const fs::path installed = scratch / "share";
    fs::create_directories(installed);
    scratch.put(installed / "default.ini", "[SETTING]\nTitleString=installed\n");
    for (const bool workingHasDefaults : {true, false}) {
        fs::remove(settingsFile);
        if (workingHasDefaults) {
            scratch.put(working / "default.ini", "[SETTING]\n");
        } else {
            fs::remove(working / "default.ini");
        }
        EXPECT_EQ(resolveSettingsDirectory(appData, working, installed), expectedFolder / "");
        EXPECT_EQ(scratch.contents(settingsFile),
                  workingHasDefaults ? "[SETTING]\n" : "[SETTING]\nTitleString=installed\n");
    }
}

TEST_F(SettingsDirectoryTest, ExistingSettingsFileIsKept) {
    fs::create_directories(expectedFolder);
    scratch.put(settingsFile, "[SETTING]\nVersionString=mine\n");
    scratch.put(working / "default.ini", "[SETTING]\nVersionString=seed\n");
    EXPECT_EQ(resolve(), expectedFolder / "");
    EXPECT_EQ(scratch.contents(settingsFile), "[SETTING]\nVersionString=mine\n");
}

TEST_F(SettingsDirectoryTest, NoPerUserFolderMeansTheWorkingFolder) {
    scratch.put(working / "default.ini", "[SETTING]\n");
    const fs::path folder = resolveSettingsDirectory(std::nullopt, working);
    EXPECT_EQ(folder.native(), fs::path(".").native() + fs::path::preferred_separator);
    EXPECT_FALSE(fs::exists(appData));
}

#ifndef _WIN32
// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const char* value) : name(name) {
        if (const char* old = std::getenv(name)) previous = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (previous) {
            setenv(name, previous->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }

  private:
    const char* name;
    std::optional<std::string> previous;
};

TEST_F(SettingsDirectoryTest, PerUserFolderComesFromTheEnvironment) {
    {
        ScopedEnvironment dataHome("XDG_DATA_HOME", appData.c_str());
        EXPECT_EQ(localAppDataFolder(), appData);
        EXPECT_EQ(userSettingsFile(), expectedFolder / "setting.ini");
        EXPECT_FALSE(fs::exists(appData));  // finding the file makes nothing
        // A data folder that is not there yet is made with the settings folder.
        EXPECT_EQ(resolveSettingsDirectory(), expectedFolder / "");
        EXPECT_TRUE(fs::is_directory(expectedFolder));
    }
    {
        ScopedEnvironment relative("XDG_DATA_HOME", "relative/data");
        ScopedEnvironment home("HOME", "/home/someone");
        EXPECT_EQ(localAppDataFolder(), fs::path("/home/someone/.local/share"));
    }
    {
        ScopedEnvironment dataHome("XDG_DATA_HOME", nullptr);
        ScopedEnvironment home("HOME", nullptr);
        EXPECT_EQ(localAppDataFolder(), std::nullopt);
    }
}
#endif

}  // namespace
}  // namespace sf
