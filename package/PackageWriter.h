#pragma once

#include <cstdint>
#include <functional>

#include "image/FirmwareImage.h"
#include "package/PackageTrailer.h"
#include "platform/AtomicOutputFile.h"
#include "platform/Expected.h"
#include "platform/InputFile.h"

namespace sf {

// Told how many bytes of the package have been written so far, of how many;
// answers whether to go on.
using ProgressFunction = std::function<bool(uint64_t written, uint64_t total)>;

// The opened inputs of one package: the template, copied as it is, and the
// flat images. Their sizes are those taken when they were opened;
// `externalImage` is null when the package has no external image.
struct PackageInputs {
    InputFile* templateFile = nullptr;
    FirmwareImage* internalImage = nullptr;
    FirmwareImage* externalImage = nullptr;
};

// Writes template, external image, internal image and trailer into `out`:
// the template copied by the system where it can, the images read and
// scrambled a few blocks ahead of the writing, so the disk keeps busy and
// memory stays the same whatever the sizes. `progress` is asked after each
// block whether to go on; told to stop, the write ends there with an error of
// kind Stopped. Does not commit `out`.
Status writePackage(AtomicOutputFile& out, PackageInputs inputs, const PackageTrailer& trailer,
                    const ProgressFunction& progress = {});

}  // namespace sf
