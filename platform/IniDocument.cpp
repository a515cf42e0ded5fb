#include "platform/IniDocument.h"

#include <algorithm>

#include "platform/AnsiCodePage.h"
#include "platform/Utf.h"

namespace sf {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";

// A line feed and a carriage return inside a value are kept as these two
// characters, which no value made by hand or on Windows holds.
constexpr char16_t kStoredLineFeed = u'\u2028';        // LINE SEPARATOR
constexpr char16_t kStoredCarriageReturn = u'\u2029';  // PARAGRAPH SEPARATOR

bool isLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// Blanks as the profile functions trim them: the C locale's white space and ^Z.
bool isBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == 0x1A;
}

// Blanks that some reader of the file may trim: ours, and Unicode's spaces.
bool mayBeTrimmed(char16_t c) {
    return isBlank(c) || c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == kStoredLineFeed || c == kStoredCarriageReturn || c == 0x202F || c == 0x205F ||
           c == 0x3000 || c == 0xFEFF;
}

bool isQuote(char16_t c) {
    return c == u'"' || c == u'\'';
}

std::u16string_view trim(std::u16string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

char16_t foldCase(char16_t c) {
    return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c;
}

bool namesMatch(std::u16string_view a, std::u16string_view b) {
    return std::ranges::equal(a, b,
                              [](char16_t x, char16_t y) { return foldCase(x) == foldCase(y); });
}

bool isHeader(std::u16string_view content) {
    const auto trimmed = trim(content);
    return !trimmed.empty() && trimmed.front() == u'[';
}

// `[ name ] anything` names the section `name`.
std::u16string_view headerName(std::u16string_view content) {
    auto inside = trim(content).substr(1);
    const auto close = inside.rfind(u']');
    if (close != std::u16string_view::npos) inside = inside.substr(0, close);
    return trim(inside);
}

std::u16string restoreLineBreaks(std::u16string_view stored) {
    std::u16string value(stored);
    std::ranges::replace(value, kStoredLineFeed, u'\n');
    std::ranges::replace(value, kStoredCarriageReturn, u'\r');
    return value;
}

// The value part of a key line as the profile functions read it: blanks
// trimmed and one pair of matching quotes removed, nothing unescaped.
std::u16string readValue(std::u16string_view afterEquals) {
    auto value = trim(afterEquals);
    if (value.size() >= 2 && isQuote(value.front()) && value.front() == value.back()) {
        value = value.substr(1, value.size() - 2);
    }
    return restoreLineBreaks(value);
}

// The form in which `value` goes into the file so that readValue gives it back.
std::u16string storedForm(std::u16string_view value) {
    std::u16string stored(value);
    std::ranges::replace(stored, u'\n', kStoredLineFeed);
    std::ranges::replace(stored, u'\r', kStoredCarriageReturn);
    const bool quoted =
        stored.size() >= 2 && isQuote(stored.front()) && stored.front() == stored.back();
    if (!stored.empty() &&
        (quoted || mayBeTrimmed(stored.front()) || mayBeTrimmed(stored.back()))) {
        stored = u'"' + stored + u'"';
    }
    return stored;
}

bool ansiCanHold(std::u16string_view s) {
    return fromAnsi(toAnsi(s)) == s;
}

std::u16string unitsFromUtf16Le(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
    return units;
}

std::string unitsToUtf16Le(std::u16string_view units) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

}  // namespace

// One line of the text: its content [begin, end) and where the next line starts.
struct IniDocument::Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;

    bool endsWithBreak() const { return next > end; }
};

// Where a key stands in its section, or where a new key of that name goes.
struct IniDocument::KeyLocation {
    std::optional<Line> line;
    Line insertAfter;
};

IniDocument::IniDocument() = default;

IniDocument IniDocument::fromBytes(std::string_view bytes) {
    IniDocument document;
    if (bytes.starts_with(kUtf16LeMark)) {
        const auto units = bytes.substr(kUtf16LeMark.size());
        document.fileEncoding = IniEncoding::Utf16Le;
        document.text = unitsFromUtf16Le(units);
        if (units.size() % 2 != 0) document.oddTrailingByte = units.substr(units.size() - 1);
    } else if (bytes.starts_with(kUtf8Mark) && isValidUtf8(bytes.substr(kUtf8Mark.size()))) {
        document.fileEncoding = IniEncoding::Utf8Bom;
        document.text = utf8ToUtf16(bytes.substr(kUtf8Mark.size()));
    } else if (isValidUtf8(bytes)) {
        document.fileEncoding = IniEncoding::Utf8;
        document.text = utf8ToUtf16(bytes);
    } else {
        document.fileEncoding = IniEncoding::Ansi;
        document.text = fromAnsi(bytes);
    }
    return document;
}

