#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <thread>

#include "support/AnotherUser.h"
#include "support/TempDir.h"

extern char** environ;

namespace sf {
namespace {

using test::patternBytes;
using test::writeBytes;

struct Run {
    int exitCode;
    std::string out;  // stdout and stderr together
};

Run run(const std::string& command) {
    Run result{-1, {}};
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe)) result.out += buffer.data();
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t found = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
}

// Starts a program, with the signals the tests send at their default action.
pid_t start(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const auto& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], nullptr, &attributes, argv.data(), environ) != 0) pid = -1;
    posix_spawnattr_destroy(&attributes);
    return pid;
}

// Waits until process `pid` holds a file in `folder` open: the package it
// writes. False when the process ends first.
bool waitUntilWritingInto(pid_t pid, const std::filesystem::path& folder) {
    const std::string prefix = folder.string() + "/";
    const auto descriptors = std::filesystem::path("/proc") / std::to_string(pid) / "fd";
    for (;;) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) return false;
        std::error_code ec;
        for (auto it = std::filesystem::directory_iterator(descriptors, ec);
             !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
            std::error_code unreadable;
            if (std::filesystem::read_symlink(it->path(), unreadable)
                    .string()
                    .starts_with(prefix)) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

const std::string kBin = SF_BIN_DIR;
const std::string kSfmaker = kBin + "/sfmaker";

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override {
        writeBytes(dir / "internal.bin", patternBytes(4000, 1));
        writeBytes(dir / "external.bin", patternBytes(300, 2));
        writeBytes(dir / "cmd.key", patternBytes(20, 3));
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string makeCommand(const std::string& output, const std::string& extra = "") const {
        return kSfmaker + " make --output " + path(output) + " --internal " + path("internal.bin") +
               " --time 1700000000 " + extra;
    }
    test::TempDir dir;
};

TEST_F(CliTest, MakesAPackageThatInspectReadsBackAsJson) {
    const auto made = run(
        makeCommand("pkg.exe", "--external " + path("external.bin") +
                                   " --title 'Zwölf Boxkämpfer' --note 'n' --version 9.9"
                                   " --ap-vid 1a2b --ap-pid 3C4D --ap-usage 01 --iap-vid AAAA"
                                   " --iap-pid BBBB --iap-usage 02 --digest beef --cmd-key " +
                                   path("cmd.key") + " --no-verify --cmd-via-control-endpoint"));
    ASSERT_EQ(made.exitCode, 0) << made.out;
    const auto inspected = run(kSfmaker + " inspect --json " + path("pkg.exe"));
    ASSERT_EQ(inspected.exitCode, 0) << inspected.out;
    const auto json = nlohmann::json::parse(inspected.out);
    EXPECT_EQ(json["title"], "Zwölf Boxkämpfer");
    EXPECT_EQ(json["text"], "Sparrowflasher for Tavlen. Version V1.0.0");
    EXPECT_EQ(json["version"], "9.9");
    EXPECT_EQ(json["apVid"], "1a2b");
    EXPECT_EQ(json["iapUsage"], "02");
    EXPECT_EQ(json["digestValue"], 0xBEEF);
    EXPECT_EQ(json["digestEnabled"], true);
    EXPECT_EQ(json["cmdKeyLength"], 20);
    EXPECT_EQ(json["cmdKey"].get<std::string>().size(), 40u);
    EXPECT_EQ(json["verify"], false);
    EXPECT_EQ(json["cmdViaControlEndpoint"], true);
    EXPECT_EQ(json["constantOne"], 1);
    EXPECT_EQ(json["internal"]["length"], 4000);
    EXPECT_EQ(json["external"]["start"], 0x01000000);
    EXPECT_EQ(json["external"]["sha256"].get<std::string>().size(), 64u);
    EXPECT_EQ(json["key"].get<std::string>().size(), 8u);
}

TEST_F(CliTest, TheSameInputsAndTimeGiveTheSameBytes) {
    ASSERT_EQ(run(makeCommand("a.exe")).exitCode, 0);
    ASSERT_EQ(run("SOURCE_DATE_EPOCH=1700000000 " + kSfmaker + " make --output " + path("b.exe") +
                  " --internal " + path("internal.bin"))
                  .exitCode,
              0);
    EXPECT_EQ(test::readBytes(dir / "a.exe"), test::readBytes(dir / "b.exe"));
}

TEST_F(CliTest, AnExistingOutputIsReplacedOnlyWithForce) {
    writeBytes(dir / "pkg.exe", {1, 2, 3});
    const auto refused = run(makeCommand("pkg.exe"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("--force"), std::string::npos) << refused.out;
    EXPECT_EQ(test::readBytes(dir / "pkg.exe").size(), 3u);
    EXPECT_EQ(run(makeCommand("pkg.exe", "--force")).exitCode, 0);
    EXPECT_GT(test::readBytes(dir / "pkg.exe").size(), 4000u);
}

TEST_F(CliTest, FailuresAndUsageErrorsHaveTheirExitCodes) {
    const auto missingImage =
        run(kSfmaker + " make --output " + path("x.exe") + " --internal " + path("none"));
    EXPECT_EQ(missingImage.exitCode, 1);
    EXPECT_NE(missingImage.out.find("Can not open Image file!"), std::string::npos);

    const auto noImage = run(kSfmaker + " make --output " + path("x.exe") + " --title t");
    EXPECT_EQ(noImage.exitCode, 1);
    EXPECT_NE(noImage.out.find("Please specify image path!"), std::string::npos);

    const auto missingTemplate = run(makeCommand("x.exe", "--template " + path("none")));
    EXPECT_EQ(missingTemplate.exitCode, 1);
    EXPECT_NE(missingTemplate.out.find("Can not open AP.EXE file!"), std::string::npos);

    EXPECT_EQ(run(makeCommand("x.exe", "--ap-vid 12G4")).exitCode, 2);
    EXPECT_EQ(run(makeCommand("x.exe", "--title " + std::string(33, 'T'))).exitCode, 2);
    EXPECT_EQ(run(kSfmaker + " frobnicate").exitCode, 2);
    EXPECT_EQ(run(kSfmaker + " inspect " + path("internal.bin")).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.exe"));
}

TEST_F(CliTest, ThePackageRunsAndExtractsItsImages) {
    ASSERT_EQ(run(makeCommand("pkg.exe", "--external " + path("external.bin") + " --cmd-key " +
                                             path("cmd.key")))
                  .exitCode,
              0);
    const auto ran = run(path("pkg.exe"));
    EXPECT_EQ(ran.exitCode, 0) << ran.out;
    EXPECT_NE(ran.out.find("Tavlen Sparrowflasher V1.0.0"), std::string::npos);
    EXPECT_NE(ran.out.find("4000 bytes"), std::string::npos);

    const auto json = run(path("pkg.exe") + " --json");
    ASSERT_EQ(json.exitCode, 0);
    const auto inspected = run(kSfmaker + " inspect --json " + path("pkg.exe"));
    EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::parse(inspected.out));

    for (const std::string& command :
         {path("pkg.exe") + " --extract " + path("a"),
          kSfmaker + " extract " + path("pkg.exe") + " --dir " + path("b")}) {
        ASSERT_EQ(run(command).exitCode, 0) << command;
    }
    for (const char* folder : {"a", "b"}) {
        EXPECT_EQ(test::readBytes(dir / folder / "internal.bin"), patternBytes(4000, 1));
        EXPECT_EQ(test::readBytes(dir / folder / "external.bin"), patternBytes(300, 2));
        EXPECT_EQ(test::readBytes(dir / folder / "cmdkey.bin"), patternBytes(20, 3));
    }
}

TEST_F(CliTest, SettingsFileGivesTheFieldsAndOptionsOverrideIt) {
    std::ofstream(dir / "project.ini")
        << "[SETTING]\nTitleString=From the file\nAPVIDString=ABCD\n"
        << "IDIGESTString=12\nIDigestEn=1\nImagePath1=" << path("internal.bin") << "\n";
    const auto made = run(kSfmaker + " make --time 5 --output " + path("pkg.exe") + " --settings " +
                          path("project.ini") + " --ap-vid 9999");
    ASSERT_EQ(made.exitCode, 0) << made.out;
    const auto json =
        nlohmann::json::parse(run(kSfmaker + " inspect --json " + path("pkg.exe")).out);
    EXPECT_EQ(json["title"], "From the file");
    EXPECT_EQ(json["apVid"], "9999");
    EXPECT_EQ(json["digestValue"], 0x12);
    EXPECT_EQ(json["internal"]["length"], 4000);

    EXPECT_EQ(run(kSfmaker + " make --output " + path("x.exe") + " --settings " + path("none.ini"))
                  .exitCode,
              2);
}

TEST_F(CliTest, WithoutFieldOptionsTheDialogsSettingsAreUsed) {
    const auto folder = dir / "data" / "QX32_SparrowflasherMakerIII";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "setting.ini")
        << "[SETTING]\nVersionString=7.7\nImagePath1=" << path("internal.bin") << "\n";
    const auto made = run("XDG_DATA_HOME=" + path("data") + " " + kSfmaker +
                          " make --time 5 --output " + path("pkg.exe"));
    ASSERT_EQ(made.exitCode, 0) << made.out;
    const auto json =
        nlohmann::json::parse(run(kSfmaker + " inspect --json " + path("pkg.exe")).out);
    EXPECT_EQ(json["version"], "7.7");
}

TEST_F(CliTest, AnOutputThatIsNotAFileIsRefusedAtOnceEvenWithForce) {
    namespace fs = std::filesystem;
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0666), 0);
    fs::create_directory(dir / "folder");
    // A copy of /dev/null; making one needs the superuser.
    if (test::runningAsSuperuser()) ::mknod(path("null").c_str(), S_IFCHR | 0666, makedev(1, 3));
    const std::pair<const char*, const char*> cases[] = {
        {"fifo", "is a named pipe"}, {"null", "is a device"}, {"folder", "is a folder"}};
    for (const auto& [name, kind] : cases) {
        const auto type = fs::symlink_status(dir / name).type();
        if (type == fs::file_type::not_found) continue;
        for (const char* force : {"", "--force"}) {
            // The time limit only keeps a hanging make from holding up the suite.
            const auto made = run("timeout 30 " + makeCommand(name, force));
            EXPECT_EQ(made.exitCode, 1) << name << force << made.out;
            EXPECT_NE(made.out.find(kind), std::string::npos) << made.out;
        }
        EXPECT_EQ(fs::symlink_status(dir / name).type(), type) << name;
    }
}

