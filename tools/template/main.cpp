// The stand-in updater. Run as part of a package, it reads the payload at the
// end of its own file and reports what it carries; --extract DIR [--force]
// writes the images, the command key, the template and the settings that
// make the package again out.
#include <iostream>
#include <string>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/Console.h"
#include "platform/ExecutablePath.h"
#include "platform/Utf.h"
#include "tools/report/PackageExtract.h"
#include "tools/report/PackageReport.h"

int main(int argc, char** argv) {
    sf::writeUtf8ToConsole();
    const std::filesystem::path self = sf::executablePath();
    const std::vector<std::string> arguments = sf::commandLineArguments(argc, argv);
    const std::size_t count = arguments.size();
    const std::string option = count > 1 ? arguments[1] : "";
    const bool json = option == "--json" && count == 2;
    // --force replaces what an earlier extract left in the folder.
    const bool force = count == 4 && arguments[3] == "--force";
    const bool extract = option == "--extract" && (count == 3 || force);
    if (count > 1 && !json && !extract) {
        std::cerr << "usage: " << sf::pathToUtf8(self.filename())
                  << " [--json | --extract DIR [--force]]\n"
                  << "  --extract DIR  write internal.bin, external.bin, cmdkey.bin, AP2.EXE and\n"
                  << "                 package.ini (which re-makes the package) into DIR; a\n"
                  << "                 folder that holds any of them already is refused\n"
                  << "                 unless --force is given\n";
        return 2;
    }

    auto report = sf::reportPackage(self);
    if (!report) {
        std::cerr << "This updater carries no package: " << report.error().message << '\n';
        return 1;
    }
    if (extract) {
        const auto existing = force ? sf::ExistingResults::Replace : sf::ExistingResults::Refuse;
        if (auto done = sf::extractPackage(self, sf::pathFromUtf8(arguments[2]), existing); !done) {
            std::cerr << done.error().message << '\n';
            return 1;
        }
        std::cout << "Images, template and package.ini written to " << arguments[2] << '\n';
        return 0;
    }
    if (json) {
        std::cout << sf::reportJson(*report).dump(2) << '\n';
    } else {
        std::cout << "Sparrowflasher updater\n" << sf::reportText(*report);
    }
    return 0;
}