std::string IniDocument::toBytes() const {
    switch (fileEncoding) {
        case IniEncoding::Utf16Le:
            return std::string(kUtf16LeMark) + unitsToUtf16Le(text) + oddTrailingByte;
        case IniEncoding::Utf8Bom:
            return std::string(kUtf8Mark) + utf16ToUtf8(text);
        case IniEncoding::Utf8:
            return utf16ToUtf8(text);
        case IniEncoding::Ansi:
            return toAnsi(text);
    }
    return {};
}

std::optional<IniDocument::Line> IniDocument::nextLine(std::size_t position) const {
    if (position >= text.size()) return std::nullopt;
    std::size_t end = position;
    while (end < text.size() && !isLineBreak(text[end])) ++end;
    std::size_t next = end;
    if (next < text.size()) {
        const bool crlf = text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n';
        next += crlf ? 2 : 1;
    }
    return Line{position, end, next};
}

std::optional<std::size_t> IniDocument::findSection(std::u16string_view section) const {
    for (auto line = nextLine(0); line; line = nextLine(line->next)) {
        const std::u16string_view content(text.data() + line->begin, line->end - line->begin);
        if (isHeader(content) && namesMatch(headerName(content), section)) return line->begin;
    }
    return std::nullopt;
}

IniDocument::KeyLocation IniDocument::findKey(std::size_t sectionLine,
                                              std::u16string_view key) const {
    KeyLocation location{std::nullopt, *nextLine(sectionLine)};
    for (auto line = nextLine(location.insertAfter.next); line; line = nextLine(line->next)) {
        const std::u16string_view content(text.data() + line->begin, line->end - line->begin);
        if (isHeader(content)) break;
        const auto equals = content.find(u'=');
        if (equals == std::u16string_view::npos) continue;
        if (namesMatch(trim(content.substr(0, equals)), key)) {
            location.line = line;
            break;
        }
        location.insertAfter = *line;
    }
    return location;
}

std::optional<std::u16string> IniDocument::value(std::u16string_view section,
                                                 std::u16string_view key) const {
    return std::move(values(section, std::span(&key, 1)).front());
}

std::vector<std::optional<std::u16string>> IniDocument::values(
    std::u16string_view section, std::span<const std::u16string_view> keys) const {
    std::vector<std::optional<std::u16string>> found(keys.size());
    std::vector<std::u16string_view> wanted;
    std::size_t missing = 0;
    for (std::u16string_view key : keys) {
        wanted.push_back(trim(key));
        if (!wanted.back().empty()) ++missing;
    }
    section = trim(section);
    bool inSection = false;
    for (auto line = nextLine(0); line && missing > 0; line = nextLine(line->next)) {
        const std::u16string_view content(text.data() + line->begin, line->end - line->begin);
        if (isHeader(content)) {
            // Only the first section of the name counts.
            if (inSection) break;
            inSection = namesMatch(headerName(content), section);
            continue;
        }
        const auto equals = content.find(u'=');
        if (!inSection || equals == std::u16string_view::npos) continue;
        const auto name = trim(content.substr(0, equals));
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            // The first key of a name wins.
            if (found[i] || wanted[i].empty() || !namesMatch(name, wanted[i])) continue;
            found[i] = readValue(content.substr(equals + 1));
            --missing;
        }
    }
    return found;
}

std::u16string IniDocument::lineBreak() const {
    const auto first = std::ranges::find_if(text, isLineBreak);
    if (first == text.end()) {
#ifdef _WIN32
        return u"\r\n";
#else
        return u"\n";
#endif
    }
    if (*first == u'\r' && first + 1 != text.end() && first[1] == u'\n') return u"\r\n";
    return std::u16string(1, *first);
}

void IniDocument::insert(std::size_t position, std::u16string_view lines) {
    text.insert(position, lines);
    if (fileEncoding == IniEncoding::Ansi && !ansiCanHold(lines)) {
        fileEncoding = IniEncoding::Utf8;
    }
}

bool IniDocument::set(std::u16string_view section, std::u16string_view key,
                      std::u16string_view value) {
    section = trim(section);
    key = trim(key);
    if (this->value(section, key) == value) return false;

    const std::u16string stored = storedForm(value);
    const std::u16string eol = lineBreak();
    const auto header = findSection(section);
    if (!header) {
        const bool needsBreak = !text.empty() && !isLineBreak(text.back());
        insert(text.size(), (needsBreak ? eol : u"") + u"[" + std::u16string(section) + u"]" + eol +
                                std::u16string(key) + u"=" + stored + eol);
        return true;
    }
    const auto location = findKey(*header, key);
    if (location.line) {
        const std::size_t valueStart = text.find(u'=', location.line->begin) + 1;
        text.erase(valueStart, location.line->end - valueStart);
        insert(valueStart, stored);
        return true;
    }
    const Line& previous = location.insertAfter;
    insert(previous.next,
           (previous.endsWithBreak() ? u"" : eol) + std::u16string(key) + u"=" + stored + eol);
    return true;
}

}  // namespace sf
