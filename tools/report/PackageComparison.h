#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/Expected.h"
#include "tools/report/PackageSide.h"

namespace sf {

// How two runs of bytes compare within the shorter of them.
struct ByteComparison {
    std::optional<uint64_t> firstDifference;  // none: the shorter is the start of the longer
    uint64_t differingBytes = 0;
};

// A field whose content differs: its name as inspect's JSON has it ("title",
// "internal", ...; "template" for the template), and its value on each side
// as inspect shows it. The template and the images also say how their bytes
// compare.
struct Difference {
    std::string field;
    nlohmann::ordered_json a;
    nlohmann::ordered_json b;
    std::optional<ByteComparison> bytes;
};

// How two packages compare. The key, its slot and the seed it was drawn
// from are not content: two packages made from the same inputs in different
// seconds hold the same content, and only their bytes differ.
struct PackageComparison {
    bool identical = false;  // the same bytes, key included
    bool sameContent = false;
    std::vector<Difference> differences;
    std::string keyA;  // "3610bea2 in slot 0"
    std::string keyB;
};

// Compares the two field by field and part by part, reading both in step, a
// block at a time, so that memory stays the same whatever their sizes. An
// image or the template is hashed only when it differs.
Expected<PackageComparison> comparePackages(PackageSide& a, PackageSide& b);

// The comparison as a JSON object (of format 1), and as text for people that
// calls the sides `a` and `b`.
nlohmann::ordered_json comparisonJson(const PackageComparison& comparison);
std::string comparisonText(const PackageComparison& comparison, const std::string& a,
                           const std::string& b);

}  // namespace sf
