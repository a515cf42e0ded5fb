#include "tools/report/RemakeSettings.h"

#include "platform/AnsiCodePage.h"
#include "platform/HexDigits.h"
#include "platform/IniDocument.h"
#include "platform/Utf.h"
#include "settings/PackageSection.h"
#include "settings/ProjectSettings.h"

namespace sf {
namespace {

std::u16string ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string flagValue(uint32_t stored) {
    return stored != 0 ? u"1" : u"0";
}

// What the package holds for the text field of `control`; the paths name
// the extracted files, which lie beside the settings file.
std::u16string storedText(const PackageContents& contents, ControlId control) {
    const PackageDescriptor& d = contents.descriptor;
    auto ansi = [&d](DescriptorField field) { return fromAnsi(d.ansiText(field)); };
    switch (control) {
        case IDC_TITLE:
            return d.utf16Text(descriptor::title);
        case IDC_TEXT:
            return d.utf16Text(descriptor::text);
        case IDC_NOTE:
            return d.utf16Text(descriptor::note);
        case IDC_VERSION:
            return d.utf16Text(descriptor::version);
        case IDC_INTERNAL_IMAGE:
            return ascii(kInternalImageFile);
        case IDC_EXTERNAL_IMAGE:
            return contents.external.length > 0 ? ascii(kExternalImageFile) : u"";
        case IDC_CMDKEY_PATH:
            return d.number(descriptor::cmdKeyEnabled) != 0 ? ascii(kCmdKeyFile) : u"";
        case IDC_AP_VID:
            return ansi(descriptor::apVid);
        case IDC_AP_PID:
            return ansi(descriptor::apPid);
        case IDC_AP_USAGE:
            return ansi(descriptor::apUsage);
        case IDC_IAP_VID:
            return ansi(descriptor::iapVid);
        case IDC_IAP_PID:
            return ansi(descriptor::iapPid);
        case IDC_IAP_USAGE:
            return ansi(descriptor::iapUsage);
        case IDC_DIGEST:
            return ascii(hexNumber(d.number(descriptor::digestValue), 1, LetterCase::Upper));
        default:
            return u"";
    }
}

uint32_t storedFlag(const PackageDescriptor& d, ControlId control) {
    switch (control) {
        case IDC_DIGEST_EN:
            return d.number(descriptor::digestEnabled);
        case IDC_CMDKEY_EN:
            return d.number(descriptor::cmdKeyEnabled);
        case IDC_VERIFY:
            return d.number(descriptor::verify);
        default:
            return d.number(descriptor::cmdViaControlEndpoint);
    }
}

}  // namespace

std::string remakeSettings(const PackageContents& contents, std::optional<uint32_t> keySeed) {
    const PackageDescriptor& d = contents.descriptor;
    auto document = IniDocument::fromBytes("\xFF\xFE");
    for (const TextField& field : kTextFields) {
        document.set(kSettingsSection, field.key, storedText(contents, field.control));
    }
    for (const FlagField& flag : kFlagFields) {
        if (flag.key.empty()) continue;
        document.set(kSettingsSection, flag.key, flagValue(storedFlag(d, flag.control)));
    }
    document.set(kPackageSection, kTemplateKey, ascii(kTemplateFile));
    if (keySeed) document.set(kPackageSection, kKeySeedKey, ascii(std::to_string(*keySeed)));
    document.set(kPackageSection, kVerifyKey, flagValue(storedFlag(d, IDC_VERIFY)));
    document.set(kPackageSection, kCmdViaControlEndpointKey,
                 flagValue(storedFlag(d, IDC_CMD_VIA_CTRL_EP)));
    // An extracted image is the flat image, whatever its first bytes look like.
    document.set(kPackageSection, kImagesKey, kImagesAsBytes);
    return document.toBytes();
}

}  // namespace sf
