#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "package/PackageLayout.h"
#include "settings/ProjectSettings.h"

namespace sf {

// The 656-byte block that ends every package. It starts as zeros; a field
// that is not written keeps them.
class PackageDescriptor {
  public:
    // Fills the fields from the settings, their four flags and the command-key
    // bytes (at most 64), in a fixed order: constant and magic, identifiers,
    // texts, flags, digest, command key. Every text is cut to its field.
    static PackageDescriptor fill(const ProjectSettings& settings, std::span<const uint8_t> cmdKey);

    std::array<uint8_t, kDescriptorSize>& bytes() { return data; }
    const std::array<uint8_t, kDescriptorSize>& bytes() const { return data; }

    // Reading fields back, as a reader of a package sees them.
    uint32_t number(DescriptorField field) const;
    std::string ansiText(DescriptorField field) const;      // up to the first zero byte
    std::u16string utf16Text(DescriptorField field) const;  // up to the first zero unit
    std::vector<uint8_t> cmdKeyBytes() const;               // cmdKeyLength bytes, at most 64

    // True when the note runs to the last code unit of its field, where fill()
    // cuts a longer note (and where a maker that copies a long note whole has
    // the fields after it written over its tail): the note read back may be
    // the start of a longer one.
    bool noteIsCut() const;

  private:
    void putNumber(DescriptorField field, uint64_t value);
    void putAnsiText(DescriptorField field, std::u16string_view text);
    void putUtf16Text(DescriptorField field, std::u16string_view text);

    std::array<uint8_t, kDescriptorSize> data{};
};

}  // namespace sf
