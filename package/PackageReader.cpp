#include "package/PackageReader.h"

#include <algorithm>
#include <array>
#include <optional>

#include "package/ImageEntry.h"
#include "package/Scrambler.h"
#include "platform/InputFile.h"
#include "platform/Utf.h"

namespace sf {
namespace {

std::array<uint8_t, 4> slotAt(std::span<const uint8_t> descriptor, DescriptorField slot) {
    std::array<uint8_t, 4> bytes{};
    std::copy_n(descriptor.begin() + static_cast<std::ptrdiff_t>(slot.offset), 4, bytes.begin());
    return bytes;
}

bool keyRevealsMagic(std::span<const uint8_t> descriptor, const PackageKey& key) {
    for (std::size_t j = 0; j < 4; ++j) {
        if ((descriptor[descriptor::magic.offset + j] ^ key[j]) != kMagic[j]) return false;
    }
    return true;
}

ImageEntry unscrambleEntry(std::span<const uint8_t> scrambled, const Scrambler& scrambler) {
    std::array<uint8_t, kImageEntrySize> bytes{};
    std::copy_n(scrambled.begin(), kImageEntrySize, bytes.begin());
    scrambler.apply(bytes, 0);
    return ImageEntry::fromBytes(bytes);
}

// Unscrambles the trailer with one candidate key; fails, with the reason,
// when what it then says cannot be a package's.
Expected<PackageContents> tryKey(std::span<const uint8_t, kTrailerSize> trailer, uint64_t fileSize,
                                 const PackageKey& key, int slot) {
    const Scrambler scrambler(key);
    PackageContents contents;
    contents.size = fileSize;
    contents.key = key;
    contents.keySlot = slot;
    std::copy(trailer.begin(), trailer.end(), contents.trailer.begin());
    const auto stored = trailer.subspan(2 * kImageEntrySize);
    contents.storedSlots = {slotAt(stored, descriptor::keySlot0),
                            slotAt(stored, descriptor::keySlot1)};
    auto& d = contents.descriptor.bytes();
    std::copy(stored.begin(), stored.end(), d.begin());
    scrambleDescriptor(d, scrambler);
    if (const uint32_t one = contents.descriptor.number(descriptor::constantOne); one != 1) {
        return fail("the package is damaged: its descriptor holds " + std::to_string(one) +
                    " where every package holds 1");
    }
    if (const uint32_t keyLength = contents.descriptor.number(descriptor::cmdKeyLength);
        keyLength > kMaxCmdKeySize) {
        return fail("the package is damaged: its command key is said to be " +
                    std::to_string(keyLength) + " bytes long, and a package holds at most " +
                    std::to_string(kMaxCmdKeySize));
    }

    const ImageEntry external = unscrambleEntry(trailer.subspan(0, kImageEntrySize), scrambler);
    const ImageEntry internal =
        unscrambleEntry(trailer.subspan(kImageEntrySize, kImageEntrySize), scrambler);
    const uint64_t payload = uint64_t{internal.length} + external.length + kTrailerSize;
    if (payload > fileSize) {
        return fail("the package is damaged: its image lengths do not fit in the file");
    }

    contents.templateSize = fileSize - payload;
    contents.external = {contents.templateSize, external.start, external.length};
    contents.internal = {contents.templateSize + external.length, internal.start, internal.length};
    return contents;
}

}  // namespace

Expected<InputFile> openPackage(const std::filesystem::path& path) {
    auto file = InputFile::open(path);
    if (!file)
        return fail(file.error().after("cannot open the package " + quotedPath(path) + ": "));
    return file;
}

Expected<PackageContents> parsePackageTrailer(std::span<const uint8_t, kTrailerSize> trailer,
                                              uint64_t fileSize) {
    if (fileSize < kTrailerSize) {
        return fail("the file is too short to be a package (" + std::to_string(fileSize) +
                    " bytes; a package has at least " + std::to_string(kTrailerSize) + ")");
    }
    const auto descriptor = trailer.subspan(2 * kImageEntrySize);
    std::optional<Error> firstRejection;
    for (int slot = 0; slot < 2; ++slot) {
        const PackageKey key = unmaskKeySlot(
            slotAt(descriptor, slot == 0 ? descriptor::keySlot0 : descriptor::keySlot1));
        if (!keyRevealsMagic(descriptor, key)) continue;
        auto contents = tryKey(trailer, fileSize, key, slot);
        if (contents) return contents;
        if (!firstRejection) firstRejection = contents.error();
    }
    if (!firstRejection) {
        return fail("the file is not a package: no key slot reveals its signature");
    }
    return fail(*firstRejection);
}

Expected<PackageContents> readPackage(const std::filesystem::path& path) {
    auto file = openPackage(path);
    if (!file) return failureOf(file);
    return readPackage(*file);
}

Expected<PackageContents> readPackage(InputFile& file) {
    std::array<uint8_t, kTrailerSize> trailer{};
    if (file.size() >= kTrailerSize) {
        if (auto s = file.seek(file.size() - kTrailerSize); !s) return failureOf(s);
        if (auto s = file.readExactly(trailer.data(), trailer.size()); !s) return failureOf(s);
    }
    auto contents = parsePackageTrailer(trailer, file.size());
    if (!contents) return fail(contents.error().after(quotedPath(file.path()) + ": "));
    return contents;
}

Status readImage(const std::filesystem::path& path, const PackageContents& contents,
                 const ImageLocation& image, const BlockSink& sink) {
    auto file = openPackage(path);
    if (!file) return failureOf(file);
    if (auto s = file->seek(image.offset); !s) return s;
    const Scrambler scrambler(contents.key);
    return streamPiece(readerOf(*file), image.length, &scrambler, sink);
}

}  // namespace sf
