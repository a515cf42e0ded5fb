#include "platform/IniProfile.h"

#include <system_error>

#include "platform/AtomicOutputFile.h"
#include "platform/FileLock.h"
#include "platform/InputFile.h"
#include "platform/Utf.h"

namespace sf {
namespace {

std::u16string cutToBuffer(std::u16string value, std::size_t bufferSize) {
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    if (value.size() <= room) return value;
    std::size_t length = room;
    if (length > 0 && isHighSurrogate(value[length - 1])) --length;
    value.resize(length);
    return value;
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
        return Error{"the section name \"" + utf16ToUtf8(section) + "\" cannot be stored"};
    }
    if (key.empty() || holdsAny(key, u"\r\n=") || key.front() == u'[') {
        return Error{"the key name \"" + utf16ToUtf8(key) + "\" cannot be stored"};
    }
    return success();
}

}  // namespace

IniFile IniFile::read(const std::filesystem::path& file) {
    const auto bytes = readWholeFile(file);
    return IniFile(bytes ? IniDocument::fromBytes(*bytes) : IniDocument());
}

std::u16string IniFile::get(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue, std::size_t bufferSize) const {
    auto value = document.value(section, key);
    return cutToBuffer(value ? std::move(*value) : cleanDefault(defaultValue), bufferSize);
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
    if (!lock) return Error{lock.error()};

    IniDocument document;
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        const auto bytes = readWholeFile(file);
        if (!bytes) return Error{"cannot read " + pathToUtf8(file)};
        document = IniDocument::fromBytes(*bytes);
    }
    if (!document.set(section, key, value)) return success();

    return writeWholeFile(file, document.toBytes());
}

}  // namespace sf
