#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "ProjectVersion.h"
#include "support/AnotherUser.h"
#include "support/FirmwareFiles.h"
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

// Starts a program, with the signals the tests send at their default action
// and its stderr into the file `errors`.
pid_t start(const std::vector<std::string>& command, const std::string& errors) {
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
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

// A toolchain's image file goes into the package as the flat image the device
// takes, and stderr says what was read; --raw takes the file's bytes instead.
TEST_F(CliTest, ImagesInAToolchainFormatAreConvertedUnlessRaw) {
    const std::string hex = ":0400000001020304F2\n:020008000506EB\n:00000001FF\n";
    writeBytes(dir / "fw.hex", std::vector<uint8_t>(hex.begin(), hex.end()));
    const std::vector<uint8_t> flat = {1, 2, 3, 4, 0xFF, 0xFF, 0xFF, 0xFF, 5, 6};
    struct Case {
        const char* extra;
        std::vector<uint8_t> internal;
        const char* told;
    };
    for (const Case& c :
         {Case{"", flat, "internal image: Intel HEX, 0x00000000-0x00000009, 10 bytes"},
          Case{" --raw", std::vector<uint8_t>(hex.begin(), hex.end()), ""}}) {
        SCOPED_TRACE(std::string("make") + c.extra);
        std::filesystem::remove_all(dir / "out");
        const auto made = run(kSfmaker + " make --force --time 1 --output " + path("pkg.exe") +
                              " --internal " + path("fw.hex") + c.extra);
        ASSERT_EQ(made.exitCode, 0) << made.out;
        EXPECT_EQ(made.out.find("internal image:") != std::string::npos, *c.told != 0) << made.out;
        EXPECT_NE(made.out.find(c.told), std::string::npos) << made.out;
        ASSERT_EQ(run(kSfmaker + " extract " + path("pkg.exe") + " --dir " + path("out")).exitCode,
                  0);
        EXPECT_EQ(test::readBytes(dir / "out" / "internal.bin"), c.internal) << c.extra;
    }
    // A broken file is refused with its line and the reason.
    for (const auto& [broken, told] :
         {std::pair{":0400000001020304F2\n:020008000506EC\n:00000001FF\n",
                    "bad.hex, line 2: bad checksum"},
          std::pair{":0400000001020304F2\n  \n:00000001FF\n",
                    "bad.hex, line 2: the line holds only blanks"},
          std::pair{":020010040001E9\n:0400000001020304F2\n:00000001FF\n",
                    "bad.hex, line 1: a type 04 record's address field must be zero"}}) {
        const std::string text = broken;
        writeBytes(dir / "bad.hex", std::vector<uint8_t>(text.begin(), text.end()));
        const auto refused = run(kSfmaker + " make --time 1 --output " + path("bad.exe") +
                                 " --internal " + path("bad.hex"));
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.out.find(told), std::string::npos) << refused.out;
    }
}

