#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Expected.h"
#include "platform/IniDocument.h"

namespace sf {

// The buffer a profile read fills on Windows: it holds at most 259 characters
// and the terminating zero, so a longer value comes back cut.
inline constexpr std::size_t kProfileBufferSize = 260;

// A buffer size for values that must come back whole, such as paths.
inline constexpr std::size_t kWholeValue = std::numeric_limits<std::size_t>::max();

// The largest INI file that is read. A settings file holds a few kilobytes;
// a larger file is refused before it is read rather than held in memory.
inline constexpr uint64_t kMaxIniFileSize = 16ull << 20;

// One key to read from an INI file, as GetPrivateProfileStringW reads it.
struct ProfileRead {
    std::u16string_view key;
    std::u16string_view defaultValue = u"";
    std::size_t bufferSize = kProfileBufferSize;
};

// An INI file as it was when it was read, for reading several keys at once.
class IniFile {
  public:
    // A missing or unreadable file reads as an empty one, as the Windows
    // profile functions read it: every key gives its default.
    static IniFile read(const std::filesystem::path& file);

    // The file, or the reason it cannot be read (as InputFile::open gives it,
    // or that it is larger than kMaxIniFileSize).
    static Expected<IniFile> load(const std::filesystem::path& file);

    // The value of `key` in `section`, or `defaultValue` when the section or the
    // key is missing (trailing spaces cut, one pair of quotes removed), cut to
    // `bufferSize` - 1 characters. A surrogate pair is never split by the cut.
    std::u16string get(std::u16string_view section, std::u16string_view key,
                       std::u16string_view defaultValue, std::size_t bufferSize) const;

    // The values of several keys of one section, in the order of `reads`,
    // found in one pass over the file.
    std::vector<std::u16string> get(std::u16string_view section,
                                    std::span<const ProfileRead> reads) const;

  private:
    explicit IniFile(IniDocument document) : document(std::move(document)) {}
    IniDocument document;
};

// Reads one key as GetPrivateProfileStringW does (see IniFile::get).
std::u16string readProfileString(const std::filesystem::path& file, std::u16string_view section,
                                 std::u16string_view key, std::u16string_view defaultValue,
                                 std::size_t bufferSize = kProfileBufferSize);

// Writes one key as WritePrivateProfileStringW does: creates the file, the
// section and the key as needed, replaces an existing key's value and keeps
// every other byte of the file. The change is made under the file's lock and
// replaces the file at once, so running copies that write the same file never
// lose or tear each other's writes. The file's folder must exist.
Status writeProfileString(const std::filesystem::path& file, std::u16string_view section,
                          std::u16string_view key, std::u16string_view value);

}  // namespace sf
