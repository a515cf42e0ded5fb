// The whole read path on a real file, as `sfmaker inspect` and `extract` and
// the stand-in take it: the input is written to a file in a folder of its own,
// reported as text and JSON, and extracted into a folder beside it. Nothing
// may appear anywhere else in the folder, and each extracted file must be as
// long as the package says. A package is then compared with a copy of
// itself, which must be identical, and with a copy with one byte changed,
// which must not be (or is no package at all).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "tools/report/PackageComparison.h"
#include "tools/report/PackageExtract.h"
#include "tools/report/PackageReport.h"
#include "tools/report/RemakeSettings.h"

namespace {

namespace fs = std::filesystem;

// The folder of this process's files, removed when the fuzzer ends. It is
// never destroyed, so the removal at exit can still name it.
const fs::path* workFolder = nullptr;

void require(bool condition) {
    if (!condition) __builtin_trap();
}

// The files an extraction of `report` writes, with their sizes.
std::map<std::string, uint64_t> expectedFiles(const sf::PackageReport& report) {
    const auto& contents = report.contents;
    std::map<std::string, uint64_t> files{{"internal.bin", contents.internal.length}};
    if (contents.external.length > 0) files["external.bin"] = contents.external.length;
    if (contents.descriptor.number(sf::descriptor::cmdKeyEnabled) != 0) {
        files["cmdkey.bin"] = contents.descriptor.cmdKeyBytes().size();
    }
    files["AP2.EXE"] = contents.templateSize;
    files["package.ini"] = sf::remakeSettings(contents, report.keySeed).size();
    return files;
}

std::map<std::string, uint64_t> filesIn(const fs::path& folder) {
    std::map<std::string, uint64_t> files;
    if (!fs::exists(folder)) return files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? entry.file_size() : ~0ull;
    }
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    workFolder =
        new fs::path(fs::temp_directory_path() / ("sf-fuzz-package-" + std::to_string(getpid())));
    fs::remove_all(*workFolder);
    fs::create_directories(*workFolder);
    std::atexit([] { fs::remove_all(*workFolder); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const fs::path package = *workFolder / "package.exe";
    const fs::path out = *workFolder / "out";
    std::ofstream(package, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    const auto report = sf::reportPackage(package);
    if (report) {
        require(!sf::reportText(*report).empty());
        const auto json = sf::reportJson(*report);
        require(json["internal"]["length"] == report->contents.internal.length);
        require(json["cmdKeyLength"].get<uint32_t>() <= 64);
    }
    if (report) {
        const fs::path copy = *workFolder / "copy.exe";
        fs::copy_file(package, copy, fs::copy_options::overwrite_existing);
        auto a = sf::packageFileSide(package);
        auto same = sf::packageFileSide(copy);
        require(a && same);
        const auto itself = sf::comparePackages(*a, *same);
        require(itself && itself->identical && itself->sameContent);
        // The byte the input's first byte names is changed.
        std::string damaged(reinterpret_cast<const char*>(data), size);
        damaged[data[0] % size] ^= static_cast<char>(data[size - 1] | 1);
        std::ofstream(copy, std::ios::binary | std::ios::trunc)
            .write(damaged.data(), static_cast<std::streamsize>(size));
        if (auto b = sf::packageFileSide(copy)) {
            const auto compared = sf::comparePackages(*a, *b);
            require(compared && !compared->identical);
            require(compared->sameContent == compared->differences.empty());
            require(!sf::comparisonText(*compared, "a", "b").empty());
            require(sf::comparisonJson(*compared)["format"] == 1);
        }
        fs::remove(copy);
    }
    const auto extracted = sf::extractPackage(package, out);
    require(extracted.has_value() == report.has_value());

    require(filesIn(*workFolder).size() == (fs::exists(out) ? 2u : 1u));
    const auto written = filesIn(out);
    require(extracted ? written == expectedFiles(*report) : written.empty());
    fs::remove_all(out);
    return 0;
}
