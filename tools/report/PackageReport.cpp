#include "tools/report/PackageReport.h"

#include <array>
#include <chrono>
#include <iomanip>
#include <sstream>
#include <vector>

#include "package/KeySeed.h"
#include "platform/AnsiCodePage.h"
#include "platform/AtomicOutputFile.h"
#include "platform/Utf.h"
#include "tools/report/Sha256.h"

namespace sf {
namespace {

// Bytes as lower-case hex digits, two a byte.
std::string hex(std::span<const uint8_t> bytes) {
    constexpr std::string_view kDigits = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0xF]);
    }
    return out;
}

Expected<std::string> hashImage(const std::filesystem::path& path, const PackageContents& contents,
                                const ImageLocation& image) {
    Sha256 sha;
    auto read = readImage(path, contents, image, [&sha](std::span<const uint8_t> block) {
        sha.update(block);
        return success();
    });
    if (!read) return failureOf(read);
    auto digest = sha.finish();
    if (!digest) return failureOf(digest);
    return hex(*digest);
}

std::string ansiField(const PackageDescriptor& d, DescriptorField field) {
    return utf16ToUtf8(fromAnsi(d.ansiText(field)));
}

std::string utf16Field(const PackageDescriptor& d, DescriptorField field) {
    return utf16ToUtf8(d.utf16Text(field));
}

bool flag(const PackageDescriptor& d, DescriptorField field) {
    return d.number(field) != 0;
}

// The seed and the time it stands for ("1700000000 (2023-11-14 22:13:20 UTC)"),
// or why there is none.
std::string keySeedText(std::optional<uint32_t> seed) {
    if (!seed) return "none (no seed of the C runtime's generator draws this key and decoy)";
    using namespace std::chrono;
    const sys_seconds time{seconds{*seed}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    std::ostringstream out;
    out << *seed << " (" << std::setfill('0') << static_cast<int>(date.year()) << '-'
        << std::setw(2) << static_cast<unsigned>(date.month()) << '-' << std::setw(2)
        << static_cast<unsigned>(date.day()) << ' ' << std::setw(2) << clock.hours().count() << ':'
        << std::setw(2) << clock.minutes().count() << ':' << std::setw(2) << clock.seconds().count()
        << " UTC)";
    return out.str();
}

nlohmann::ordered_json imageJson(const ImageLocation& image, const std::string& sha256) {
    return {{"start", image.start}, {"length", image.length}, {"sha256", sha256}};
}

// Something that feeds blocks into a sink: an image of a package, or the command key.
using BlockSource = std::function<Status(const BlockSink&)>;

// The file at `path` with the bytes of `source`, not yet in its place.
Expected<AtomicOutputFile> writeFile(const std::filesystem::path& path, const BlockSource& source) {
    auto file = AtomicOutputFile::create(path);
    if (!file) return failureOf(file);
    auto toFile = [&file](std::span<const uint8_t> block) {
        return file->write(block.data(), block.size());
    };
    if (auto s = source(toFile); !s) return failureOf(s);
    return file;
}

// The files of an extract, in the order they are written.
constexpr std::array<const char*, 3> kExtractedNames = {"internal.bin", "external.bin",
                                                        "cmdkey.bin"};

// Refuses names that hold something other than a file, and any earlier
// result unless it may be replaced.
Status checkExtractedNames(const std::filesystem::path& directory, ExistingResults existing) {
    for (const char* name : kExtractedNames) {
        const auto exists = outputExists(directory / name);
        if (!exists) return failureOf(exists);
        if (*exists && existing == ExistingResults::Refuse) {
            return fail(pathToUtf8(directory) + " already holds " + name +
                        " from an earlier extract; pass --force to replace what is there");
        }
    }
    return success();
}

// Writes every file of `sources` (an empty source: the package has no such
// file) before any of them takes its place, so a failure while the package is
// read leaves the folder as it was; a failure while they are put in place
// takes back what this run put there.
Status writeExtractedFiles(const std::filesystem::path& directory,
                           const std::array<BlockSource, 3>& sources, ExistingResults existing) {
    std::vector<AtomicOutputFile> files;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (!sources[i]) continue;
        auto file = writeFile(directory / kExtractedNames[i], sources[i]);
        if (!file) return failureOf(file);
        files.push_back(std::move(*file));
    }
    std::error_code ec;
    if (existing == ExistingResults::Replace) {
        // What an earlier package left and this one does not have goes.
        for (std::size_t i = 0; i < sources.size(); ++i) {
            if (sources[i]) continue;
            const auto stale = directory / kExtractedNames[i];
            if (!std::filesystem::remove(stale, ec) && ec) {
                return fail("cannot remove " + pathToUtf8(stale) + ": " + ec.message());
            }
        }
    }
    const auto ifExists = existing == ExistingResults::Replace ? AtomicOutputFile::IfExists::Replace
                                                               : AtomicOutputFile::IfExists::Fail;
    for (std::size_t placed = 0; placed < files.size(); ++placed) {
        if (auto committed = files[placed].commit(ifExists); !committed) {
            for (std::size_t i = 0; i < placed; ++i) std::filesystem::remove(files[i].target(), ec);
            return committed;
        }
    }
    return success();
}

}  // namespace

