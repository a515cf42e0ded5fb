#include "image/RecordFileReader.h"

#include <algorithm>
#include <cstring>

#include "image/HeldData.h"
#include "image/IntelHexDecoder.h"
#include "image/SRecordDecoder.h"

namespace sf {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;
// The first block is small: most files that are no record file (a flat
// image) show it in their first line, and then only that much was read.
// It still holds the longest record (about 520 characters).
constexpr std::size_t kFirstBlockSize = 4096;
constexpr const char* kBlankLine =
    "the line holds only blanks; in Intel HEX a line holds a record or nothing";

std::string_view withoutTrailingSpace(std::string_view line) {
    const auto last = line.find_last_not_of(" \t\r");
    return last == std::string_view::npos ? std::string_view{} : line.substr(0, last + 1);
}

class RecordFileReader {
  public:
    RecordFileReader(ImageSource& s, const std::string& n, uint64_t maxSize,
                     std::optional<RecordSyntax> syntax)
        : source(s),
          name(n),
          syntax(syntax),
          // Each data byte takes two hex digits: the bytes fit in half the file.
          // (What is not reserved up front, up to 1 GiB, grows as it comes.)
          data(maxSize,
               static_cast<std::size_t>(std::min<uint64_t>({s.size() / 2, maxSize, 1 << 30}))) {}

    Expected<HeldImage> read();

  private:
    // Takes one line; false once the file has shown it is no record file.
    Expected<bool> takeLine(std::string_view line);
    Unexpected atLine(const std::string& reason) const { return atLine(lineNumber, reason); }
    Unexpected atLine(uint64_t line, const std::string& reason) const {
        return fail(name + ", line " + std::to_string(line) + ": " + reason);
    }
    Unexpected atEnd(const std::string& reason) const { return fail(name + ": " + reason); }
    static Unexpected notRecordFile() {
        return fail("not an Intel HEX or S-record file", ErrorKind::NotThisFormat);
    }

    ImageSource& source;
    const std::string& name;
    std::optional<RecordSyntax> syntax;
    IntelHexDecoder intelHex;
    SRecordDecoder sRecord;
    HeldData data;
    uint64_t lineNumber = 0;
    uint64_t endLine = 0;
    uint64_t firstBlankLine = 0;  // seen before the first record told the syntax
};

Expected<HeldImage> RecordFileReader::read() {
    std::vector<char> buffer(
        static_cast<std::size_t>(std::min<uint64_t>(kFirstBlockSize, source.size())));
    std::size_t held = 0;  // bytes of a line begun in the block before
    for (uint64_t offset = 0; offset < source.size();) {
        if (offset > 0 && buffer.size() < kBlockSize) {
            buffer.resize(static_cast<std::size_t>(std::min<uint64_t>(kBlockSize, source.size())));
        }
        const auto size = static_cast<std::size_t>(
            std::min<uint64_t>(buffer.size() - held, source.size() - offset));
        if (auto read = source.readAt(
                offset, std::span(reinterpret_cast<uint8_t*>(buffer.data()) + held, size));
            !read) {
            return failureOf(read);
        }
        offset += size;
        const bool atFileEnd = offset == source.size();
        const std::size_t filled = held + size;
        std::size_t start = 0;
        while (start < filled) {
            const auto* newline =
                static_cast<const char*>(std::memchr(buffer.data() + start, '\n', filled - start));
            if (!newline && !atFileEnd) break;
            const std::size_t stop = newline ? newline - buffer.data() : filled;
            ++lineNumber;
            auto taken = takeLine({buffer.data() + start, stop - start});
            if (!taken) return failureOf(taken);
            if (!*taken) return notRecordFile();
            start = newline ? stop + 1 : filled;
        }
        held = filled - start;
        if (held == buffer.size()) {
            // No record is anywhere near this long.
            if (!syntax) return notRecordFile();
            ++lineNumber;
            return atLine("the line is longer than any record");
        }
        std::memmove(buffer.data(), buffer.data() + start, held);
    }

    if (!syntax) return notRecordFile();  // nothing but blank lines
    const bool hex = *syntax == RecordSyntax::IntelHex;
    if (endLine == 0) {
        return atEnd(hex ? "the file ends without an end-of-file record (type 01); is it complete?"
                         : "the file ends without a termination record (S7, S8 or S9); is it "
                           "complete?");
    }
    if (data.empty()) return atEnd("the file holds no data records");
    return HeldImage{hex ? ImageFormat::IntelHex : ImageFormat::SRecord, data.pieces(),
                     std::move(data.bytes())};
}

Expected<bool> RecordFileReader::takeLine(std::string_view line) {
    // Editors on Windows may start a text file with a UTF-8 byte order mark.
    if (lineNumber == 1 && line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
    const std::string_view content = withoutTrailingSpace(line);
    if (content.empty()) {
        // An empty line is passed over. One of spaces or tabs before the end
        // record objcopy and intelhex refuse in an Intel HEX file, and so
        // does this reader; srec_cat only warns.
        const bool blank = line.find_first_of(" \t") != std::string_view::npos;
        if (blank && endLine == 0) {
            if (syntax == RecordSyntax::IntelHex) return atLine(kBlankLine);
            if (!syntax && firstBlankLine == 0) firstBlankLine = lineNumber;
        }
        return true;
    }
    line = content;
    if (!syntax) {
        syntax = recordShapeOf(line);
        if (!syntax) return false;
        if (syntax == RecordSyntax::IntelHex && firstBlankLine != 0) {
            return atLine(firstBlankLine, kBlankLine);
        }
    }
    if (endLine != 0) {
        return atLine("a record after the end record on line " + std::to_string(endLine));
    }
    auto record = *syntax == RecordSyntax::IntelHex ? intelHex.decode(line) : sRecord.decode(line);
    if (!record) return atLine(record.error().message);
    if (record->kind == Record::Kind::End) endLine = lineNumber;
    if (record->kind == Record::Kind::Data) {
        if (auto added = data.add(lineNumber, record->address, record->data); !added) {
            return atLine(added.error().message);
        }
    }
    return true;
}

}  // namespace

Expected<HeldImage> readRecordFile(ImageSource& source, const std::string& name, uint64_t maxSize,
                                   std::optional<RecordSyntax> syntax) {
    return RecordFileReader(source, name, maxSize, syntax).read();
}

}  // namespace sf
