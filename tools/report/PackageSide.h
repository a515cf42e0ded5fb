#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "package/PackageBuilder.h"
#include "package/PackageReader.h"
#include "package/PieceStream.h"
#include "platform/Expected.h"
#include "settings/ProjectSettings.h"

namespace sf {

// The parts of a package that hold bytes rather than fields, in the order a
// package file holds them.
enum class PackagePart { Template, External, Internal };

// A package as a comparison sees it: what it holds, and the plain bytes of
// each part (the template as it is, the images unscrambled). `read` starts a
// part from its first byte each time it is called; the piece it gives is
// read while the side lives, before `read` is called again.
struct PackageSide {
    PackageContents contents;
    std::function<Expected<Piece>(PackagePart)> read;
};

// The package file at `path`, open while the side lives. Anything but a
// regular file is refused before it is read; errors name the file.
Expected<PackageSide> packageFileSide(const std::filesystem::path& path);

// The package that `inputs` and `settings` make with the key drawn from
// `seed`, as it would be written but read from the inputs themselves:
// nothing is written and nothing held whole. `inputs` must outlive the side.
Expected<PackageSide> madePackageSide(OpenedInputs& inputs, const ProjectSettings& settings,
                                      uint32_t seed);

// The SHA-256 of a piece's bytes (after its scrambler), as lower-case hex digits.
Expected<std::string> sha256Of(const Piece& piece);

}  // namespace sf
