#include "package/PackageDescriptor.h"

#include <algorithm>
#include <cstring>

#include "package/ByteOrder.h"
#include "package/DigestValue.h"
#include "platform/AnsiCodePage.h"
#include "platform/Utf.h"

namespace sf {

PackageDescriptor PackageDescriptor::fill(const ProjectSettings& s,
                                          std::span<const uint8_t> cmdKey) {
    PackageDescriptor d;
    d.putNumber(descriptor::constantOne, 1);
    std::copy(kMagic.begin(), kMagic.end(), d.data.begin() + descriptor::magic.offset);

    d.putAnsiText(descriptor::apVid, s.apVid);
    d.putAnsiText(descriptor::apPid, s.apPid);
    d.putAnsiText(descriptor::apUsage, s.apUsage);
    d.putAnsiText(descriptor::iapVid, s.iapVid);
    d.putAnsiText(descriptor::iapPid, s.iapPid);
    d.putAnsiText(descriptor::iapUsage, s.iapUsage);

    // Each text is cut to its field, the note at 64 code units included, so
    // no text runs into the fields that follow it; a cut never keeps half of
    // a surrogate pair.
    d.putUtf16Text(descriptor::title, s.title);
    d.putUtf16Text(descriptor::text, s.text);
    d.putUtf16Text(descriptor::note, s.note);
    d.putUtf16Text(descriptor::version, s.version);

    d.putNumber(descriptor::cmdKeyEnabled, s.cmdKeyEnabled ? 1 : 0);
    d.putNumber(descriptor::digestEnabled, s.digestEnabled ? 1 : 0);
    d.putNumber(descriptor::verify, s.verify ? 1 : 0);
    d.putNumber(descriptor::cmdViaControlEndpoint, s.cmdViaControlEndpoint ? 1 : 0);

    const uint16_t digestValue = parseDigestValue(s.digest);
    if (s.digestEnabled) d.putNumber(descriptor::digestValue, digestValue);

    if (s.cmdKeyEnabled) {
        const std::size_t length = std::min(cmdKey.size(), kMaxCmdKeySize);
        std::copy_n(cmdKey.begin(), length, d.data.begin() + descriptor::cmdKey.offset);
        d.putNumber(descriptor::cmdKeyLength, length);
    }
    return d;
}

void PackageDescriptor::putNumber(DescriptorField field, uint64_t value) {
    storeLittleEndian(&data[field.offset], value, field.width);
}

void PackageDescriptor::putAnsiText(DescriptorField field, std::u16string_view text) {
    const std::string ansi = toAnsi(text);
    const std::size_t length = std::min({ansi.find('\0'), ansi.size(), field.width});
    std::memcpy(&data[field.offset], ansi.data(), length);
}

void PackageDescriptor::putUtf16Text(DescriptorField field, std::u16string_view text) {
    const std::u16string_view kept = leadingUnits(text, field.width / 2);
    for (std::size_t i = 0; i < kept.size(); ++i)
        storeLittleEndian(&data[field.offset + 2 * i], kept[i], 2);
}

uint32_t PackageDescriptor::number(DescriptorField field) const {
    return static_cast<uint32_t>(loadLittleEndian(&data[field.offset], field.width));
}

std::string PackageDescriptor::ansiText(DescriptorField field) const {
    const auto* begin = reinterpret_cast<const char*>(&data[field.offset]);
    return std::string(begin, std::find(begin, begin + field.width, '\0'));
}

std::u16string PackageDescriptor::utf16Text(DescriptorField field) const {
    std::u16string text;
    for (std::size_t i = 0; i < field.width / 2; ++i) {
        const auto unit = static_cast<char16_t>(loadLittleEndian(&data[field.offset + 2 * i], 2));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

bool PackageDescriptor::noteIsCut() const {
    return utf16Text(descriptor::note).size() == descriptor::note.width / 2;
}

std::vector<uint8_t> PackageDescriptor::cmdKeyBytes() const {
    const std::size_t length =
        std::min<std::size_t>(number(descriptor::cmdKeyLength), kMaxCmdKeySize);
    const auto* begin = &data[descriptor::cmdKey.offset];
    return std::vector<uint8_t>(begin, begin + length);
}

}  // namespace sf
