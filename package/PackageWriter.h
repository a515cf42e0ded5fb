#pragma once

#include <cstdint>
#include <functional>

#include "image/FirmwareImage.h"
#include "package/PackageTrailer.h"
#include "platform/AtomicOutputFile.h"
#include "platform/InputFile.h"
#include "platform/Result.h"

namespace sf {

// Told how many bytes of the package have been written so far, of how many.
using ProgressFunction = std::function<void(uint64_t written, uint64_t total)>;

// The opened inputs of one package: the template, copied as it is, and the
// flat images. Their sizes are those taken when they were opened;
// `externalImage` is null when the package has no external image.
struct PackageInputs {
    InputFile* templateFile = nullptr;
    FirmwareImage* internalImage = nullptr;
    FirmwareImage* externalImage = nullptr;
};

// Streams template, external image, internal image and trailer into `out` in
// blocks, scrambling the images on the way, so memory stays the same whatever
// the sizes. Does not commit `out`.
Status writePackage(AtomicOutputFile& out, PackageInputs inputs, const PackageTrailer& trailer,
                    const ProgressFunction& progress = {});

}  // namespace sf
