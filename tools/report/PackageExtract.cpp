#include "tools/report/PackageExtract.h"

#include <array>
#include <functional>
#include <vector>

#include "package/KeySeed.h"
#include "package/PackageReader.h"
#include "platform/AtomicOutputFile.h"
#include "platform/Utf.h"
#include "tools/report/PackageSide.h"
#include "tools/report/RemakeSettings.h"

namespace sf {
namespace {

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
constexpr std::array<const char*, 5> kExtractedNames = {
    kInternalImageFile, kExternalImageFile, kCmdKeyFile, kTemplateFile, kRemakeSettingsFile};

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
                           const std::array<BlockSource, kExtractedNames.size()>& sources,
                           ExistingResults existing) {
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

Status extractPackage(const std::filesystem::path& package, const std::filesystem::path& directory,
                      ExistingResults existing) {
    // One open file gives every part, so what was read is what was checked.
    auto side = packageFileSide(package);
    if (!side) return failureOf(side);
    const PackageContents* contents = &side->contents;
    if (auto names = checkExtractedNames(directory, existing); !names) return names;
    std::error_code ec;
    const bool madeFolder = std::filesystem::create_directories(directory, ec);
    if (ec) return fail("cannot create " + pathToUtf8(directory) + ": " + ec.message());

    auto part = [&side](PackagePart which) -> BlockSource {
        return [&side, which](const BlockSink& sink) -> Status {
            auto piece = side->read(which);
            if (!piece) return failureOf(piece);
            return streamPiece(piece->read, piece->length, piece->scrambler, sink);
        };
    };
    const auto key = contents->descriptor.cmdKeyBytes();
    const std::string settings =
        remakeSettings(*contents, findKeySeed(contents->key, contents->storedSlots));
    auto bytesOf = [](std::span<const uint8_t> bytes) {
        return BlockSource([bytes](const BlockSink& sink) { return sink(bytes); });
    };
    const std::array<BlockSource, kExtractedNames.size()> sources = {
        part(PackagePart::Internal),
        contents->external.length > 0 ? part(PackagePart::External) : BlockSource(),
        contents->descriptor.number(descriptor::cmdKeyEnabled) != 0 ? bytesOf(key) : BlockSource(),
        part(PackagePart::Template),
        bytesOf({reinterpret_cast<const uint8_t*>(settings.data()), settings.size()}),
    };
    Status written = writeExtractedFiles(directory, sources, existing);
    // A folder made for this run goes with it (only while it is empty).
    if (!written && madeFolder) std::filesystem::remove(directory, ec);
    return written;
}

}  // namespace sf
