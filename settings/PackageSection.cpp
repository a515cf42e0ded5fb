#include "settings/PackageSection.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>
#include <system_error>

#include "platform/Utf.h"

namespace sf {
namespace {

// A flag of the section: "1" or "0", and nothing (the default) when empty.
Expected<bool> flagOf(std::u16string_view key, const std::u16string& value, bool byDefault) {
    if (value.empty()) return byDefault;
    if (value == u"1" || value == u"0") return value == u"1";
    return fail(utf16ToUtf8(key) + " is '" + utf16ToUtf8(value) + "', where 0 or 1 is wanted");
}

}  // namespace

std::optional<int64_t> parseSeconds(std::string_view text) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end) return std::nullopt;
    return value;
}

Expected<std::optional<PackageSection>> readPackageSection(const IniFile& file) {
    const std::array<ProfileRead, 5> reads = {{{kTemplateKey, u"", kWholeValue},
                                               {kKeySeedKey},
                                               {kVerifyKey},
                                               {kCmdViaControlEndpointKey},
                                               {kImagesKey}}};
    const auto values = file.get(kPackageSection, reads);
    if (std::ranges::all_of(values, [](const auto& value) { return value.empty(); })) {
        return std::optional<PackageSection>();
    }
    PackageSection section;
    if (const auto& path = values[0]; !path.empty()) section.templatePath = pathFromUtf16(path);
    if (const auto& seed = values[1]; !seed.empty()) {
        section.keySeed = parseSeconds(utf16ToUtf8(seed));
        if (!section.keySeed) {
            return fail(utf16ToUtf8(kKeySeedKey) + " is '" + utf16ToUtf8(seed) +
                        "', not a whole number of seconds since 1970");
        }
    }
    const auto verify = flagOf(kVerifyKey, values[2], true);
    if (!verify) return failureOf(verify);
    const auto viaControl = flagOf(kCmdViaControlEndpointKey, values[3], false);
    if (!viaControl) return failureOf(viaControl);
    section.verify = *verify;
    section.cmdViaControlEndpoint = *viaControl;
    if (const auto& images = values[4]; !images.empty()) {
        if (images != kImagesAsBytes) {
            return fail(utf16ToUtf8(kImagesKey) + " is '" + utf16ToUtf8(images) + "', where " +
                        utf16ToUtf8(kImagesAsBytes) + " or nothing is wanted");
        }
        section.imagesAsBytes = true;
    }
    return std::optional<PackageSection>(section);
}

}  // namespace sf
