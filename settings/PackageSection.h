#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/Expected.h"
#include "platform/IniProfile.h"

namespace sf {

// The section of a settings file that only sfmaker reads. An extract writes
// it beside SETTING, with what a package holds and the dialog never stores,
// so that the file describes that one package whole.
inline constexpr std::u16string_view kPackageSection = u"sfmaker";

// Its keys, and the value of kImagesKey that takes every image as bytes.
inline constexpr std::u16string_view kTemplateKey = u"Template";
inline constexpr std::u16string_view kKeySeedKey = u"KeySeed";
inline constexpr std::u16string_view kVerifyKey = u"Verify";
inline constexpr std::u16string_view kCmdViaControlEndpointKey = u"CommandViaControlEndpoint";
inline constexpr std::u16string_view kImagesKey = u"Images";
inline constexpr std::u16string_view kImagesAsBytes = u"bytes";

// What the section says. A key that is missing or empty leaves the value
// here: no template of its own, no seed, Verify on (as every start of the
// dialog), the control endpoint off, images converted as their files show.
struct PackageSection {
    std::optional<std::filesystem::path> templatePath;  // as written; relative to the caller
    std::optional<int64_t> keySeed;
    bool verify = true;
    bool cmdViaControlEndpoint = false;
    bool imagesAsBytes = false;
};

// The section of `file`, or nothing when it has none (or holds no value). A value the section
// cannot mean (a flag other than 0 or 1, a seed that is no whole number of
// seconds, an unknown Images) is an error naming the key and the value.
Expected<std::optional<PackageSection>> readPackageSection(const IniFile& file);

// Seconds since 1970 as `date +%s` prints them: decimal digits with an
// optional minus, within 64 bits; nothing for anything else.
std::optional<int64_t> parseSeconds(std::string_view text);

}  // namespace sf
