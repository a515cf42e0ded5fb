#include "platform/IniProfile.h"

#include <system_error>

#include "platform/AtomicOutputFile.h"
#include "platform/FileLock.h"
#include "platform/InputFile.h"
#include "platform/Utf.h"

namespace sf {
namespace {

std::u16string cutToBuffer(std::u16string_view value, std::size_t bufferSize) {
    return std::u16string(leadingUnits(value, bufferSize == 0 ? 0 : bufferSize - 1));
}

Expected<IniDocument> readDocument(const std::filesystem::path& file) {
    auto bytes = readWholeFile(file, kMaxIniFileSize);
    if (!bytes) return failureOf(bytes);
    return IniDocument::fromBytes(*bytes);
}

// The default as the profile functions use it: trailing spaces cut, one pair
// of matching quotes removed.
std::u16string cleanDefault(std::u16string_view value) {
    while (!value.empty() && value.back() == u' ') value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.front() == value.back()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::u16string(value);
}

bool holdsAny(std::u16string_view text, std::u16string_view characters) {
    return text.find_first_of(characters) != std::u16string_view::npos;
}

Status checkNames(std::u16string_view section, std::u16string_view key) {
    if (section.empty() || holdsAny(section, u"\r\n]")) {
        return fail("the section name \"" + utf16ToUtf8(section) + "\" cannot be stored");
    }
    if (key.empty() || holdsAny(key, u"\r\n=") || key.front() == u'[') {
        return fail("the key name \"" + utf16ToUtf8(key) + "\" cannot be stored");
    }
    return success();
}

}  // namespace

IniFile IniFile::read(const std::filesystem::path& file) {
    auto document = readDocument(file);
    return IniFile(document ? std::move(*document) : IniDocument());
}

Expected<IniFile> IniFile::load(const std::filesystem::path& file) {
    auto document = readDocument(file);
    if (!document) return failureOf(document);
    return IniFile(std::move(*document));
}

std::u16string IniFile::get(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue, std::size_t bufferSize) const {
    const ProfileRead read{key, defaultValue, bufferSize};
    return std::move(get(section, std::span(&read, 1)).front());
}

std::vector<std::u16string> IniFile::get(std::u16string_view section,
                                         std::span<const ProfileRead> reads) const {
    std::vector<std::u16string_view> keys;
    for (const ProfileRead& read : reads) keys.push_back(read.key);
    auto found = document.values(section, keys);
    std::vector<std::u16string> values;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        const std::u16string value =
            found[i] ? std::move(*found[i]) : cleanDefault(reads[i].defaultValue);
        values.push_back(cutToBuffer(value, reads[i].bufferSize));
    }
    return values;
}

std::u16string readProfileString(const std::filesystem::path& file, std::u16string_view section,
                                 std::u16string_view key, std::u16string_view defaultValue,
                                 std::size_t bufferSize) {
    return IniFile::read(file).get(section, key, defaultValue, bufferSize);
}

Status writeProfileString(const std::filesystem::path& file, std::u16string_view section,
                          std::u16string_view key, std::u16string_view value) {
    if (auto names = checkNames(section, key); !names) return names;
    auto lock = FileLock::acquireFor(file);
    if (!lock) return failureOf(lock);

    IniDocument document;
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        auto read = readDocument(file);
        if (!read) return fail("cannot read " + quotedPath(file) + ": " + read.error().message);
        document = std::move(*read);
    }
    if (!document.set(section, key, value)) return success();

    return writeWholeFile(file, document.toBytes());
}

}  // namespace sf
