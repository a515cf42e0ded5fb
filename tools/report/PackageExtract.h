#pragma once

#include <filesystem>

#include "platform/Expected.h"

namespace sf {

// What an extract does with the results of an earlier one in its folder.
enum class ExistingResults { Refuse, Replace };

// Writes internal.bin, external.bin (when the package has an external image),
// cmdkey.bin (when the command key is in use), AP2.EXE (the template) and
// package.ini (the settings that make the package again from them, see
// remakeSettings) into `directory`: all of them or, on failure, none. A
// folder that holds any of the five names already is refused, unless
// `existing` is Replace: then the files are replaced and the names this
// package does not have are removed, so the folder holds this package's
// results only.
Status extractPackage(const std::filesystem::path& package, const std::filesystem::path& directory,
                      ExistingResults existing = ExistingResults::Refuse);

}  // namespace sf
