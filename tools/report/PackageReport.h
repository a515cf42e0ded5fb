#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "package/PackageReader.h"
#include "platform/Expected.h"

namespace sf {

// What a package holds, with each image's SHA-256 and the seed its key was
// drawn from (none when no seed of this tool's generator draws it).
struct PackageReport {
    PackageContents contents;
    std::string internalSha256;
    std::string externalSha256;
    std::optional<uint32_t> keySeed;
};

// Reads a package, hashes its images and finds its key seed.
Expected<PackageReport> reportPackage(const std::filesystem::path& path);

// The report as a JSON object (of format 1), and as text for people.
nlohmann::ordered_json reportJson(const PackageReport& report);
std::string reportText(const PackageReport& report);

}  // namespace sf
