// sfmaker: makes, inspects, unpacks, compares and checks Sparrowflasher packages from the
// command line. Exit codes: 0 success, 1 failure, 2 usage; diff and verify: 0 the same
// content, 1 a difference, 2 trouble.
#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>

#include "package/KeySeed.h"
#include "package/PackageBuilder.h"
#include "platform/CommandLine.h"
#include "platform/Console.h"
#include "platform/Interrupt.h"
#include "platform/Utf.h"
#include "settings/SettingsWarnings.h"
#include "tools/report/PackageComparison.h"
#include "tools/report/PackageExtract.h"
#include "tools/report/PackageReport.h"
#include "tools/sfmaker/CliMakeUi.h"
#include "tools/sfmaker/Help.h"
#include "tools/sfmaker/MakeArguments.h"
#include "tools/sfmaker/MakeSources.h"
#include "tools/sfmaker/PathOptions.h"

namespace sf {
namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;
// What diff and verify end with: a difference, or trouble that stopped the comparison.
constexpr int kDiffers = 1;
constexpr int kTrouble = 2;

// Without an internal image there is nothing to make: say where one is given.
std::string noInternalImage(const std::optional<std::filesystem::path>& settingsFile) {
    std::string text = "sfmaker: no internal image: give --internal FILE";
    if (settingsFile) {
        return text + ", or ImagePath1 in the settings file " + quotedPath(*settingsFile);
    }
    return text + ", or --settings FILE with ImagePath1 in it";
}

// Tells what the package would ship that is likely a mistake. Under --strict
// each is an error and nothing may be made: false then.
bool acceptWarnings(const ProjectSettings& settings, const MakeArguments& args) {
    const auto warnings = settingsWarnings(settings);
    if (args.quiet && !args.strict) return true;
    for (const auto& warning : warnings) {
        std::cerr << "sfmaker: " << (args.strict ? "error: " : "warning: ") << warning.text
                  << " (set it with " << MakeArguments::optionOf(warning.control) << ")\n";
    }
    if (!args.strict || warnings.empty()) return true;
    std::cerr << "sfmaker: nothing written: --strict turns warnings into errors\n";
    return false;
}

int runMake(const MakeArguments& args) {
    auto sources = makeSources(args);
    if (!sources) {
        std::cerr << "sfmaker: " << sources.error().message << '\n';
        return kFailure;
    }
    const auto keyTime = args.keyTime(sources->keySeed);
    if (!keyTime) {
        std::cerr << "sfmaker: " << keyTime.error().message << '\n';
        return kUsage;
    }
    const ProjectSettings& settings = sources->settings;
    if (settings.internalImagePath.empty()) {
        std::cerr << noInternalImage(sources->settingsFile) << '\n';
        return kUsage;
    }
    if (!acceptWarnings(settings, args)) return kFailure;
    auto options = sources->options;
    options.clock = [seconds = *keyTime] { return seconds; };
    CliMakeUi ui(args.output, args.force, args.quiet);
    // Ctrl+C stops the make between blocks; it cleans up and says so.
    watchForInterrupts();
    const MakeOutcome outcome = PackageBuilder(options).make(settings, ui);
    if (outcome == MakeOutcome::Written) return 0;
    if (const int signal = interruptSignal(); signal != 0 && outcome == MakeOutcome::Cancelled) {
        ui.tell("interrupted; nothing was written to " + quotedPath(args.output));
        return endAsInterrupted(signal);
    }
    return kFailure;
}

int runInspect(const std::filesystem::path& package, bool json) {
    auto report = reportPackage(package);
    if (!report) {
        std::cerr << "sfmaker: " << report.error().message << '\n';
        return kFailure;
    }
    if (json) {
        std::cout << reportJson(*report).dump(2) << '\n';
    } else {
        std::cout << reportText(*report);
    }
    return 0;
}

int runExtract(const std::filesystem::path& package, const std::filesystem::path& directory,
               bool force) {
    const auto existing = force ? ExistingResults::Replace : ExistingResults::Refuse;
    if (auto done = extractPackage(package, directory, existing); !done) {
        std::cerr << "sfmaker: " << done.error().message << '\n';
        return kFailure;
    }
    std::cout << "Images, template and package.ini written to " << pathToUtf8(directory) << '\n';
    return 0;
}

// Tells how the two compare, and ends with 0 for the same content, 1 else.
int showComparison(const PackageComparison& comparison, const std::string& a, const std::string& b,
                   bool json) {
    if (json) {
        std::cout << comparisonJson(comparison).dump(2) << '\n';
    } else {
        std::cout << comparisonText(comparison, a, b);
    }
    return comparison.sameContent ? 0 : kDiffers;
}

int trouble(const Error& error) {
    std::cerr << "sfmaker: " << error.message << '\n';
    return kTrouble;
}

int runDiff(const std::filesystem::path& a, const std::filesystem::path& b, bool json) {
    auto sideA = packageFileSide(a);
    if (!sideA) return trouble(sideA.error());
    auto sideB = packageFileSide(b);
    if (!sideB) return trouble(sideB.error());
    // A file compared with itself says nothing: one of the two names is a slip.
    if (std::error_code ec; std::filesystem::equivalent(a, b, ec)) {
        return trouble({ErrorKind::Failed, quotedPath(a) + " and " + quotedPath(b) +
                                               " are one file: name two packages to compare"});
    }
    auto comparison = comparePackages(*sideA, *sideB);
    if (!comparison) return trouble(comparison.error());
    return showComparison(*comparison, quotedPath(a), quotedPath(b), json);
}

int runVerify(const std::filesystem::path& package, const MakeArguments& args, bool json) {
    auto packageSide = packageFileSide(package);
    if (!packageSide) return trouble(packageSide.error());
    auto sources = makeSources(args);
    if (!sources) return trouble(sources.error());
    if (sources->settings.internalImagePath.empty()) {
        std::cerr << noInternalImage(sources->settingsFile) << '\n';
        return kTrouble;
    }
    // Nothing is written: the UI only tells what the sources are and why they fail.
    CliMakeUi ui({}, false, false);
    auto inputs = PackageBuilder(sources->options).openInputs(sources->settings, ui);
    if (!inputs) return kTrouble;
    const auto& contents = packageSide->contents;
    const auto seed = findKeySeed(contents.key, contents.storedSlots);
    if (!seed) {
        ui.tell("no seed of the C runtime's generator draws the key of " + quotedPath(package) +
                ": its content alone is compared");
    }
    auto made = madePackageSide(*inputs, sources->settings, seed.value_or(0));
    if (!made) return trouble(made.error());
    auto comparison = comparePackages(*packageSide, *made);
    if (!comparison) return trouble(comparison.error());
    return showComparison(*comparison, quotedPath(package), "what the sources make", json);
}

int run(int argc, char** argv) {
    // Named here: CLI11 would take the name from argv[0], the path it was started by.
    CLI::App app{
        "Makes, inspects, unpacks, compares and checks Sparrowflasher firmware-updater packages.",
        "sfmaker"};
    addHelpAndVersion(app);
    app.require_subcommand(1);

    auto* make = app.add_subcommand("make", "Make a package");
    MakeArguments makeArgs(*make);

    std::filesystem::path package;
    bool json = false;
    auto* inspect = app.add_subcommand("inspect", "Show what a package holds");
    addPathOption(*inspect, "package", package, "The package file")->required();
    inspect->add_flag("--json", json, "Print JSON");

    std::filesystem::path directory;
    bool replaceResults = false;
    auto* extract = app.add_subcommand(
        "extract",
        "Write a package's images, command key and template to a folder (internal.bin, "
        "external.bin, cmdkey.bin, AP2.EXE) with package.ini, from which 'make --settings "
        "DIR/package.ini' makes the package again");
    addPathOption(*extract, "package", package, "The package file")->required();
    addPathOption(*extract, "--dir", directory, "The folder to write into")
        ->type_name("DIR")
        ->required();
    extract->add_flag("--force,-f", replaceResults,
                      "Replace the results of an earlier extract in the folder; names this "
                      "package does not have are removed. Without it such a folder is refused");

    std::filesystem::path other;
    auto* diff = app.add_subcommand(
        "diff",
        "Compare two packages field by field and image by image, each unscrambled with its own "
        "key; the key is not content");
    addPathOption(*diff, "package", package, "The first package file")->required();
    addPathOption(*diff, "other", other, "The second package file")->required();
    diff->add_flag("--json", json, "Print JSON");

    auto* verify = app.add_subcommand(
        "verify",
        "Check that a package holds what its sources make (taken as make takes them), with the "
        "package's own key seed; writes nothing");
    addPathOption(*verify, "package", package, "The package file")->required();
    MakeArguments verifyArgs(*verify, SourcesCommand::Verify);
    verify->add_flag("--json", json, "Print JSON");

    addNotes(app, *make, {diff, verify});

    try {
        // CLI11 takes the arguments as C strings; these are the UTF-8 ones.
        std::vector<std::string> arguments = commandLineArguments(argc, argv);
        std::vector<char*> pointers;
        for (std::string& argument : arguments) pointers.push_back(argument.data());
        app.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : kUsage;
    }
    if (make->parsed()) return runMake(makeArgs);
    if (inspect->parsed()) return runInspect(package, json);
    if (diff->parsed()) return runDiff(package, other, json);
    if (verify->parsed()) return runVerify(package, verifyArgs, json);
    return runExtract(package, directory, replaceResults);
}

}  // namespace
}  // namespace sf

int main(int argc, char** argv) {
    sf::writeUtf8ToConsole();
    // The core reports its failures as values; what still throws (running out
    // of memory, say) ends the program with a message rather than an abort.
    try {
        return sf::run(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "sfmaker: " << e.what() << '\n';
        return 1;
    }
}
