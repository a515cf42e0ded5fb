#include "tools/report/PackageReport.h"

#include <array>
#include <chrono>
#include <iomanip>
#include <sstream>
#include <vector>

#include "package/KeySeed.h"
#include "platform/AnsiCodePage.h"
#include "platform/HexDigits.h"
#include "platform/Utf.h"
#include "tools/report/PackageSide.h"

namespace sf {
namespace {

// Bytes as lower-case hex digits, two a byte.
std::string hex(std::span<const uint8_t> bytes) {
    return hexBytes(bytes, LetterCase::Lower);
}

std::string ansiField(const PackageDescriptor& d, DescriptorField field) {
    return utf16ToUtf8(fromAnsi(d.ansiText(field)));
}

std::string utf16Field(const PackageDescriptor& d, DescriptorField field) {
    return utf16ToUtf8(d.utf16Text(field));
}

bool flag(const PackageDescriptor& d, DescriptorField field) {
    return d.number(field) != 0;
}

// The seed and the time it stands for ("1700000000 (2023-11-14 22:13:20 UTC)"),
// or why there is none.
std::string keySeedText(std::optional<uint32_t> seed) {
    if (!seed) return "none (no seed of the C runtime's generator draws this key and decoy)";
    using namespace std::chrono;
    const sys_seconds time{seconds{*seed}};
    const sys_days day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{time - day};
    std::ostringstream out;
    out << *seed << " (" << std::setfill('0') << static_cast<int>(date.year()) << '-'
        << std::setw(2) << static_cast<unsigned>(date.month()) << '-' << std::setw(2)
        << static_cast<unsigned>(date.day()) << ' ' << std::setw(2) << clock.hours().count() << ':'
        << std::setw(2) << clock.minutes().count() << ':' << std::setw(2) << clock.seconds().count()
        << " UTC)";
    return out.str();
}

nlohmann::ordered_json imageJson(const ImageLocation& image, const std::string& sha256) {
    return {{"start", image.start}, {"length", image.length}, {"sha256", sha256}};
}

}  // namespace

Expected<PackageReport> reportPackage(const std::filesystem::path& path) {
    auto side = packageFileSide(path);
    if (!side) return failureOf(side);
    const auto hash = [&side](PackagePart part) -> Expected<std::string> {
        auto piece = side->read(part);
        if (!piece) return failureOf(piece);
        return sha256Of(*piece);
    };
    auto internal = hash(PackagePart::Internal);
    if (!internal) return failureOf(internal);
    auto external = hash(PackagePart::External);
    if (!external) return failureOf(external);
    const auto& c = side->contents;
    return PackageReport{c, *internal, *external, findKeySeed(c.key, c.storedSlots)};
}

nlohmann::ordered_json reportJson(const PackageReport& r) {
    const auto& c = r.contents;
    const auto& d = c.descriptor;
    return {
        {"format", 1},
        {"size", c.size},
        {"templateSize", c.templateSize},
        {"key", hex(c.key)},
        {"keySlot", c.keySlot},
        {"keySeed", r.keySeed ? nlohmann::ordered_json(*r.keySeed) : nullptr},
        {"internal", imageJson(c.internal, r.internalSha256)},
        {"external", imageJson(c.external, r.externalSha256)},
        {"apVid", ansiField(d, descriptor::apVid)},
        {"apPid", ansiField(d, descriptor::apPid)},
        {"apUsage", ansiField(d, descriptor::apUsage)},
        {"iapVid", ansiField(d, descriptor::iapVid)},
        {"iapPid", ansiField(d, descriptor::iapPid)},
        {"iapUsage", ansiField(d, descriptor::iapUsage)},
        {"version", utf16Field(d, descriptor::version)},
        {"title", utf16Field(d, descriptor::title)},
        {"text", utf16Field(d, descriptor::text)},
        {"note", utf16Field(d, descriptor::note)},
        {"noteCut", d.noteIsCut()},
        {"digestValue", d.number(descriptor::digestValue)},
        {"cmdKeyLength", d.number(descriptor::cmdKeyLength)},
        {"constantOne", d.number(descriptor::constantOne)},
        {"cmdKey", hex(d.cmdKeyBytes())},
        {"cmdKeyEnabled", flag(d, descriptor::cmdKeyEnabled)},
        {"digestEnabled", flag(d, descriptor::digestEnabled)},
        {"verify", flag(d, descriptor::verify)},
        {"cmdViaControlEndpoint", flag(d, descriptor::cmdViaControlEndpoint)},
    };
}

std::string reportText(const PackageReport& r) {
    const auto& c = r.contents;
    const auto& d = c.descriptor;
    auto onOff = [&d](DescriptorField field) { return flag(d, field) ? "on" : "off"; };
    auto identity = [&d](DescriptorField vid, DescriptorField pid, DescriptorField usage) {
        return "VID " + ansiField(d, vid) + ", PID " + ansiField(d, pid) + ", usage page 0xFF" +
               ansiField(d, usage);
    };
    std::ostringstream out;
    out << "Title:          " << utf16Field(d, descriptor::title) << '\n'
        << "Text:           " << utf16Field(d, descriptor::text) << '\n'
        << "Note:           " << utf16Field(d, descriptor::note) << '\n'
        << (d.noteIsCut()
                ? "Note cut:       it fills its 64 code units; the rest of a longer note is lost\n"
                : "")
        << "Version:        " << utf16Field(d, descriptor::version) << '\n'
        << "Application:    " << identity(descriptor::apVid, descriptor::apPid, descriptor::apUsage)
        << '\n'
        << "IAP loader:     "
        << identity(descriptor::iapVid, descriptor::iapPid, descriptor::iapUsage) << '\n'
        << "Verify:         " << onOff(descriptor::verify) << '\n'
        << "Command via control endpoint: " << onOff(descriptor::cmdViaControlEndpoint) << '\n'
        << "Digest:         " << onOff(descriptor::digestEnabled) << ", value 0x"
        << hexNumber(d.number(descriptor::digestValue), 1, LetterCase::Upper) << '\n'
        << "Command key:    " << onOff(descriptor::cmdKeyEnabled) << ", "
        << d.number(descriptor::cmdKeyLength) << " bytes\n"
        << "Internal image: " << c.internal.length << " bytes, SHA-256 " << r.internalSha256 << '\n'
        << "External image: " << c.external.length << " bytes, SHA-256 " << r.externalSha256 << '\n'
        << "Package:        " << c.size << " bytes, template " << c.templateSize << " bytes, key "
        << hex(c.key) << " in slot " << c.keySlot << '\n'
        << "Key seed:       " << keySeedText(r.keySeed) << '\n';
    return out.str();
}

}  // namespace sf
