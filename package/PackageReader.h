#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

#include "package/PackageDescriptor.h"
#include "package/PackageKey.h"
#include "package/PackageLayout.h"
#include "package/PieceStream.h"
#include "platform/Expected.h"
#include "platform/InputFile.h"

namespace sf {

// Where an image lies in a package file, and what its entry says of it.
struct ImageLocation {
    uint64_t offset = 0;  // from the start of the package file
    uint32_t start = 0;
    uint32_t length = 0;
};

// What a package holds, with its descriptor unscrambled.
struct PackageContents {
    uint64_t size = 0;
    uint64_t templateSize = 0;
    PackageKey key{};
    int keySlot = 0;
    KeySlots storedSlots;  // as stored: the hidden key in slot keySlot, the decoy in the other
    ImageLocation internal;
    ImageLocation external;
    PackageDescriptor descriptor;
    std::array<uint8_t, kTrailerSize> trailer{};  // the last 688 bytes, as stored
};

// Finds the key and unscrambles the last 688 bytes of a package of
// `fileSize` bytes. Fails, with the reason, when they are not a package's.
Expected<PackageContents> parsePackageTrailer(std::span<const uint8_t, kTrailerSize> trailer,
                                              uint64_t fileSize);

// Opens a package file for reading; the error names it.
Expected<InputFile> openPackage(const std::filesystem::path& path);

// Reads the trailer of the package file at `path`.
Expected<PackageContents> readPackage(const std::filesystem::path& path);

// Reads the trailer of a package file already open; errors name the file.
Expected<PackageContents> readPackage(InputFile& file);

// Streams one image of a package read by readPackage into `sink`.
Status readImage(const std::filesystem::path& path, const PackageContents& contents,
                 const ImageLocation& image, const BlockSink& sink);

}  // namespace sf
