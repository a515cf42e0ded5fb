#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#include <csignal>
#endif

#include "platform/AtomicOutputFile.h"
#include "platform/IniProfile.h"
#include "platform/Utf.h"
#include "support/AnotherUser.h"

namespace sf {
namespace {

namespace fs = std::filesystem;

class AtomicOutputFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() / (std::string("sf-atomic-") + info->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder / "target.bin", fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(folder, ec);
    }

    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void put(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    size_t entries() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder), {}));
    }

    fs::path folder;
};

TEST_F(AtomicOutputFileTest, CommitReplacesTheTargetAndLeavesNothingElse) {
    const auto target = folder / "target.bin";
    put(target, "old contents that are longer");
    auto out = AtomicOutputFile::create(target);
    ASSERT_TRUE(out.has_value()) << out.error().message;
    const std::string bytes("new\0\r\n\x1A bytes", 13);
    ASSERT_TRUE(out->write(bytes.data(), 5).has_value());
    ASSERT_TRUE(out->write(bytes.data() + 5, bytes.size() - 5).has_value());
    EXPECT_EQ(contents(target), "old contents that are longer");  // untouched until commit
    ASSERT_TRUE(out->commit().has_value());
    EXPECT_EQ(contents(target), bytes);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicOutputFileTest, DroppedWithoutCommitLeavesTheOldFileAlone) {
    const auto target = folder / "target.bin";
    put(target, "kept");
    {
        auto out = AtomicOutputFile::create(target);
        ASSERT_TRUE(out.has_value()) << out.error().message;
        ASSERT_TRUE(out->write("lost", 4).has_value());
    }
    EXPECT_EQ(contents(target), "kept");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicOutputFileTest, NamesBeyondAsciiWork) {
    const auto target = folder / pathFromUtf16(u"\u00E9\u20AC\u4E2D\U0001F600.bin");
    auto out = AtomicOutputFile::create(target);
    ASSERT_TRUE(out.has_value()) << out.error().message;
    ASSERT_TRUE(out->write("x", 1).has_value());
    ASSERT_TRUE(out->commit().has_value());
    EXPECT_EQ(contents(target), "x");
    EXPECT_EQ(pathToUtf16(fs::directory_iterator(folder)->path().filename()),
              u"\u00E9\u20AC\u4E2D\U0001F600.bin");
}

TEST_F(AtomicOutputFileTest, RefusesTargetsItCannotReplace) {
    EXPECT_FALSE(AtomicOutputFile::create(folder).has_value());  // a folder
#ifdef _WIN32
    EXPECT_FALSE(outputExists(L"NUL").has_value());  // a device
#endif
    const auto missing = AtomicOutputFile::create(folder / "missing" / "target.bin");
    ASSERT_FALSE(missing.has_value());
    EXPECT_NE(missing.error().message.find("missing"), std::string::npos)
        << missing.error().message;
}

