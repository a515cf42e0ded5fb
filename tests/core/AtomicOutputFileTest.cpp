#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "platform/AtomicOutputFile.h"
#include "platform/Utf.h"

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
    ASSERT_TRUE(out.ok()) << out.error();
    const std::string bytes("new\0\r\n\x1A bytes", 13);
    ASSERT_TRUE(out->write(bytes.data(), 5).ok());
    ASSERT_TRUE(out->write(bytes.data() + 5, bytes.size() - 5).ok());
    EXPECT_EQ(contents(target), "old contents that are longer");  // untouched until commit
    ASSERT_TRUE(out->commit().ok());
    EXPECT_EQ(contents(target), bytes);
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicOutputFileTest, DroppedWithoutCommitLeavesTheOldFileAlone) {
    const auto target = folder / "target.bin";
    put(target, "kept");
    {
        auto out = AtomicOutputFile::create(target);
        ASSERT_TRUE(out.ok()) << out.error();
        ASSERT_TRUE(out->write("lost", 4).ok());
    }
    EXPECT_EQ(contents(target), "kept");
    EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicOutputFileTest, NamesBeyondAsciiWork) {
    const auto target = folder / pathFromUtf16(u"\u00E9\u20AC\u4E2D\U0001F600.bin");
    auto out = AtomicOutputFile::create(target);
    ASSERT_TRUE(out.ok()) << out.error();
    ASSERT_TRUE(out->write("x", 1).ok());
    ASSERT_TRUE(out->commit().ok());
    EXPECT_EQ(contents(target), "x");
    EXPECT_EQ(pathToUtf16(fs::directory_iterator(folder)->path().filename()),
              u"\u00E9\u20AC\u4E2D\U0001F600.bin");
}

TEST_F(AtomicOutputFileTest, RefusesTargetsItCannotReplace) {
    EXPECT_FALSE(AtomicOutputFile::create(folder).ok());  // a folder
    const auto missing = AtomicOutputFile::create(folder / "missing" / "target.bin");
    ASSERT_FALSE(missing.ok());
    EXPECT_NE(missing.error().find("missing"), std::string::npos) << missing.error();
}

TEST_F(AtomicOutputFileTest, RefusesAReadOnlyTarget) {
#ifndef _WIN32
    // The superuser may write to any file, so only a normal user sees this.
    if (::geteuid() == 0) GTEST_SKIP() << "running as root";
#endif
    const auto target = folder / "target.bin";
    put(target, "protected");
    fs::permissions(target,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto out = AtomicOutputFile::create(target);
    ASSERT_FALSE(out.ok());
    EXPECT_NE(out.error().find("read-only"), std::string::npos) << out.error();
    EXPECT_EQ(contents(target), "protected");
}

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
        ASSERT_TRUE(out.ok()) << out.error();
        ASSERT_TRUE(out->write("new", 3).ok());
        const auto committed = out->commit();
        ASSERT_FALSE(committed.ok());
        EXPECT_NE(committed.error().find("cannot replace"), std::string::npos) << committed.error();
    }
    reader.close();
    EXPECT_EQ(contents(target), "read by someone");
    EXPECT_EQ(entries(), 1u);
}
#endif

}  // namespace
}  // namespace sf