TEST_F(CliTest, MakesAPackageThatInspectReadsBackAsJson) {
    const auto made = run(
        makeCommand("pkg.exe", "--external " + path("external.bin") +
                                   " --title 'Zwölf Boxkämpfer' --note 'n' --version 9.9"
                                   " --ap-vid 0x1a2b --ap-pid 3C4D --ap-usage 01 --iap-vid AAAA"
                                   " --iap-pid BBBB --iap-usage 0X02 --digest 0xbeef --cmd-key " +
                                   path("cmd.key") + " --no-verify --cmd-via-control-endpoint"));
    ASSERT_EQ(made.exitCode, 0) << made.out;
    // The template it was made from, found beside sfmaker, is named on one line.
    EXPECT_NE(made.out.find("template: " + kBin + "/AP2.EXE\n"), std::string::npos) << made.out;
    const auto inspected = run(kSfmaker + " inspect --json " + path("pkg.exe"));
    ASSERT_EQ(inspected.exitCode, 0) << inspected.out;
    const auto json = nlohmann::json::parse(inspected.out);
    EXPECT_EQ(json["title"], "Zwölf Boxkämpfer");
    EXPECT_EQ(json["text"], "Sparrowflasher for Tavlen. Version V1.0.0");
    EXPECT_EQ(json["version"], "9.9");
    EXPECT_EQ(json["apVid"], "1a2b");  // a 0x before it is dropped
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

// inspect names the second the key was drawn from, and says there is none
// when no seed draws what the package holds (here: one decoy byte changed).
TEST_F(CliTest, InspectNamesTheKeySeed) {
    ASSERT_EQ(run(makeCommand("pkg.exe")).exitCode, 0);
    const auto json = run(kSfmaker + " inspect --json " + path("pkg.exe"));
    const int keySlot = nlohmann::json::parse(json.out)["keySlot"];
    auto bytes = test::readBytes(dir / "pkg.exe");
    // The slots are descriptor bytes 636 to 643; the descriptor is the last 656 bytes.
    bytes[bytes.size() - 656 + 636 + 4 * (1 - keySlot)] ^= 1;
    writeBytes(dir / "foreign.exe", bytes);
    struct Case {
        const char* package;
        std::string line;
        nlohmann::json keySeed;
    };
    for (const Case& c :
         {Case{"pkg.exe", "\nKey seed:       1700000000 (2023-11-14 22:13:20 UTC)\n", 1700000000},
          Case{"foreign.exe", "\nKey seed:       none (", nullptr}}) {
        SCOPED_TRACE(c.package);
        SCOPED_TRACE(c.package);
        const auto text = run(kSfmaker + " inspect " + path(c.package));
        EXPECT_NE(text.out.find(c.line), std::string::npos) << text.out;
        const auto inspected = run(kSfmaker + " inspect --json " + path(c.package));
        const auto document = nlohmann::ordered_json::parse(inspected.out);
        EXPECT_EQ(document.begin().key(), "format");
        EXPECT_EQ(document["format"], 1);
        EXPECT_EQ(document["keySeed"], c.keySeed);
    }
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

struct Expected {
    std::string command;
    int exitCode;
    std::string says;
};

void expectEach(const std::vector<Expected>& cases) {
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const auto ran = run(c.command);
        EXPECT_EQ(ran.exitCode, c.exitCode) << c.command << "\n" << ran.out;
        EXPECT_NE(ran.out.find(c.says), std::string::npos) << c.command << "\n" << ran.out;
    }
}

// Every file the tool reads is named with what it is for and the reason it
// cannot be used, and only a regular file is read: a named pipe or a device
// is refused at once rather than waited on or read as empty.
TEST_F(CliTest, EveryInputThatCannotBeReadIsNamedWithTheReason) {
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder");
    const std::string none = path("none");
    const std::string pipe = path("pipe");
    const std::string missing = "': No such file or directory";
    const std::string make = kSfmaker + " make --time 1 --output " + path("x.exe") + " ";
    const std::string withImage = make + "--internal " + path("internal.bin") + " ";
    // An extract's package.ini whose images are gone, and one whose section
    // holds a value it cannot mean.
    std::filesystem::create_directory(dir / "lost");
    std::ofstream(dir / "lost" / "package.ini")
        << "[SETTING]\nImagePath1=internal.bin\nImagePath2=external.bin\n[sfmaker]\nVerify=1\n";
    std::ofstream(dir / "odd.ini") << "[SETTING]\nImagePath1=internal.bin\n[sfmaker]\nVerify=yes\n";
    expectEach({
        {make + "--settings " + path("lost/package.ini"), 1,
         "cannot open the internal image '" + path("lost/internal.bin") + missing},
        {make + "--settings " + path("odd.ini"), 1,
         "the settings file '" + path("odd.ini") + "': Verify is 'yes', where 0 or 1 is wanted"},
        {make + "--internal " + none, 1,
         "sfmaker: cannot open the internal image '" + none + missing},
        {make + "--internal " + path("folder"), 1,
         "internal image '" + path("folder") + "': it is a folder, not a regular file"},
        {make + "--internal " + pipe, 1,
         "internal image '" + pipe + "': it is a named pipe, not a regular file"},
        {make + "--internal /dev/zero", 1,
         "internal image '/dev/zero': it is a device, not a regular file"},
        {withImage + "--external " + none, 1, "cannot open the external image '" + none + missing},
        {withImage + "--template " + pipe, 1,
         "cannot open the template '" + pipe + "': it is a named pipe"},
        {withImage + "--cmd-key " + none, 1, "cannot open the command-key file '" + none + missing},
        {withImage + "--settings " + none, 1, "cannot read the settings file '" + none + missing},
        {withImage + "--settings " + pipe, 1, "it is a named pipe"},
        {kSfmaker + " inspect " + pipe, 1, "cannot open the package '" + pipe + "': it is a named"},
        {kSfmaker + " extract " + pipe + " --dir " + path("out"), 1, "it is a named pipe"},
        {kSfmaker + " inspect " + path("internal.bin"), 1, "not a package"},
    });
    EXPECT_FALSE(std::filesystem::exists(dir / "x.exe"));
}

TEST_F(CliTest, UsageErrorsNameTheValueThatIsWrong) {
    std::ofstream(dir / "empty.ini") << "[SETTING]\nTitleString=t\n";
    const std::string make = kSfmaker + " make --output " + path("x.exe");
    const std::string epoch = " " + make + " --internal " + path("internal.bin");
    expectEach({
        {makeCommand("x.exe", "--ap-vid 12G4"), 2, "12G4"},
        {makeCommand("x.exe", "--ap-pid 0x"), 2, "hex digits after 0x, got none"},
        {makeCommand("x.exe", "--ap-usage 0x123"), 2, "at most 2 hex digits, got 3"},
        {makeCommand("x.exe", "--digest 0x0x12"), 2, "got '0x0x12'"},
        {makeCommand("x.exe", "--title " + std::string(33, 'T')), 2, "at most 32"},
        {kSfmaker + " frobnicate", 2, "subcommand"},
        {makeCommand("x.exe", "--time 99999999999999999999"), 2, "'99999999999999999999'"},
        {"SOURCE_DATE_EPOCH=5x" + epoch, 2, "SOURCE_DATE_EPOCH is '5x'"},
        {"SOURCE_DATE_EPOCH=1e3" + epoch, 2, "SOURCE_DATE_EPOCH is '1e3'"},
        {"SOURCE_DATE_EPOCH=-" + epoch, 2, "SOURCE_DATE_EPOCH is '-'"},
        {make + " --title t", 2, "no internal image: give --internal FILE"},
        {make + " --settings " + path("empty.ini"), 2,
         "--internal FILE, or ImagePath1 in the settings file '" + path("empty.ini") + "'"},
    });
    EXPECT_FALSE(std::filesystem::exists(dir / "x.exe"));
    expectEach({{"SOURCE_DATE_EPOCH=" + epoch, 0, "Package written"}});
}

TEST_F(CliTest, HelpAndVersionSayWhatAUserNeeds) {
    const std::string help = kSfmaker + " --help";
    expectEach({
        {kSfmaker + " --version", 0, "sfmaker " SF_VERSION "\n"},
        {kSfmaker + " make --output x --version 2.0 --help", 0, "Usage: sfmaker make [OPTIONS]"},
        {help, 0, "Usage: sfmaker [OPTIONS] COMMAND"},
        {help, 0, "sfmaker extract [OPTIONS] package:"},
        {help, 0, "2  usage error"},
        {help, 0, "starts with \"Type note here, maximum 100 characters.\""},
        {help, 0, "SOURCE_DATE_EPOCH"},
    });
    EXPECT_EQ(run(kSfmaker + " --version").out, "sfmaker " SF_VERSION "\n");
}

// Warnings go to stderr and the package is made, unless --strict refuses it;
// --quiet leaves only errors.
TEST_F(CliTest, WarningsStrictAndQuiet) {
    const std::string ready = "--note Release --ap-vid 1A2B --ap-pid 0x3C4D ";
    struct Case {
        std::string extra;
        int exitCode;
        std::vector<std::string> says;  // every line of the output, in order
    };
    const std::string note = "the note is the placeholder";
    for (const Case& c : std::vector<Case>{
             {"",
              0,
              {"warning: " + note, "warning: the application's USB PID is empty",
               "warning: the application's USB VID is empty (set it with --ap-vid)",
               "template: ", "Package written: "}},
             {ready, 0, {"template: ", "Package written: "}},
             {"--quiet", 0, {}},
             {"-q " + ready, 0, {}},
             {"--strict -q --note Release --ap-pid 1",
              1,
              {"error: the application's USB VID is empty", "nothing written: --strict"}},
             {"--strict " + ready, 0, {"template: ", "Package written: "}},
         }) {
        SCOPED_TRACE(c.extra);
        std::filesystem::remove(dir / "pkg.exe");
        const auto made = run(makeCommand("pkg.exe", c.extra));
        EXPECT_EQ(made.exitCode, c.exitCode) << c.extra << "\n" << made.out;
        EXPECT_EQ(count(made.out, "\n"), c.says.size()) << c.extra << "\n" << made.out;
        std::size_t at = 0;
        for (const auto& line : c.says) {
            at = made.out.find(line, at);
            EXPECT_NE(at, std::string::npos) << c.extra << ": " << line << "\n" << made.out;
        }
        EXPECT_EQ(std::filesystem::exists(dir / "pkg.exe"), c.exitCode == 0) << c.extra;
    }
}

// Root reads every file whatever its permissions, so this runs as nobody.
TEST_F(CliTest, ASettingsFileThatExistsButCannotBeReadIsAFailure) {
    if (::geteuid() != 0 || std::system("command -v setpriv >/dev/null") != 0) {
        GTEST_SKIP() << "needs root and setpriv, to run as another user";
    }
    const auto folder = dir / "data" / "QX32_SparrowflasherMakerIII";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "setting.ini") << "[SETTING]\nImagePath1=" << path("internal.bin");
    std::filesystem::copy_file(folder / "setting.ini", dir / "s.ini");
    std::filesystem::permissions(folder / "setting.ini", std::filesystem::perms::none);
    std::filesystem::permissions(dir / "s.ini", std::filesystem::perms::none);
    const std::string asNobody = "XDG_DATA_HOME=" + path("data") +
                                 " setpriv --reuid=65534 --regid=65534 --clear-groups " + kSfmaker +
                                 " make --output " + path("x.exe");
    expectEach({
        {asNobody + " --settings " + path("s.ini"), 1,
         "cannot read the settings file '" + path("s.ini") + "': Permission denied"},
        {asNobody, 1, "setting.ini': Permission denied"},
    });
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

// Relative paths in a named settings file name files beside it; those in the
// dialog's own setting.ini name files in the working folder, as the dialog reads them.
TEST_F(CliTest, SettingsFileGivesTheFieldsAndOptionsOverrideIt) {
    std::filesystem::create_directory(dir / "project");
    std::ofstream(dir / "project" / "project.ini")
        << "[SETTING]\nTitleString=From the file\nAPVIDString=ABCD\n"
        << "IDIGESTString=12\nIDigestEn=1\nImagePath1=../internal.bin\n";
    const auto made = run("cd / && " + kSfmaker + " make --time 5 --output " + path("pkg.exe") +
                          " --settings " + path("project/project.ini") + " --ap-vid 9999");
    ASSERT_EQ(made.exitCode, 0) << made.out;
    const auto json =
        nlohmann::json::parse(run(kSfmaker + " inspect --json " + path("pkg.exe")).out);
    EXPECT_EQ(json["title"], "From the file");
    EXPECT_EQ(json["apVid"], "9999");
    EXPECT_EQ(json["digestValue"], 0x12);
    EXPECT_EQ(json["internal"]["length"], 4000);
}

std::vector<uint8_t> bytesOf(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// An extract gives what makes the package again: make --settings D/package.ini,
// from any folder and with no other option, makes the same bytes when the key
// seed is known (SOURCE_DATE_EPOCH does not change it), and the same content
// with a fresh key when it is not.
TEST_F(CliTest, AnExtractedPackageIsMadeAgainFromItsPackageIni) {
    // Flat images whose bytes look like a HEX file and an ELF file: they must
    // go back in as bytes, not be converted again.
    const std::string innerHex = test::intelHexLine(0, 0, {1, 2, 3}) + test::intelHexLine(1, 0, {});
    writeBytes(dir / "fw.hex",
               bytesOf(test::intelHexLine(0, 0, bytesOf(innerHex)) + test::intelHexLine(1, 0, {})));
    writeBytes(dir / "fw.elf",
               bytesOf(test::elfFile(false, false, {{".text", 1, 2, 0x08000000, {1, 2, 3, 4}}},
                                     {{0, 0, 0x08000000}})));
    struct Case {
        const char* name;
        std::string options;
        bool seedKnown = true;
        bool noteCut = false;
    };
    const Case cases[] = {
        {"every field set",
         "--title T --text X --note N --version 1.2 --ap-vid 1A2B --ap-pid 3C4D --ap-usage 01 "
         "--iap-vid 1a2b --iap-pid 3C4E --iap-usage 02 --digest BEEF"},
        {"external image", "--external " + path("external.bin")},
        {"command key", "--cmd-key " + path("cmd.key")},
        {"digest", "--digest 00ab"},
        {"Verify off", "--no-verify"},
        {"control endpoint on", "--cmd-via-control-endpoint"},
        {"non-Latin texts", "--title 'Zwölf 中文 😀' --text '\"  quoted  \"' --version 'é€'"},
        {"an empty title and text", "--title '' --text ''"},
        {"a long note", "--note " + std::string(80, 'n'), true, true},
        {"an image converted from HEX", "--internal " + path("fw.hex")},
        {"an ELF packaged with --raw", "--raw --internal " + path("fw.elf")},
        {"a seed that is not findable", "", false},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string package = path("p" + std::to_string(row)) + ".exe";
        const std::string folder = path("d" + std::to_string(row));
        const std::string again = path("q" + std::to_string(row++)) + ".exe";
        const bool ownImage = c.options.find("--internal") != std::string::npos;
        const auto made =
            run(kSfmaker + " make -q --time 1700000000 --output " + package +
                (ownImage ? "" : " --internal " + path("internal.bin")) + " " + c.options);
        ASSERT_EQ(made.exitCode, 0) << made.out;
        if (!c.seedKnown) {
            // One decoy byte changed: no seed of the generator draws this package.
            auto bytes = test::readBytes(package);
            const int slot =
                nlohmann::json::parse(run(kSfmaker + " inspect --json " + package).out)["keySlot"];
            bytes[bytes.size() - 656 + 636 + 4 * (1 - slot)] ^= 1;
            writeBytes(package, bytes);
        }
        ASSERT_EQ(run(kSfmaker + " extract " + package + " --dir " + folder).exitCode, 0);
        const auto remade = run("cd / && SOURCE_DATE_EPOCH=5 " + kSfmaker + " make --settings " +
                                folder + "/package.ini --output " + again);
        ASSERT_EQ(remade.exitCode, 0) << remade.out;

        auto inspect = [](const std::string& file) {
            auto json = nlohmann::json::parse(run(kSfmaker + " inspect --json " + file).out);
            for (const char* key : {"key", "keySlot", "keySeed"}) json.erase(key);
            return json;
        };
        EXPECT_EQ(inspect(again), inspect(package));
        EXPECT_EQ(inspect(package)["noteCut"], c.noteCut);
        EXPECT_EQ(run("cmp -s " + package + " " + again).exitCode == 0, c.seedKnown);
    }
    // Options beside the file override it: here a text, the seed and Verify.
    ASSERT_EQ(run(kSfmaker + " make -q --settings " + path("d0/package.ini") + " --output " +
                  path("other.exe") + " --title Other --time 7 --no-verify")
                  .exitCode,
              0);
    const auto other =
        nlohmann::json::parse(run(kSfmaker + " inspect --json " + path("other.exe")).out);
    EXPECT_EQ(other["title"], "Other");
    EXPECT_EQ(other["keySeed"], 7);
    EXPECT_EQ(other["verify"], false);
    EXPECT_EQ(other["apVid"], "1A2B");
}

TEST_F(CliTest, WithoutFieldOptionsTheDialogsSettingsAreUsed) {
    const auto folder = dir / "data" / "QX32_SparrowflasherMakerIII";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "setting.ini")
        << "[SETTING]\nVersionString=7.7\nImagePath1=internal.bin\n";
    const auto made = run("cd " + path("") + " && XDG_DATA_HOME=" + path("data") + " " + kSfmaker +
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
        SCOPED_TRACE(name);
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
    ASSERT_TRUE(test::giveToAnotherUser(dir.path()));
    ASSERT_TRUE(test::giveToAnotherUser(dir / "pkg.exe"));
    std::filesystem::permissions(dir / "pkg.exe", std::filesystem::perms(0200));
    // The other user may not reach the build folder's template (a clone in a
    // private folder): it gets a copy of its own.
    std::filesystem::copy_file(kBin + "/AP2.EXE", dir / "AP2.EXE");
    const auto refused =
        run(test::asAnotherUserCommand() + makeCommand("pkg.exe", "--template " + path("AP2.EXE")));
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

// Even kill -9 leaves no temporary file, and the file the package was to
// replace stays as it was. Ctrl+C and SIGTERM stop the make between blocks;
// it cleans up, says so and ends by that signal. Where the package cannot be
// written without a name (here: without /proc, hidden in a mount namespace of
// its own), the temporary file goes too, and SIGHUP removes it as it ends the make.
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
        const char* says;
    };
    const char* stopped = "sfmaker: interrupted; nothing was written to '";
    for (const Case c :
         {Case{SIGKILL, false, ""}, Case{SIGINT, false, stopped}, Case{SIGTERM, false, stopped},
          Case{SIGTERM, true, stopped}, Case{SIGINT, true, stopped}, Case{SIGHUP, true, ""}}) {
        SCOPED_TRACE("signal " + std::to_string(c.signal) +
                     (c.withoutProc ? " without /proc" : ""));
        if (c.withoutProc && !canHideProc) continue;
        fs::create_directory(out);
        writeBytes(out / "pkg.exe", {1, 2, 3});
        std::vector<std::string> command = {
            kSfmaker,         "make",       "--output",        path("out/pkg.exe"),
            "--force",        "--internal", path("large.bin"), "--template",
            kBin + "/AP2.EXE"};
        if (c.withoutProc) {
            command.insert(command.begin(),
                           {"unshare", "-m", "sh", "-c", "umount -l /proc && exec \"$@\"", "sh"});
        }
        const pid_t make = start(command, path("errors"));
        ASSERT_GT(make, 0);
        ASSERT_TRUE(waitUntilWritingInto(make, out)) << c.signal;
        ::kill(make, c.signal);
        int status = 0;
        ASSERT_EQ(::waitpid(make, &status, 0), make);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << c.signal;
        EXPECT_EQ(std::distance(fs::directory_iterator(out), {}), 1) << c.signal << c.withoutProc;
        EXPECT_EQ(test::readBytes(out / "pkg.exe"), (std::vector<uint8_t>{1, 2, 3}));
        std::ifstream errors(dir / "errors");
        const std::string said(std::istreambuf_iterator<char>(errors), {});
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
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
        EXPECT_EQ(fs::file_size(dir / folder / "AP2.EXE"), fs::file_size(kBin + "/AP2.EXE"));
        const auto ini = test::readBytes(dir / folder / "package.ini");

        // The template and package.ini count as earlier results too.
        for (const char* earlier : {"AP2.EXE", "package.ini"}) {
            const std::string other = folder + "-" + earlier;
            fs::create_directory(dir / other);
            writeBytes(dir / other / earlier, {1});
            const auto held = run(extract("bare.exe", other, ""));
            EXPECT_EQ(held.exitCode, 1) << held.out;
            EXPECT_NE(held.out.find(std::string("already holds ") + earlier), std::string::npos)
                << held.out;
            EXPECT_FALSE(fs::exists(dir / other / "internal.bin"));
        }

        // A failure writes nothing: here cmdkey.bin is a folder.
        fs::create_directory(dir / folder / "cmdkey.bin");
        const auto failed = run(extract("full.exe", folder, " --force"));
        EXPECT_EQ(failed.exitCode, 1) << failed.out;
        EXPECT_EQ(test::readBytes(dir / folder / "internal.bin"), patternBytes(100, 9));
        EXPECT_FALSE(fs::exists(dir / folder / "external.bin"));
        EXPECT_EQ(test::readBytes(dir / folder / "package.ini"), ini);
    }
}

// On Linux a name is bytes: one that is no UTF-8 reaches the file system unchanged.
TEST_F(CliTest, NamesThatAreNotUtf8AreUsedByteForByte) {
    const std::string image = path("in\xE9.bin");
    std::filesystem::copy_file(dir / "internal.bin", image);
    const auto made = run(kSfmaker + " make --time 5 --output '" + path("out\xE9.exe") +
                          "' --internal '" + image + "' --cmd-key '" + path("cmd.key") + "'");
    ASSERT_EQ(made.exitCode, 0) << made.out;
    const auto extracted =
        run(kSfmaker + " extract '" + path("out\xE9.exe") + "' --dir '" + path("d\xE9") + "'");
    ASSERT_EQ(extracted.exitCode, 0) << extracted.out;
    EXPECT_EQ(test::readBytes(dir / "d\xE9" / "internal.bin"), patternBytes(4000, 1));
}

TEST(TemplateCli, RunBareItSaysItCarriesNoPackage) {
    const auto bare = run(kBin + "/AP2.EXE");
    EXPECT_EQ(bare.exitCode, 1);
    EXPECT_NE(bare.out.find("carries no package"), std::string::npos) << bare.out;
}

// The JSON that `command` prints on stdout, and how it ended.
std::pair<int, nlohmann::json> runJson(const std::string& command) {
    const auto ran = run("(" + command + " 2>/dev/null)");
    return {ran.exitCode, nlohmann::json::accept(ran.out) ? nlohmann::json::parse(ran.out)
                                                          : nlohmann::json(ran.out)};
}

// diff compares what the packages hold once each is unscrambled with its own
// key: 0 for the same content (identical or not), 1 with the differing fields,
// 2 for a side it cannot compare, named with the reason.
TEST_F(CliTest, DiffTellsTheSameContentEachDifferenceAndTrouble) {
    // Images of more than two blocks, changed past the first block: the bytes
    // are compared and unscrambled where each block lies.
    auto image = patternBytes(5'000'000, 7);
    writeBytes(dir / "big.bin", image);
    writeBytes(dir / "shorter.bin", {image.begin(), image.begin() + 4'000'000});
    image[1'048'579] ^= 1;
    image[2'097'159] ^= 0x80;
    writeBytes(dir / "changed.bin", image);
    for (const auto& [package, options] :
         {std::pair{"a.exe", "--internal big.bin --time 1"},
          {"rekeyed.exe", "--internal big.bin --time 2"},
          {"retitled.exe", "--internal big.bin --time 1 --title Other"},
          {"changed.exe", "--internal changed.bin --time 1"},
          {"shorter.exe", "--internal shorter.bin --time 1"}}) {
        ASSERT_EQ(
            run("cd " + path("") + " && " + kSfmaker + " make -q -o " + package + " " + options)
                .exitCode,
            0);
    }
    std::filesystem::copy_file(dir / "a.exe", dir / "copy.exe");
    std::filesystem::create_symlink(dir / "a.exe", dir / "link.exe");
    auto bytes = test::readBytes(dir / "a.exe");
    bytes.resize(bytes.size() - 100);
    writeBytes(dir / "truncated.exe", bytes);
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(dir / "folder");

    struct Case {
        const char* name;
        const char* other;
        int exitCode;
        nlohmann::json identical;  // null when the comparison is trouble
        const char* field;         // the one differing field, if any
        nlohmann::json firstDifference;
        uint64_t differingBytes;
        const char* says;  // in the text (and stderr)
    };
    for (const Case& c : {
             Case{"a byte-identical copy", "copy.exe", 0, true, "", {}, 0, "byte-identical"},
             Case{"the same content, another key",
                  "rekeyed.exe",
                  0,
                  false,
                  "",
                  {},
                  0,
                  "hold the same content, but are not byte-identical: key"},
             Case{"a changed field",
                  "retitled.exe",
                  1,
                  false,
                  "title",
                  {},
                  0,
                  "title: \"Tavlen Sparrowflasher V1.0.0\" in"},
             Case{"a changed image byte", "changed.exe", 1, false, "internal", 1'048'579, 2,
                  "2 of the first 5000000 bytes differ, the first at offset 1048579"},
             Case{"images of different lengths", "shorter.exe", 1, false, "internal", nullptr, 0,
                  "the first 4000000 bytes are the same"},
             Case{"a missing file", "none.exe", 2, {}, "", {}, 0, "none.exe': No such file"},
             Case{"not a package",
                  "big.bin",
                  2,
                  {},
                  "",
                  {},
                  0,
                  "big.bin': the file is not a package"},
             Case{"a truncated package", "truncated.exe", 2, {}, "", {}, 0, "truncated.exe"},
             Case{"a folder", "folder", 2, {}, "", {}, 0, "folder': it is a folder"},
             Case{"a FIFO", "fifo", 2, {}, "", {}, 0, "fifo': it is a named pipe"},
             Case{"two names for one file", "link.exe", 2, {}, "", {}, 0, "are one file"},
         }) {
        SCOPED_TRACE(c.name);
        const std::string command = kSfmaker + " diff " + path("a.exe") + " " + path(c.other);
        const auto text = run(command);
        EXPECT_EQ(text.exitCode, c.exitCode) << text.out;
        EXPECT_NE(text.out.find(c.says), std::string::npos) << text.out;
        const auto [exitCode, json] = runJson(command + " --json");
        EXPECT_EQ(exitCode, c.exitCode);
        if (c.identical.is_null()) {
            EXPECT_EQ(json, "") << "nothing on stdout";
            continue;
        }
        EXPECT_EQ(json["format"], 1);
        EXPECT_EQ(json["identical"], c.identical);
        EXPECT_EQ(json["sameContent"], c.exitCode == 0);
        const auto& differences = json["differences"];
        const auto found = std::find_if(differences.begin(), differences.end(),
                                        [&c](const auto& d) { return d["field"] == c.field; });
        if (*c.field == 0) {
            EXPECT_TRUE(differences.empty()) << differences;
            continue;
        }
        ASSERT_NE(found, differences.end()) << differences;
        if (c.field == std::string("title")) {
            EXPECT_EQ((*found)["b"], "Other");
        } else {
            EXPECT_EQ((*found)["firstDifference"], c.firstDifference);
            EXPECT_EQ((*found)["differingBytes"], c.differingBytes);
            EXPECT_EQ((*found)["a"]["length"], 5'000'000);
            EXPECT_EQ((*found)["a"]["sha256"].get<std::string>().size(), 64u);
        }
    }
}

// Every file under `folder`, with its size and the time it was last written.
std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>> filesUnder(
    const std::filesystem::path& folder) {
    std::map<std::string, std::pair<uintmax_t, std::filesystem::file_time_type>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        files[entry.path().string()] = {entry.is_regular_file() ? entry.file_size() : 0,
                                        entry.last_write_time()};
    }
    return files;
}

