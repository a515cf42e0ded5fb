// sfmaker: makes, inspects and unpacks Sparrowflasher packages from the command line.
// Exit codes: 0 success, 1 failure, 2 usage.
#include <CLI/CLI.hpp>

#include <iostream>
#include <optional>

#include "package/PackageBuilder.h"
#include "platform/CommandLine.h"
#include "platform/Console.h"
#include "platform/Interrupt.h"
#include "platform/Utf.h"
#include "settings/SettingsWarnings.h"
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

int run(int argc, char** argv) {
    // Named here: CLI11 would take the name from argv[0], the path it was started by.
    CLI::App app{"Makes, inspects and unpacks Sparrowflasher firmware-updater packages.",
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

    addNotes(app, *make);

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
