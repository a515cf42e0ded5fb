#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace sf::test {

// Text and ELF firmware files written the plain way, byte by byte, for the
// image reader's tests.

inline std::string hexDigits(const std::vector<uint8_t>& bytes) {
    std::string text;
    char pair[3];
    for (const uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        text += pair;
    }
    return text;
}

// One Intel HEX line: length, 16-bit address, type, data, checksum.
inline std::string intelHexLine(uint8_t type, uint16_t address, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(data.size()),
                                  static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
                                  type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    uint8_t sum = 0;
    for (const uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
    bytes.push_back(static_cast<uint8_t>(-sum));
    return ":" + hexDigits(bytes) + "\n";
}

// One S-record line: type digit, count, address of `addressSize` bytes, data, checksum.
inline std::string sRecordLine(int type, uint32_t address, int addressSize,
                               const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes = {static_cast<uint8_t>(addressSize + data.size() + 1)};
    for (int i = addressSize - 1; i >= 0; --i)
        bytes.push_back(static_cast<uint8_t>(address >> (8 * i)));
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (const uint8_t b : bytes) sum += b;
    bytes.push_back(static_cast<uint8_t>(~sum));
    return "S" + std::to_string(type) + hexDigits(bytes) + "\n";
}

struct ElfSection {
    std::string name;
    uint32_t type;   // 1 PROGBITS, 8 NOBITS
    uint64_t flags;  // 2 ALLOC
    uint64_t addr;
    std::vector<uint8_t> data;
    std::optional<uint64_t> sizeInHeader = {};  // when not the data's size (NOBITS)
};

// A loadable segment over sections first..last (indexes into the list of
// sections), loaded at `paddr`.
struct ElfSegment {
    std::size_t first;
    std::size_t last;
    uint64_t paddr;
};

// An executable ELF file: header, program headers, section data, the section
// names, section headers.
inline std::string elfFile(bool is64, bool bigEndian, const std::vector<ElfSection>& sections,
                           const std::vector<ElfSegment>& segments) {
    const std::size_t w = is64 ? 8 : 4;
    const std::size_t headerSize = is64 ? 64 : 52, phSize = is64 ? 56 : 32, shSize = is64 ? 64 : 40;
    std::string out;
    auto put = [&](uint64_t value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t shift = 8 * (bigEndian ? width - 1 - i : i);
            out += static_cast<char>(value >> shift);
        }
    };
    std::vector<uint64_t> offsets;
    uint64_t at = headerSize + phSize * segments.size();
    std::string names(1, '\0');
    std::vector<uint32_t> nameAt;
    for (const auto& s : sections) {
        offsets.push_back(at);
        at += s.data.size();
        nameAt.push_back(static_cast<uint32_t>(names.size()));
        names += s.name + '\0';
    }
    const uint64_t namesOffset = at;
    const auto namesName = static_cast<uint32_t>(names.size());
    names += std::string(".shstrtab") + '\0';
    const uint64_t sectionTable = namesOffset + names.size();

    out += std::string(
        "\x7F"
        "ELF",
        4);
    out += static_cast<char>(is64 ? 2 : 1);
    out += static_cast<char>(bigEndian ? 2 : 1);
    out += '\x01';
    out += std::string(9, '\0');
    put(2, 2);  // executable
    put(0, 2);  // no particular machine
    put(1, 4);
    put(0, w);  // entry
    put(segments.empty() ? 0 : headerSize, w);
    put(sectionTable, w);
    put(0, 4);
    put(headerSize, 2);
    put(phSize, 2);
    put(segments.size(), 2);
    put(shSize, 2);
    put(sections.size() + 2, 2);
    put(sections.size() + 1, 2);

    auto sizeOf = [&](std::size_t i) {
        return sections[i].sizeInHeader.value_or(sections[i].data.size());
    };
    for (const auto& g : segments) {
        const uint64_t offset = offsets[g.first], vaddr = sections[g.first].addr;
        const uint64_t fileSize = offsets[g.last] + sections[g.last].data.size() - offset;
        const uint64_t memSize = sections[g.last].addr + sizeOf(g.last) - vaddr;
        put(1, 4);
        if (is64) put(5, 4);
        for (const uint64_t v : {offset, vaddr, g.paddr, fileSize, memSize}) put(v, w);
        if (!is64) put(5, 4);
        put(4, w);
    }
    for (const auto& s : sections) out.append(s.data.begin(), s.data.end());
    out += names;

    auto header = [&](uint32_t name, uint32_t type, uint64_t flags, uint64_t addr, uint64_t offset,
                      uint64_t size) {
        put(name, 4);
        put(type, 4);
        for (const uint64_t v : {flags, addr, offset, size}) put(v, w);
        put(0, 4);
        put(0, 4);
        put(1, w);
        put(0, w);
    };
    header(0, 0, 0, 0, 0, 0);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        header(nameAt[i], sections[i].type, sections[i].flags, sections[i].addr, offsets[i],
               sizeOf(i));
    }
    header(namesName, 3, 0, 0, namesOffset, names.size());
    return out;
}

}  // namespace sf::test
