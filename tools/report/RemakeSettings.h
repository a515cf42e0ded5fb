#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "package/PackageReader.h"

namespace sf {

// The files an extract writes, each beside the others.
inline constexpr const char* kInternalImageFile = "internal.bin";
inline constexpr const char* kExternalImageFile = "external.bin";
inline constexpr const char* kCmdKeyFile = "cmdkey.bin";
inline constexpr const char* kTemplateFile = "AP2.EXE";
inline constexpr const char* kRemakeSettingsFile = "package.ini";

// The bytes of the settings file that makes the package of `contents` again
// from the files an extract writes beside it: section SETTING with the
// dialog's sixteen keys holding what the package holds, and the package
// section with the template, the key seed (when there is one), Verify, the
// control endpoint and that the images go in as bytes. The file is UTF-16
// with a byte-order mark, so every text comes back exactly, also where the
// Windows profile functions read it.
std::string remakeSettings(const PackageContents& contents, std::optional<uint32_t> keySeed);

}  // namespace sf
