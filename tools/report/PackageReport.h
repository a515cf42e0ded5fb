#pragma once

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "package/PackageReader.h"
#include "platform/Expected.h"

namespace sf {

// What a package holds, with each image's SHA-256.
struct PackageReport {
    PackageContents contents;
    std::string internalSha256;
    std::string externalSha256;
};

// Reads a package and hashes its images.
Expected<PackageReport> reportPackage(const std::filesystem::path& path);

// The report as a JSON object, and as text for people.
nlohmann::ordered_json reportJson(const PackageReport& report);
std::string reportText(const PackageReport& report);

// What an extract does with the results of an earlier one in its folder.
enum class ExistingResults { Refuse, Replace };

// Writes internal.bin, external.bin (when the package has an external image)
// and cmdkey.bin (when the command key is in use) into `directory`: all of
// them or, on failure, none. A folder that holds any of the three names
// already is refused, unless `existing` is Replace: then the files are
// replaced and the names this package does not have are removed, so the
// folder holds this package's results only.
Status extractPackage(const std::filesystem::path& package, const std::filesystem::path& directory,
                      ExistingResults existing = ExistingResults::Refuse);

}  // namespace sf
