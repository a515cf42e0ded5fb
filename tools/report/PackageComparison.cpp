#include "tools/report/PackageComparison.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <future>
#include <memory>

#include "platform/HexDigits.h"
#include "tools/report/PackageReport.h"

namespace sf {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

// The members of inspect's JSON that are not content.
bool isContent(const std::string& field) {
    return field != "format" && field != "key" && field != "keySlot" && field != "keySeed";
}

void countDifferences(std::span<const uint8_t> a, std::span<const uint8_t> b, uint64_t position,
                      ByteComparison& result) {
    if (std::memcmp(a.data(), b.data(), a.size()) == 0) return;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        if (!result.firstDifference) result.firstDifference = position + i;
        ++result.differingBytes;
    }
}

// Reads a piece's next block, which starts at `position` within it, and unscrambles it.
Status readBlock(const Piece& piece, std::span<uint8_t> block, uint64_t position) {
    if (auto read = piece.read(block); !read) return read;
    if (piece.scrambler) piece.scrambler->apply(block, position);
    return success();
}

// Reads the two pieces in step, a block of each at a time, and compares them
// within the shorter length.
Expected<ByteComparison> compareBytes(const Piece& a, const Piece& b) {
    ByteComparison result;
    const uint64_t common = std::min(a.length, b.length);
    const auto size = static_cast<std::size_t>(std::min<uint64_t>(kBlockSize, common));
    const auto blocks = std::make_unique_for_overwrite<uint8_t[]>(2 * size);
    const std::span<uint8_t> blockA(blocks.get(), size);
    const std::span<uint8_t> blockB(blocks.get() + size, size);
    for (uint64_t position = 0; position < common;) {
        const auto n = static_cast<std::size_t>(std::min<uint64_t>(size, common - position));
        if (auto read = readBlock(a, blockA.first(n), position); !read) return failureOf(read);
        if (auto read = readBlock(b, blockB.first(n), position); !read) return failureOf(read);
        countDifferences(blockA.first(n), blockB.first(n), position, result);
        position += n;
    }
    return result;
}

// What inspect shows of a side, with the SHA-256 of the parts that differ.
struct SideReport {
    PackageReport report;
    std::string templateSha256;
};

Status hashPart(PackageSide& side, PackagePart part, SideReport& into) {
    auto piece = side.read(part);
    if (!piece) return failureOf(piece);
    auto sha = sha256Of(*piece);
    if (!sha) return failureOf(sha);
    auto& target = part == PackagePart::Template   ? into.templateSha256
                   : part == PackagePart::External ? into.report.externalSha256
                                                   : into.report.internalSha256;
    target = *sha;
    return success();
}

uint32_t startOf(const PackageContents& c, PackagePart part) {
    return part == PackagePart::External   ? c.external.start
           : part == PackagePart::Internal ? c.internal.start
                                           : 0;
}

std::string keyText(const PackageContents& c) {
    return hexBytes(c.key, LetterCase::Lower) + " in slot " + std::to_string(c.keySlot);
}

// A value as the text shows it: an image or the template by its length (and
// start) and SHA-256, anything else as JSON writes it.
std::string valueText(const nlohmann::ordered_json& value) {
    if (!value.is_object()) return value.dump();
    std::string text = std::to_string(value["length"].get<uint64_t>()) + " bytes";
    if (value.contains("start")) {
        text += " at 0x" + hexNumber(value["start"].get<uint32_t>(), 8, LetterCase::Upper);
    }
    return text + ", SHA-256 " + value["sha256"].get<std::string>();
}

// How the bytes compare, after the two values; empty when there is nothing to add.
std::string bytesText(const ByteComparison& bytes, uint64_t lengthA, uint64_t lengthB) {
    const uint64_t common = std::min(lengthA, lengthB);
    if (bytes.firstDifference) {
        return "; " + std::to_string(bytes.differingBytes) + " of the first " +
               std::to_string(common) + " bytes differ, the first at offset " +
               std::to_string(*bytes.firstDifference);
    }
    if (lengthA == lengthB) return "; the bytes are the same";
    if (common == 0) return {};
    return "; the first " + std::to_string(common) + " bytes are the same";
}

}  // namespace

