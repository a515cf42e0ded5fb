#include "image/ElfReader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sf {
namespace {

constexpr uint32_t kLoadSegment = 1;      // PT_LOAD
constexpr uint32_t kNullSection = 0;      // SHT_NULL
constexpr uint32_t kNoBitsSection = 8;    // SHT_NOBITS
constexpr uint64_t kAllocatedFlag = 0x2;  // SHF_ALLOC

struct Segment {
    uint32_t type;
    uint64_t offset, vaddr, paddr, filesz, memsz;
};

struct Section {
    uint32_t name, type;
    uint64_t flags, addr, offset, size;
};

// A section that goes into the flat image, with its place in the table.
struct Loaded {
    ImagePiece piece;
    std::size_t index;
};

// Whether `length` bytes at `offset` lie inside a table of `size` bytes.
bool inside(uint64_t offset, uint64_t length, uint64_t size) {
    return offset <= size && length <= size - offset;
}

class ElfReader {
  public:
    ElfReader(ImageSource& s, const std::string& n) : source(s), name(n) {}

    Expected<std::vector<ImagePiece>> read(uint64_t maxSize);

  private:
    // A field of `width` bytes at `at` in `bytes`, in the file's byte order.
    uint64_t field(const uint8_t* bytes, std::size_t at, std::size_t width) const {
        uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            const uint8_t byte = bytes[at + (bigEndian ? i : width - 1 - i)];
            value = value << 8 | byte;
        }
        return value;
    }
    uint64_t word(const uint8_t* bytes, std::size_t at) const {
        return field(bytes, at, is64 ? 8 : 4);
    }

    Status readTable(uint64_t offset, uint64_t count, uint64_t entrySize, uint64_t givenEntrySize,
                     const char* what, std::vector<uint8_t>& table);
    Status readHeaders();
    uint64_t loadAddress(const Section& section) const;
    std::string sectionName(std::size_t index);
    Unexpected problem(const std::string& reason) const { return fail(name + ": " + reason); }

    ImageSource& source;
    const std::string& name;
    bool is64 = false;
    bool bigEndian = false;
    std::vector<Segment> segments;
    std::vector<Section> sections;
    std::size_t namesIndex = 0;
    bool physicalAddressesGiven = false;
};

Status ElfReader::readTable(uint64_t offset, uint64_t count, uint64_t entrySize,
                            uint64_t givenEntrySize, const char* what,
                            std::vector<uint8_t>& table) {
    if (count == 0) return success();
    if (givenEntrySize != entrySize) {
        return problem(std::string("the ELF header gives ") + what + " entries of " +
                       std::to_string(givenEntrySize) + " bytes, not " + std::to_string(entrySize));
    }
    if (!inside(offset, count * entrySize, source.size())) {
        return problem(std::string("its ") + what +
                       " table lies beyond the end of the file; is the file complete?");
    }
    table.resize(static_cast<std::size_t>(count * entrySize));
    return source.readAt(offset, table);
}

Status ElfReader::readHeaders() {
    const std::size_t headerSize = is64 ? 64 : 52;
    std::array<uint8_t, 64> header{};
    if (source.size() < headerSize) return problem("the file ends inside its ELF header");
    if (auto read = source.readAt(0, std::span(header.data(), headerSize)); !read) return read;

    const std::size_t w = is64 ? 8 : 4;  // the width of addresses and offsets
    const uint64_t segmentTable = word(header.data(), 24 + w);
    const uint64_t sectionTable = word(header.data(), 24 + 2 * w);
    const std::size_t counts = 24 + 3 * w + 6;  // after e_flags and e_ehsize
    const uint64_t segmentEntry = field(header.data(), counts, 2);
    const uint64_t segmentCount = field(header.data(), counts + 2, 2);
    const uint64_t sectionEntry = field(header.data(), counts + 4, 2);
    const uint64_t sectionCount = field(header.data(), counts + 6, 2);
    namesIndex = static_cast<std::size_t>(field(header.data(), counts + 8, 2));

    std::vector<uint8_t> table;
    if (auto read = readTable(segmentTable, segmentCount, is64 ? 56 : 32, segmentEntry,
                              "program header", table);
        !read) {
        return read;
    }
    for (uint64_t i = 0; i < segmentCount; ++i) {
        const uint8_t* e = table.data() + i * (is64 ? 56 : 32);
        // ELF64 moves p_flags up behind p_type to keep the 8-byte fields aligned.
        const std::size_t at = is64 ? 8 : 4;
        const Segment s{static_cast<uint32_t>(field(e, 0, 4)),
                        word(e, at),
                        word(e, at + w),
                        word(e, at + 2 * w),
                        word(e, at + 3 * w),
                        word(e, at + 4 * w)};
        // Linkers that have no load addresses to give leave every p_paddr at
        // 0; the load addresses are the section addresses then.
        if (s.paddr != 0) physicalAddressesGiven = true;
        if (s.type == kLoadSegment) segments.push_back(s);
    }

    if (auto read = readTable(sectionTable, sectionCount, is64 ? 64 : 40, sectionEntry,
                              "section header", table);
        !read) {
        return read;
    }
    for (uint64_t i = 0; i < sectionCount; ++i) {
        const uint8_t* e = table.data() + i * (is64 ? 64 : 40);
        sections.push_back({static_cast<uint32_t>(field(e, 0, 4)),
                            static_cast<uint32_t>(field(e, 4, 4)), word(e, 8), word(e, 8 + w),
                            word(e, 8 + 2 * w), word(e, 8 + 3 * w)});
    }
    if (sections.empty()) {
        return problem("the ELF file has no section headers, so nothing in it is marked as loaded");
    }
    return success();
}

