#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "package/PackageBuilder.h"
#include "platform/Expected.h"
#include "settings/ProjectSettings.h"
#include "tools/sfmaker/MakeArguments.h"

namespace sf {

// What a package is made from: the settings with every option put over them,
// the settings file they were read from (none when options alone make the
// package), how the builder finds the template and reads the images, and the
// key seed the settings file asks for. The builder's clock is left to the
// caller: `make` takes keyTime(keySeed), `verify` the seed of the package it
// checks.
struct MakeSources {
    ProjectSettings settings;
    std::optional<std::filesystem::path> settingsFile;
    PackageBuilder::Options options;
    std::optional<int64_t> keySeed;
};

// The sources `args` name: the named settings file, whose relative paths name
// files beside it; else, when no option sets a field, the settings file of
// the dialog, read as the dialog reads it, so a pipeline builds what the
// dialog shows (that one may be missing, and then the start values hold).
// A file with the package section (as an extract writes it) gives the whole
// package: its template, key seed and image reading too, each unless an
// option says otherwise. Fails, naming the file, when a settings file cannot
// be read.
Expected<MakeSources> makeSources(const MakeArguments& args);

}  // namespace sf
