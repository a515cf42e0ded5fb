#include <gtest/gtest.h>

#include <fstream>

#include "package/PackageBuilder.h"
#include "platform/CrtRandom.h"
#include "platform/Utf.h"
#include "support/FakeMakeUi.h"
#include "support/TempDir.h"

namespace sf {
namespace {

using test::patternBytes;
using test::readBytes;
using test::writeBytes;
using Log = std::vector<std::string>;
using Kind = MakeFailure::Kind;

class PackageBuilderTest : public ::testing::Test {
  public:
    void SetUp() override {
        writeBytes(dir / "AP2.EXE", patternBytes(300, 1));
        writeBytes(dir / "internal.bin", patternBytes(500, 2));
        settings.internalImagePath = pathToUtf16(dir / "internal.bin");
    }

    MakeOutcome make() {
        const PackageBuilder builder({{dir / "AP2.EXE"}, [] { return int64_t{77}; }});
        return builder.make(settings, ui);
    }

    test::TempDir dir;
    ProjectSettings settings;
    test::FakeMakeUi ui;
};

TEST_F(PackageBuilderTest, AnEmptyImagePathIsReportedBeforeTheTemplateIsLookedFor) {
    std::filesystem::remove(dir / "AP2.EXE");
    settings.internalImagePath.clear();
    EXPECT_EQ(make(), MakeOutcome::Failed);
    EXPECT_EQ(ui.log, (Log{"failed"}));
    EXPECT_EQ(ui.failures.at(0).kind, Kind::NoInternalImage);
}

TEST_F(PackageBuilderTest, EachMissingInputEndsTheCommandBeforeTheSaveDialog) {
    struct Case {
        const char* name;
        std::function<void(PackageBuilderTest&)> breakIt;
        Kind expected;
    };
    const std::vector<Case> cases = {
        {"template missing", [](auto& t) { std::filesystem::remove(t.dir / "AP2.EXE"); },
         Kind::TemplateUnreadable},
        {"internal image missing",
         [](auto& t) { t.settings.internalImagePath = pathToUtf16(t.dir / "missing.bin"); },
         Kind::ImageUnreadable},
        {"internal image a folder",
         [](auto& t) { t.settings.internalImagePath = pathToUtf16(t.dir.path()); },
         Kind::ImageUnreadable},
        {"external image missing",
         [](auto& t) { t.settings.externalImagePath = pathToUtf16(t.dir / "missing.bin"); },
         Kind::ImageUnreadable},
        {"internal image a refused HEX file",
         [](auto& t) {
             const std::string hex = ":020010040001E9\n:00000001FF\n";  // a base with an address
             writeBytes(t.dir / "refused.hex", std::vector<uint8_t>(hex.begin(), hex.end()));
             t.settings.internalImagePath = pathToUtf16(t.dir / "refused.hex");
         },
         Kind::ImageInvalid},
        {"no command-key file", [](auto& t) { t.settings.cmdKeyEnabled = true; },
         Kind::NoCommandKeyFile},
        {"command-key file missing",
         [](auto& t) {
             t.settings.cmdKeyEnabled = true;
             t.settings.cmdKeyPath = pathToUtf16(t.dir / "missing.key");
         },
         Kind::CommandKeyUnreadable},
        {"command key of 65 bytes",
         [](auto& t) {
             writeBytes(t.dir / "long.key", patternBytes(65, 0));
             t.settings.cmdKeyEnabled = true;
             t.settings.cmdKeyPath = pathToUtf16(t.dir / "long.key");
         },
         Kind::CommandKeyTooLong},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PackageBuilderTest::SetUp();
        settings = ProjectSettings{};
        settings.internalImagePath = pathToUtf16(dir / "internal.bin");
        writeBytes(dir / "AP2.EXE", patternBytes(300, 1));
        ui = test::FakeMakeUi{};
        c.breakIt(*this);
        EXPECT_EQ(make(), MakeOutcome::Failed);
        EXPECT_EQ(ui.log, (Log{"failed"}));
        EXPECT_EQ(ui.failures.at(0).kind, c.expected);
    }
}

// The template's places, in order: beside the program, the user's settings
// folder (when the system names one), the installed folder; each once.
TEST(TemplateSearchTest, ThePlacesComeInOrderEachOnce) {
    using Paths = std::vector<std::filesystem::path>;
    EXPECT_EQ(templateSearchPath("bin", "data/user", "bin/../lib/maker", u"AP2.EXE"),
              (Paths{"bin/AP2.EXE", "data/user/AP2.EXE", "lib/maker/AP2.EXE"}));
    EXPECT_EQ(templateSearchPath("bin", std::nullopt, "bin/.", u"AP2.EXE"), (Paths{"bin/AP2.EXE"}));
}

// Each Make takes the first place that holds anything under the template's
// name and tells which; what is there but cannot be opened is reported, not
// passed over; with nothing anywhere, every place is named.
TEST_F(PackageBuilderTest, TheTemplateIsTheFirstOfItsPlacesThatIsThere) {
    struct TemplateUi : test::FakeMakeUi {
        std::vector<std::filesystem::path> opened;
        void templateOpened(const std::filesystem::path& path) override { opened.push_back(path); }
    };
    const std::vector<std::filesystem::path> places = {dir / "a" / "AP2.EXE", dir / "b" / "AP2.EXE",
                                                       dir / "c" / "AP2.EXE"};
    struct Case {
        std::vector<int> files;
        int folder;  // a place holding a folder of that name, or -1
        int used;    // the place used, or -1 when the Make fails
        Kind failure;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {{0, 1, 2}, -1, 0, {}, ""},
        {{1, 2}, -1, 1, {}, ""},
        {{2}, -1, 2, {}, ""},
        {{2}, 0, -1, Kind::TemplateUnreadable, "it is a folder"},
        {{},
         -1,
         -1,
         Kind::TemplateNotFound,
         "looked for " + quotedPath(places[0]) + ", " + quotedPath(places[1]) + " and " +
             quotedPath(places[2])},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("template in place " + std::to_string(c.used) + " " + c.reason);
        for (const auto& place : places) {
            std::filesystem::remove_all(place.parent_path());
            std::filesystem::create_directories(place.parent_path());
        }
        for (int i : c.files) writeBytes(places[i], patternBytes(300, 1));
        if (c.folder >= 0) std::filesystem::create_directories(places[c.folder]);
        TemplateUi templateUi;
        templateUi.savePaths = {dir / "out.exe"};
        templateUi.answers = {true};
        const PackageBuilder builder({places, [] { return int64_t{1}; }});
        EXPECT_EQ(builder.make(settings, templateUi),
                  c.used >= 0 ? MakeOutcome::Written : MakeOutcome::Failed);
        if (c.used >= 0) {
            EXPECT_EQ(templateUi.opened, (std::vector<std::filesystem::path>{places[c.used]}));
        } else {
            EXPECT_EQ(templateUi.log, (Log{"failed"}));
            const MakeFailure& failure = templateUi.failures.at(0);
            EXPECT_EQ(failure.kind, c.failure);
            EXPECT_NE(failure.reason.find(c.reason), std::string::npos) << failure.reason;
        }
    }
}

TEST_F(PackageBuilderTest, TheKeyPathIsIgnoredWhileTheKeyIsOff) {
    settings.cmdKeyPath = pathToUtf16(dir / "missing.key");
    ui.savePaths.push_back(dir / "out.exe");
    EXPECT_EQ(make(), MakeOutcome::Written);
    EXPECT_EQ(ui.log, (Log{"save dialog", "package written"}));
}

TEST_F(PackageBuilderTest, KeysOfZeroAndSixtyFourBytesAreAccepted) {
    settings.cmdKeyEnabled = true;
    for (std::size_t size : {0u, 64u}) {
        writeBytes(dir / "cmd.key", patternBytes(size, 0));
        settings.cmdKeyPath = pathToUtf16(dir / "cmd.key");
        ui.savePaths.push_back(dir / ("out" + std::to_string(size) + ".exe"));
        EXPECT_EQ(make(), MakeOutcome::Written) << size;
    }
}

TEST_F(PackageBuilderTest, CancelWritesNothingAndSaysNothing) {
    EXPECT_EQ(make(), MakeOutcome::Cancelled);
    EXPECT_EQ(ui.log, (Log{"save dialog"}));
}

TEST_F(PackageBuilderTest, NoToOverwriteAsksAgainAndCancelThenKeepsTheFile) {
    writeBytes(dir / "old.exe", {1, 2, 3});
    ui.savePaths = {dir / "old.exe", std::nullopt};
    ui.answers = {false};
    EXPECT_EQ(make(), MakeOutcome::Cancelled);
    EXPECT_EQ(ui.log, (Log{"save dialog", "overwrite question", "save dialog"}));
    EXPECT_EQ(readBytes(dir / "old.exe"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(PackageBuilderTest, YesToOverwriteReplacesTheFile) {
    writeBytes(dir / "old.exe", {1, 2, 3});
    ui.savePaths = {dir / "old.exe"};
    ui.answers = {true};
    EXPECT_EQ(make(), MakeOutcome::Written);
    EXPECT_EQ(std::filesystem::file_size(dir / "old.exe"), 300u + 500 + 688);
}

TEST_F(PackageBuilderTest, AnOutputThatNamesTheInternalImageReplacesIt) {
    ui.savePaths = {dir / "internal.bin"};
    ui.answers = {true};
    EXPECT_EQ(make(), MakeOutcome::Written);
    const auto package = readBytes(dir / "internal.bin");
    ASSERT_EQ(package.size(), 300u + 500 + 688);
    // The image inside is the one that was read, scrambled: seed 77's first key byte.
    CrtRandom random(77);
    EXPECT_EQ(package[300], patternBytes(500, 2)[0] ^ (random.next() % 255 + 1));
}

TEST_F(PackageBuilderTest, AnOutputThatCannotBeWrittenNamesThePathAndLeavesNothing) {
    const auto output = dir / "no-such-folder" / "out.exe";
    ui.savePaths = {output};
    EXPECT_EQ(make(), MakeOutcome::Failed);
    ASSERT_EQ(ui.failures.size(), 1u);
    EXPECT_EQ(ui.failures[0].kind, Kind::OutputUnwritable);
    EXPECT_EQ(ui.failures[0].path, output);
    EXPECT_NE(ui.failures[0].reason.find("no-such-folder"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "no-such-folder"));
}

TEST_F(PackageBuilderTest, AFileMadeUnderTheNameWhileWritingIsReplacedOnlyAfterAYes) {
    // Another program takes the free name while the package is written.
    struct RacingUi : test::FakeMakeUi {
        std::filesystem::path output;
        void progress(uint64_t, uint64_t) override {
            if (!std::filesystem::exists(output)) test::writeBytes(output, {1, 2, 3});
        }
    };
    for (bool yes : {false, true}) {
        const auto output = dir / (yes ? "yes.exe" : "no.exe");
        RacingUi racing;
        racing.output = output;
        racing.savePaths = {output};
        racing.answers = {yes};
        const PackageBuilder builder({{dir / "AP2.EXE"}, [] { return int64_t{1}; }});
        EXPECT_EQ(builder.make(settings, racing),
                  yes ? MakeOutcome::Written : MakeOutcome::Cancelled);
        EXPECT_EQ(racing.log[1], "overwrite question");
        EXPECT_EQ(std::filesystem::file_size(output), yes ? 300u + 500 + 688 : 3u);
    }
}

TEST_F(PackageBuilderTest, AnInputThatShrinksWhileWritingIsAFailureNotASuccess) {
    // The save dialog runs after the inputs were sized: shrink the image there.
    struct ShrinkingUi : test::FakeMakeUi {
        std::filesystem::path image;
        bool shrunk = false;
        std::optional<std::filesystem::path> askSavePath() override {
            std::ofstream out(image, std::ios::binary | std::ios::trunc);
            shrunk = out.is_open() && out.write("\1\2\3", 3).flush().good();
            return test::FakeMakeUi::askSavePath();
        }
    } shrinking;
    shrinking.image = dir / "internal.bin";
    shrinking.savePaths = {dir / "out.exe"};
    const PackageBuilder builder({{dir / "AP2.EXE"}, [] { return int64_t{1}; }});
    const MakeOutcome outcome = builder.make(settings, shrinking);
#ifdef _WIN32
    // Windows lets no other program write an input while it is open for the make.
    EXPECT_FALSE(shrinking.shrunk);
    EXPECT_EQ(outcome, MakeOutcome::Written);
#else
    ASSERT_TRUE(shrinking.shrunk);
    EXPECT_EQ(outcome, MakeOutcome::Failed);
    ASSERT_EQ(shrinking.failures.size(), 1u);
    EXPECT_EQ(shrinking.failures[0].kind, Kind::WriteFailed);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.exe"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
#endif
}

// The user stops the make at its first block, half-way, or while the package
// is flushed to disk: nothing is left, an existing file stays as it was, and
// nothing is said.
TEST_F(PackageBuilderTest, ACancelledMakeLeavesNothingAndTheExistingFileAsItWas) {
    constexpr uint64_t kAfterWriting = ~uint64_t{0};
    struct CancellingUi : test::FakeMakeUi {
        uint64_t stopAt = 0;  // bytes written; kAfterWriting: asked with no block written since
        uint64_t written = 0;
        bool reported = false;
        void progress(uint64_t w, uint64_t) override {
            written = w;
            reported = true;
        }
        bool cancelRequested() override {
            const bool afterWriting = !std::exchange(reported, false);
            return stopAt == kAfterWriting ? afterWriting : written >= stopAt;
        }
    };
    std::filesystem::resize_file(dir / "internal.bin", 64 << 20);  // sparse: quickly read
    const uint64_t total = 300 + (64 << 20) + 688;
    for (const uint64_t stopAt : {uint64_t{1}, total / 2, kAfterWriting}) {
        for (const bool existing : {false, true}) {
            const auto output = dir / "out.exe";
            std::filesystem::remove(output);
            if (existing) writeBytes(output, {1, 2, 3});
            CancellingUi cancelling;
            cancelling.stopAt = stopAt;
            cancelling.savePaths = {output};
            cancelling.answers = {true};
            const PackageBuilder builder({{dir / "AP2.EXE"}, [] { return int64_t{1}; }});
            EXPECT_EQ(builder.make(settings, cancelling), MakeOutcome::Cancelled);
            EXPECT_EQ(cancelling.log.back(), existing ? "overwrite question" : "save dialog");
            EXPECT_EQ(cancelling.written < total, stopAt != kAfterWriting) << stopAt;
            EXPECT_EQ(std::filesystem::exists(output), existing);
            if (existing) {
                EXPECT_EQ(readBytes(output), (std::vector<uint8_t>{1, 2, 3}));
            }
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
                      existing ? 3 : 2);
        }
    }
}

TEST_F(PackageBuilderTest, AnImageOf4GiBIsRefusedBeforeTheSaveDialog) {
    std::filesystem::resize_file(dir / "internal.bin", 4ull << 30);  // sparse: takes no disk space
    EXPECT_EQ(make(), MakeOutcome::Failed);
    ASSERT_EQ(ui.log, (Log{"failed"}));
    EXPECT_EQ(ui.failures[0].kind, Kind::ImageTooLarge);
    EXPECT_EQ(ui.failures[0].size, 4ull << 30);
}

}  // namespace
}  // namespace sf
