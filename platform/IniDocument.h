#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sf {

// How the bytes of an INI file are encoded. The encoding is taken from the
// file's first bytes and kept by every edit.
enum class IniEncoding {
    Utf8,     // valid UTF-8 without a byte-order mark (also plain ASCII and an empty file)
    Utf8Bom,  // EF BB BF, then valid UTF-8
    Utf16Le,  // FF FE, then UTF-16LE code units
    Ansi,     // anything else: Windows-1252, as the Windows profile functions write it
};

// The text of one INI file, read and edited the way the Windows profile
// functions do it: names match without regard to case, blanks around names
// and values are ignored, one pair of matching quotes around a value is
// removed, the first section and the first key of a name win. An edit changes
// only the line it must change, adds a new key after the section's last key,
// or a new section at the end; every other byte stays as it was.
//
// A stored value is always one line. Line breaks inside a value are kept as
// U+2028 (for LF) and U+2029 (for CR) in the file and turned back on reading,
// and a value that begins or ends with blanks or with a quote is written in
// quotes, so every value reads back exactly as it was written.
class IniDocument {
  public:
    // A file that does not exist yet: UTF-8 without a byte-order mark.
    IniDocument();

    // The file's bytes, whatever they hold. Never fails: a file that fits no
    // Unicode encoding is read as Windows-1252, which maps every byte.
    static IniDocument fromBytes(std::string_view bytes);

    // The file's bytes in its encoding. An unedited document gives back the
    // bytes it was made from.
    std::string toBytes() const;

    IniEncoding encoding() const { return fileEncoding; }

    // The value of `key` in the first section named `section`, or nothing when
    // the section or the key is missing. The first key of that name wins.
    std::optional<std::u16string> value(std::u16string_view section, std::u16string_view key) const;

    // The values of several keys of one section, as value() gives each, found
    // in one pass over the text whatever the number of keys.
    std::vector<std::optional<std::u16string>> values(
        std::u16string_view section, std::span<const std::u16string_view> keys) const;

    // Stores `value` under `key`, creating the section and the key as needed.
    // Returns false when the key already held this value and nothing changed.
    // A value that Windows-1252 cannot hold turns an ANSI file into UTF-8, so
    // no character is lost.
    bool set(std::u16string_view section, std::u16string_view key, std::u16string_view value);

  private:
    struct Line;
    struct KeyLocation;

    std::optional<Line> nextLine(std::size_t position) const;
    std::optional<std::size_t> findSection(std::u16string_view section) const;
    KeyLocation findKey(std::size_t sectionLine, std::u16string_view key) const;
    std::u16string lineBreak() const;
    void insert(std::size_t position, std::u16string_view lines);

    IniEncoding fileEncoding = IniEncoding::Utf8;
    std::u16string text;
    // A UTF-16 file of an odd length ends in a byte that is no code unit.
    std::string oddTrailingByte;
};

}  // namespace sf
