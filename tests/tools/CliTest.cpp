#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "support/TempDir.h"

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

TEST(TemplateCli, RunBareItSaysItCarriesNoPackage) {
    const auto bare = run(kBin + "/AP2.EXE");
    EXPECT_EQ(bare.exitCode, 1);
    EXPECT_NE(bare.out.find("carries no package"), std::string::npos) << bare.out;
}

}  // namespace
}  // namespace sf