TEST_F(CliTest, AFileTheUserCannotReadIsStillNotReplacedWithoutForce) {
    writeBytes(dir / "pkg.exe", {1, 2, 3});
    test::giveToAnotherUser(dir.path());
    test::giveToAnotherUser(dir / "pkg.exe");
    std::filesystem::permissions(dir / "pkg.exe", std::filesystem::perms(0200));
    const auto refused = run(test::asAnotherUserCommand() + makeCommand("pkg.exe"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.out.find("already exists; pass --force"), std::string::npos) << refused.out;
    std::filesystem::permissions(dir / "pkg.exe", std::filesystem::perms(0600));
    EXPECT_EQ(test::readBytes(dir / "pkg.exe"), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(CliTest, OfTwoMakesStartedTogetherExactlyOneWritesThePackage) {
    writeBytes(dir / "large.bin", patternBytes(8 << 20, 4));
    for (int round = 0; round < 5; ++round) {
        const std::string output = "race" + std::to_string(round) + ".exe";
        const std::string make = "(" + kSfmaker + " make --output " + path(output) +
                                 " --internal " + path("large.bin") + "; echo \"exit $?\")";
        const auto both = run("{ " + make + " & " + make + " & wait; }");
        EXPECT_EQ(count(both.out, "exit 0"), 1u) << both.out;
        EXPECT_EQ(count(both.out, "exit 1"), 1u) << both.out;
        EXPECT_EQ(count(both.out, "already exists; pass --force"), 1u) << both.out;
    }
}

// Even kill -9 leaves no temporary file. Where the package cannot be written
// without a name (here: without /proc, hidden in a mount namespace of its own),
// SIGINT, SIGTERM and SIGHUP remove the temporary file.
TEST_F(CliTest, AKilledOrInterruptedMakeLeavesNothingBehind) {
    namespace fs = std::filesystem;
    writeBytes(dir / "large.bin", {});
    fs::resize_file(dir / "large.bin", 1ull << 30);  // sparse: takes no disk space
    const bool canHideProc =
        test::runningAsSuperuser() && run("unshare -m sh -c 'umount -l /proc'").exitCode == 0;
    const auto out = dir / "out";
    struct Case {
        int signal;
        bool withoutProc;
    };
    for (const Case c : {Case{SIGKILL, false}, Case{SIGTERM, false}, Case{SIGTERM, true},
                         Case{SIGINT, true}, Case{SIGHUP, true}}) {
        if (c.withoutProc && !canHideProc) continue;
        fs::create_directory(out);
        std::vector<std::string> command = {
            kSfmaker,          "make",       "--output",       path("out/pkg.exe"), "--internal",
            path("large.bin"), "--template", kBin + "/AP2.EXE"};
        if (c.withoutProc) {
            command.insert(command.begin(),
                           {"unshare", "-m", "sh", "-c", "umount -l /proc && exec \"$@\"", "sh"});
        }
        const pid_t make = start(command);
        ASSERT_GT(make, 0);
        ASSERT_TRUE(waitUntilWritingInto(make, out)) << c.signal;
        ::kill(make, c.signal);
        int status = 0;
        ASSERT_EQ(::waitpid(make, &status, 0), make);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << c.signal;
        EXPECT_TRUE(fs::is_empty(out))
            << c.signal << " " << c.withoutProc << " " << fs::directory_iterator(out)->path();
        fs::remove_all(out);
    }
}

TEST_F(CliTest, ExtractRefusesEarlierResultsUnlessForcedAndLeavesNoHalfResult) {
    namespace fs = std::filesystem;
    ASSERT_EQ(run(makeCommand("full.exe", "--external " + path("external.bin") + " --cmd-key " +
                                              path("cmd.key")))
                  .exitCode,
              0);
    writeBytes(dir / "other.bin", patternBytes(100, 9));
    ASSERT_EQ(
        run(kSfmaker + " make --output " + path("bare.exe") + " --internal " + path("other.bin"))
            .exitCode,
        0);
    // The same for sfmaker and for the stand-in updater inside a package.
    const std::function<std::string(const std::string&, const std::string&, const char*)>
        extractors[] = {[&](auto& package, auto& folder, const char* force) {
                            return kSfmaker + " extract " + path(package) + " --dir " +
                                   path(folder) + force;
                        },
                        [&](auto& package, auto& folder, const char* force) {
                            return path(package) + " --extract " + path(folder) + force;
                        }};
    for (const auto& extract : extractors) {
        const std::string folder = fs::exists(dir / "a") ? "b" : "a";
        ASSERT_EQ(run(extract("full.exe", folder, "")).exitCode, 0);

        const auto refused = run(extract("bare.exe", folder, ""));
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.out.find("already holds internal.bin"), std::string::npos) << refused.out;
        EXPECT_EQ(test::readBytes(dir / folder / "internal.bin"), patternBytes(4000, 1));

        // Forced: this package's results only; the names it does not have go.
        ASSERT_EQ(run(extract("bare.exe", folder, " --force")).exitCode, 0);
        EXPECT_EQ(test::readBytes(dir / folder / "internal.bin"), patternBytes(100, 9));
        EXPECT_FALSE(fs::exists(dir / folder / "external.bin"));
        EXPECT_FALSE(fs::exists(dir / folder / "cmdkey.bin"));

        // A failure writes nothing: here cmdkey.bin is a folder.
        fs::create_directory(dir / folder / "cmdkey.bin");
        const auto failed = run(extract("full.exe", folder, " --force"));
        EXPECT_EQ(failed.exitCode, 1) << failed.out;
        EXPECT_EQ(test::readBytes(dir / folder / "internal.bin"), patternBytes(100, 9));
        EXPECT_FALSE(fs::exists(dir / folder / "external.bin"));
    }
}

TEST(TemplateCli, RunBareItSaysItCarriesNoPackage) {
    const auto bare = run(kBin + "/AP2.EXE");
    EXPECT_EQ(bare.exitCode, 1);
    EXPECT_NE(bare.out.find("carries no package"), std::string::npos) << bare.out;
}

}  // namespace
}  // namespace sf