// The address the section is loaded at: where the segment that holds it is
// loaded, plus the section's place in that segment.
uint64_t ElfReader::loadAddress(const Section& section) const {
    if (!physicalAddressesGiven) return section.addr;
    for (const Segment& segment : segments) {
        const bool inFile = section.offset >= segment.offset &&
                            inside(section.offset - segment.offset, section.size, segment.filesz);
        const bool inMemory = section.addr >= segment.vaddr &&
                              inside(section.addr - segment.vaddr, section.size, segment.memsz);
        if (inFile && inMemory) return segment.paddr + (section.offset - segment.offset);
    }
    return section.addr;
}

std::string ElfReader::sectionName(std::size_t index) {
    const std::string fallback = "section " + std::to_string(index);
    if (namesIndex >= sections.size()) return fallback;
    const Section& names = sections[namesIndex];
    const uint64_t at = sections[index].name;
    if (!inside(names.offset, names.size, source.size()) || at >= names.size) return fallback;
    std::array<uint8_t, 64> text{};
    const auto length = static_cast<std::size_t>(std::min<uint64_t>(text.size(), names.size - at));
    if (!source.readAt(names.offset + at, std::span(text.data(), length))) return fallback;
    const auto* begin = reinterpret_cast<const char*>(text.data());
    const std::string found(begin, std::find(begin, begin + length, '\0'));
    return found.empty() ? fallback : found;
}

Expected<std::vector<ImagePiece>> ElfReader::read(uint64_t maxSize) {
    std::array<uint8_t, 16> ident{};
    const auto notElf = [] { return fail("not an ELF file", ErrorKind::NotThisFormat); };
    if (source.size() < ident.size() || !source.readAt(0, ident)) return notElf();
    constexpr std::array<uint8_t, 4> kMagic = {0x7F, 'E', 'L', 'F'};
    const bool knownClass = ident[4] == 1 || ident[4] == 2;
    const bool knownOrder = ident[5] == 1 || ident[5] == 2;
    if (!std::equal(kMagic.begin(), kMagic.end(), ident.begin()) || !knownClass || !knownOrder ||
        ident[6] != 1) {
        return notElf();
    }
    is64 = ident[4] == 2;
    bigEndian = ident[5] == 2;
    if (auto read = readHeaders(); !read) return failureOf(read);

    std::vector<Loaded> loaded;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const Section& s = sections[i];
        if (!(s.flags & kAllocatedFlag) || s.type == kNullSection || s.type == kNoBitsSection ||
            s.size == 0) {
            continue;
        }
        if (!inside(s.offset, s.size, source.size())) {
            return problem(sectionName(i) + " lies beyond the end of the file; is it complete?");
        }
        const uint64_t address = loadAddress(s);
        if (address + s.size < address) {
            return problem(sectionName(i) + " runs past the end of the address space");
        }
        loaded.push_back({{address, s.size, s.offset}, i});
    }
    if (loaded.empty()) return problem("no section of the ELF file is loaded with data");

    std::sort(loaded.begin(), loaded.end(),
              [](const Loaded& a, const Loaded& b) { return a.piece.address < b.piece.address; });
    const Loaded* furthest = &loaded.front();
    for (const Loaded& next : loaded) {
        if (&next != furthest && next.piece.address < furthest->piece.end()) {
            return problem(sectionName(furthest->index) + " (" +
                           addressRange(furthest->piece.address, furthest->piece.end()) + ") and " +
                           sectionName(next.index) + " (" +
                           addressRange(next.piece.address, next.piece.end()) +
                           ") overlap in the load addresses");
        }
        if (next.piece.end() > furthest->piece.end()) furthest = &next;
    }
    if (auto span = spanProblem(loaded.front().piece.address, furthest->piece.end(), maxSize)) {
        return problem(*span);
    }

    std::vector<ImagePiece> pieces;
    pieces.reserve(loaded.size());
    for (const Loaded& l : loaded) pieces.push_back(l.piece);
    return pieces;
}

}  // namespace

Expected<std::vector<ImagePiece>> readElf(ImageSource& source, const std::string& name,
                                          uint64_t maxSize) {
    return ElfReader(source, name).read(maxSize);
}

}  // namespace sf
