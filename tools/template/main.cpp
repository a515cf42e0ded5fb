// The stand-in updater. Run as part of a package, it reads the payload at the
// end of its own file and reports what it carries; --extract DIR writes the
// images and the command key out.
#include <iostream>
#include <string>
#include <vector>

#include "platform/CommandLine.h"
#include "platform/Console.h"
#include "platform/ExecutablePath.h"
#include "platform/Utf.h"
#include "tools/report/PackageReport.h"

int main(int argc, char** argv) {
    sf::writeUtf8ToConsole();
    const std::filesystem::path self = sf::executablePath();
    const std::vector<std::string> arguments = sf::commandLineArguments(argc, argv);
    const std::size_t count = arguments.size();
    const std::string option = count > 1 ? arguments[1] : "";
    const bool json = option == "--json";
    const bool extract = option == "--extract" && count > 2;
    if ((!option.empty() && !json && !extract) || count > (extract ? 3u : 2u)) {
        std::cerr << "usage: " << sf::pathToUtf8(self.filename()) << " [--json | --extract DIR]\n";
        return 2;
    }

    auto report = sf::reportPackage(self);
    if (!report) {
        std::cerr << "This updater carries no package: " << report.error() << '\n';
        return 1;
    }
    if (extract) {
        if (auto done = sf::extractPackage(self, sf::pathFromUtf8(arguments[2])); !done) {
            std::cerr << done.error() << '\n';
            return 1;
        }
        std::cout << "Images written to " << arguments[2] << '\n';
        return 0;
    }
    if (json) {
        std::cout << sf::reportJson(*report).dump(2) << '\n';
    } else {
        std::cout << "Sparrowflasher updater\n" << sf::reportText(*report);
    }
    return 0;
}