Expected<PackageComparison> comparePackages(PackageSide& a, PackageSide& b) {
    std::array<SideReport, 2> sides{SideReport{{a.contents, {}, {}, {}}, {}},
                                    SideReport{{b.contents, {}, {}, {}}, {}}};
    std::array<std::optional<ByteComparison>, 3> parts;
    for (const PackagePart part :
         {PackagePart::Template, PackagePart::External, PackagePart::Internal}) {
        auto pieceA = a.read(part);
        if (!pieceA) return failureOf(pieceA);
        auto pieceB = b.read(part);
        if (!pieceB) return failureOf(pieceB);
        auto bytes = compareBytes(*pieceA, *pieceB);
        if (!bytes) return failureOf(bytes);
        if (bytes->differingBytes == 0 && pieceA->length == pieceB->length &&
            startOf(a.contents, part) == startOf(b.contents, part)) {
            continue;
        }
        // Hashing is slower than reading: the two sides are hashed side by side.
        auto hashedA = std::async(std::launch::async, [&] { return hashPart(a, part, sides[0]); });
        const Status hashedB = hashPart(b, part, sides[1]);
        if (auto s = hashedA.get(); !s) return failureOf(s);
        if (!hashedB) return failureOf(hashedB);
        parts[static_cast<std::size_t>(part)] = *bytes;
    }

    const auto templateJson = [](const SideReport& side) {
        return nlohmann::ordered_json{{"length", side.report.contents.templateSize},
                                      {"sha256", side.templateSha256}};
    };
    const auto partOf = [&parts](PackagePart part) {
        return parts[static_cast<std::size_t>(part)];
    };

    PackageComparison result;
    const auto jsonA = reportJson(sides[0].report);
    const auto jsonB = reportJson(sides[1].report);
    for (const auto& item : jsonA.items()) {
        const std::string& field = item.key();
        if (!isContent(field)) continue;
        const auto& valueA = item.value();
        const auto& valueB = jsonB.at(field);
        if (field == "internal" || field == "external") {
            const auto bytes =
                partOf(field == "internal" ? PackagePart::Internal : PackagePart::External);
            if (bytes) result.differences.push_back({field, valueA, valueB, bytes});
        } else if (valueA != valueB) {
            result.differences.push_back({field, valueA, valueB, {}});
        }
        if (field == "templateSize" && partOf(PackagePart::Template)) {
            result.differences.push_back({"template", templateJson(sides[0]),
                                          templateJson(sides[1]), partOf(PackagePart::Template)});
        }
    }
    result.sameContent = result.differences.empty();
    result.identical = result.sameContent && a.contents.trailer == b.contents.trailer;
    result.keyA = keyText(a.contents);
    result.keyB = keyText(b.contents);
    return result;
}

nlohmann::ordered_json comparisonJson(const PackageComparison& comparison) {
    auto differences = nlohmann::ordered_json::array();
    for (const Difference& d : comparison.differences) {
        nlohmann::ordered_json entry{{"field", d.field}, {"a", d.a}, {"b", d.b}};
        if (d.bytes) {
            entry["firstDifference"] = d.bytes->firstDifference
                                           ? nlohmann::ordered_json(*d.bytes->firstDifference)
                                           : nullptr;
            entry["differingBytes"] = d.bytes->differingBytes;
        }
        differences.push_back(std::move(entry));
    }
    return {{"format", 1},
            {"identical", comparison.identical},
            {"sameContent", comparison.sameContent},
            {"differences", differences}};
}

std::string comparisonText(const PackageComparison& comparison, const std::string& a,
                           const std::string& b) {
    const std::string both = a + " and " + b;
    if (comparison.sameContent) {
        std::string text = both + " hold the same content";
        if (comparison.identical) return text + ", and are byte-identical\n";
        text += ", but are not byte-identical: ";
        if (comparison.keyA != comparison.keyB) {
            return text + "key " + comparison.keyA + " against key " + comparison.keyB + "\n";
        }
        return text + "their trailers differ in bytes that no field shows\n";
    }
    const std::size_t n = comparison.differences.size();
    std::string text =
        both + " differ in " + std::to_string(n) + (n == 1 ? " field:\n" : " fields:\n");
    for (const Difference& d : comparison.differences) {
        text += "  " + d.field + ": " + valueText(d.a) + " in " + a + "; " + valueText(d.b) +
                " in " + b;
        if (d.bytes) {
            text +=
                bytesText(*d.bytes, d.a["length"].get<uint64_t>(), d.b["length"].get<uint64_t>());
        }
        text += '\n';
    }
    return text;
}

}  // namespace sf