// verify builds the package its sources make with the checked package's key
// seed, converting images as make does, and compares it as diff does; it
// writes nothing, wherever it runs.
TEST_F(CliTest, VerifyTellsWhetherThePackageHoldsWhatItsSourcesMake) {
    const std::string hex = ":0400000001020304F2\n:020008000506EB\n:00000001FF\n";
    writeBytes(dir / "fw.hex", std::vector<uint8_t>(hex.begin(), hex.end()));
    writeBytes(dir / "other.bin", patternBytes(10, 9));
    const std::string sources = " --internal " + path("fw.hex") + " --external " +
                                path("external.bin") + " --cmd-key " + path("cmd.key");
    ASSERT_EQ(run(kSfmaker + " make -q -o " + path("pkg.exe") + " --time 1 " + sources).exitCode,
              0);
    auto bytes = test::readBytes(dir / "pkg.exe");
    const int keySlot = runJson(kSfmaker + " inspect --json " + path("pkg.exe")).second["keySlot"];
    bytes[bytes.size() - 656 + 636 + 4 * (1 - keySlot)] ^= 1;  // a decoy byte no seed draws
    writeBytes(dir / "foreign.exe", bytes);
    std::filesystem::create_directory(dir / "elsewhere");
    const auto before = filesUnder(dir.path());

    struct Case {
        const char* name;
        const char* package;
        std::string options;
        int exitCode;
        nlohmann::json identical;  // null when the check is trouble
        const char* field;         // the one differing field, if any
        const char* says;
    };
    for (const Case& c : {
             Case{"the sources that made it", "pkg.exe", sources, 0, true, "", "byte-identical"},
             Case{"a changed option", "pkg.exe", sources + " --title Other", 1, false, "title",
                  "title: \"Tavlen Sparrowflasher V1.0.0\" in"},
             Case{"another image of the same length", "pkg.exe",
                  " --internal " + path("other.bin") + " --external " + path("external.bin") +
                      " --cmd-key " + path("cmd.key"),
                  1, false, "internal", "bytes differ, the first at offset 0"},
             Case{"sources naming a missing image",
                  "pkg.exe",
                  " --internal none.bin",
                  2,
                  {},
                  "",
                  "cannot open the internal image"},
             Case{"a package whose key no seed draws", "foreign.exe", sources, 0, false, "",
                  "its content alone is compared"},
         }) {
        SCOPED_TRACE(c.name);
        const std::string command = "cd " + path("elsewhere") + " && " + kSfmaker + " verify ../" +
                                    c.package + " " + c.options;
        const auto text = run(command);
        EXPECT_EQ(text.exitCode, c.exitCode) << text.out;
        EXPECT_NE(text.out.find(c.says), std::string::npos) << text.out;
        const auto [exitCode, json] = runJson(command + " --json");
        EXPECT_EQ(exitCode, c.exitCode);
        if (c.identical.is_null()) continue;
        EXPECT_EQ(json["identical"], c.identical);
        EXPECT_EQ(json["sameContent"], c.exitCode == 0);
        EXPECT_EQ(json["differences"].size(), *c.field == 0 ? 0u : 1u) << json;
        if (*c.field != 0) {
            EXPECT_EQ(json["differences"][0]["field"], c.field) << json;
        }
    }
    EXPECT_EQ(filesUnder(dir.path()), before) << "verify wrote nothing";
}

}  // namespace
}  // namespace sf