TEST_F(AtomicOutputFileTest, RefusesAReadOnlyTarget) {
    const auto target = folder / "target.bin";
    put(target, "protected");
    fs::permissions(target,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto tryCreate = [&] {
        const auto out = AtomicOutputFile::create(target);
        return out ? std::string("created") : out.error().message;
    };
#ifdef _WIN32
    const std::string message = tryCreate();
#else
    // The superuser may write to any file: the folder and the file go to
    // another user, who tries.
    test::giveToAnotherUser(folder);
    test::giveToAnotherUser(target);
    const std::string message = test::asAnotherUser(tryCreate);
#endif
    EXPECT_NE(message.find("read-only"), std::string::npos) << message;
    EXPECT_EQ(contents(target), "protected");
}

TEST_F(AtomicOutputFileTest, NamesUpToTheFileSystemsLimitWork) {
    for (std::size_t length : {240u, 255u}) {
        const auto target = folder / std::string(length, 'n');
        ASSERT_TRUE(writeWholeFile(target, "long").has_value()) << length;
        EXPECT_EQ(contents(target), "long");
        fs::remove(target);
    }
}

// However the process ends, an output it has not committed leaves nothing.
#ifdef _WIN32
void endThisProcessAbruptly() {
    TerminateProcess(GetCurrentProcess(), 3);
}
const auto kEndedAbruptly = ::testing::ExitedWithCode(3);
#else
void endThisProcessAbruptly() {
    std::raise(SIGKILL);
}
const auto kEndedAbruptly = ::testing::KilledBySignal(SIGKILL);
#endif

TEST_F(AtomicOutputFileTest, AProcessThatEndsBeforeTheCommitLeavesNothing) {
    const auto target = folder / "target.bin";
    EXPECT_EXIT(
        {
            auto out = AtomicOutputFile::create(target);
            if (out) (void)out->write("partial", 7);
            endThisProcessAbruptly();
        },
        kEndedAbruptly, "");
    EXPECT_EQ(entries(), 0u);
}

#ifndef _WIN32
// Links, as dotfile managers make them, stay; the file they lead to is replaced.
TEST_F(AtomicOutputFileTest, ALinkIsWrittenThroughAndKept) {
    fs::create_directories(folder / "real");
    struct Case {
        const char* name;
        fs::path linkText;
    };
    const Case cases[] = {{"relative.ini", "real/relative.ini"},
                          {"absolute.ini", folder / "real" / "absolute.ini"},
                          {"chain.ini", "relative.ini"}};
    for (const Case& c : cases) {
        fs::create_symlink(c.linkText, folder / c.name);
        put(folder / "real" / "relative.ini", "[SETTING]\r\nKey=old\r\n");
        ASSERT_TRUE(writeProfileString(folder / c.name, u"SETTING", u"Key", u"new").has_value())
            << c.name;
        EXPECT_TRUE(fs::is_symlink(folder / c.name)) << c.name;
        EXPECT_EQ(readProfileString(fs::canonical(folder / c.name), u"SETTING", u"Key", u""),
                  u"new")
            << c.name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "real"), {}), 2);
}

TEST_F(AtomicOutputFileTest, AFileInAFolderThatIsNotWritableStaysAndTheMessageSaysWhy) {
    struct Case {
        const char* name;
        bool lockFileThere;
        const char* why;
    };
    const Case cases[] = {
        {"Updater.exe", false, "a file is replaced by writing a new one beside it"},
        {"setting.ini", false, "changed under a lock file beside it (.setting.ini.lock)"},
        {"setting.ini", true, "a file is replaced by writing a new one beside it"},
    };
    for (const Case& c : cases) {
        const auto locked = folder / (std::string(c.name) + (c.lockFileThere ? ".lock" : ""));
        fs::create_directories(locked);
        const auto file = locked / c.name;
        put(file, "[SETTING]\r\nKey=old\r\n");
        if (c.lockFileThere) put(locked / ".setting.ini.lock", "");
        for (const auto& entry : fs::directory_iterator(locked)) {
            fs::permissions(entry.path(), fs::perms(0666));
        }
        fs::permissions(locked, fs::perms(0555));
        const std::string message = test::asAnotherUser([&] {
            const Status changed = fs::path(c.name).extension() == ".ini"
                                       ? writeProfileString(file, u"SETTING", u"Key", u"new")
                                       : writeWholeFile(file, "new");
            return changed ? std::string("changed") : changed.error().message;
        });
        fs::permissions(locked, fs::perms(0755));
        EXPECT_NE(message.find("the folder " + locked.string() + " is not writable"),
                  std::string::npos)
            << message;
        EXPECT_NE(message.find(c.why), std::string::npos) << message;
        EXPECT_EQ(contents(file), "[SETTING]\r\nKey=old\r\n");
    }
}
#endif

#ifdef _WIN32
// Windows refuses to replace a file that a reader holds open; the replace
// waits a little for the reader and then fails, leaving the file as it was.
TEST_F(AtomicOutputFileTest, TargetHeldOpenByAReaderIsNotReplaced) {
    const auto target = folder / "target.bin";
    put(target, "read by someone");
    std::ifstream reader(target, std::ios::binary);
    ASSERT_TRUE(reader.is_open());
    {
        auto out = AtomicOutputFile::create(target);
        ASSERT_TRUE(out.has_value()) << out.error().message;
        ASSERT_TRUE(out->write("new", 3).has_value());
        const auto committed = out->commit();
        ASSERT_FALSE(committed.has_value());
        EXPECT_NE(committed.error().message.find("cannot replace"), std::string::npos)
            << committed.error().message;
    }
    reader.close();
    EXPECT_EQ(contents(target), "read by someone");
    EXPECT_EQ(entries(), 1u);
}
#endif

}  // namespace
}  // namespace sf