Expected<PackageReport> reportPackage(const std::filesystem::path& path) {
    auto contents = readPackage(path);
    if (!contents) return failureOf(contents);
    auto internal = hashImage(path, *contents, contents->internal);
    if (!internal) return failureOf(internal);
    auto external = hashImage(path, *contents, contents->external);
    if (!external) return failureOf(external);
    const auto seed = findKeySeed(contents->key, contents->storedSlots);
    return PackageReport{*contents, *internal, *external, seed};
}

nlohmann::ordered_json reportJson(const PackageReport& r) {
    const auto& c = r.contents;
    const auto& d = c.descriptor;
    return {
        {"format", 1},
        {"size", c.size},
        {"templateSize", c.templateSize},
        {"key", hex(c.key)},
        {"keySlot", c.keySlot},
        {"keySeed", r.keySeed ? nlohmann::ordered_json(*r.keySeed) : nullptr},
        {"internal", imageJson(c.internal, r.internalSha256)},
        {"external", imageJson(c.external, r.externalSha256)},
        {"apVid", ansiField(d, descriptor::apVid)},
        {"apPid", ansiField(d, descriptor::apPid)},
        {"apUsage", ansiField(d, descriptor::apUsage)},
        {"iapVid", ansiField(d, descriptor::iapVid)},
        {"iapPid", ansiField(d, descriptor::iapPid)},
        {"iapUsage", ansiField(d, descriptor::iapUsage)},
        {"version", utf16Field(d, descriptor::version)},
        {"title", utf16Field(d, descriptor::title)},
        {"text", utf16Field(d, descriptor::text)},
        {"note", utf16Field(d, descriptor::note)},
        {"digestValue", d.number(descriptor::digestValue)},
        {"cmdKeyLength", d.number(descriptor::cmdKeyLength)},
        {"constantOne", d.number(descriptor::constantOne)},
        {"cmdKey", hex(d.cmdKeyBytes())},
        {"cmdKeyEnabled", flag(d, descriptor::cmdKeyEnabled)},
        {"digestEnabled", flag(d, descriptor::digestEnabled)},
        {"verify", flag(d, descriptor::verify)},
        {"cmdViaControlEndpoint", flag(d, descriptor::cmdViaControlEndpoint)},
    };
}

std::string reportText(const PackageReport& r) {
    const auto& c = r.contents;
    const auto& d = c.descriptor;
    auto onOff = [&d](DescriptorField field) { return flag(d, field) ? "on" : "off"; };
    auto identity = [&d](DescriptorField vid, DescriptorField pid, DescriptorField usage) {
        return "VID " + ansiField(d, vid) + ", PID " + ansiField(d, pid) + ", usage page 0xFF" +
               ansiField(d, usage);
    };
    std::ostringstream out;
    out << "Title:          " << utf16Field(d, descriptor::title) << '\n'
        << "Text:           " << utf16Field(d, descriptor::text) << '\n'
        << "Note:           " << utf16Field(d, descriptor::note) << '\n'
        << "Version:        " << utf16Field(d, descriptor::version) << '\n'
        << "Application:    " << identity(descriptor::apVid, descriptor::apPid, descriptor::apUsage)
        << '\n'
        << "IAP loader:     "
        << identity(descriptor::iapVid, descriptor::iapPid, descriptor::iapUsage) << '\n'
        << "Verify:         " << onOff(descriptor::verify) << '\n'
        << "Command via control endpoint: " << onOff(descriptor::cmdViaControlEndpoint) << '\n'
        << "Digest:         " << onOff(descriptor::digestEnabled) << ", value 0x" << std::hex
        << std::uppercase << d.number(descriptor::digestValue) << std::dec << std::nouppercase
        << '\n'
        << "Command key:    " << onOff(descriptor::cmdKeyEnabled) << ", "
        << d.number(descriptor::cmdKeyLength) << " bytes\n"
        << "Internal image: " << c.internal.length << " bytes, SHA-256 " << r.internalSha256 << '\n'
        << "External image: " << c.external.length << " bytes, SHA-256 " << r.externalSha256 << '\n'
        << "Package:        " << c.size << " bytes, template " << c.templateSize << " bytes, key "
        << hex(c.key) << " in slot " << c.keySlot << '\n'
        << "Key seed:       " << keySeedText(r.keySeed) << '\n';
    return out.str();
}

Status extractPackage(const std::filesystem::path& package, const std::filesystem::path& directory,
                      ExistingResults existing) {
    auto contents = readPackage(package);
    if (!contents) return failureOf(contents);
    if (auto names = checkExtractedNames(directory, existing); !names) return names;
    std::error_code ec;
    const bool madeFolder = std::filesystem::create_directories(directory, ec);
    if (ec) return fail("cannot create " + pathToUtf8(directory) + ": " + ec.message());

    auto image = [&](const ImageLocation& location) -> BlockSource {
        return [&, location](const BlockSink& sink) {
            return readImage(package, *contents, location, sink);
        };
    };
    const auto key = contents->descriptor.cmdKeyBytes();
    const std::array<BlockSource, 3> sources = {
        image(contents->internal),
        contents->external.length > 0 ? image(contents->external) : BlockSource(),
        contents->descriptor.number(descriptor::cmdKeyEnabled) != 0
            ? BlockSource([&key](const BlockSink& sink) { return sink(key); })
            : BlockSource(),
    };
    Status written = writeExtractedFiles(directory, sources, existing);
    // A folder made for this run goes with it (only while it is empty).
    if (!written && madeFolder) std::filesystem::remove(directory, ec);
    return written;
}

}  // namespace sf
