#include "IniText.h"

#include <cstdint>

#include "Text.h"

namespace vrk {
namespace {

bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == 0x1a;
}

// Upper case of a letter, for comparing names as the system does: ASCII,
// Latin-1 and the letters Windows-1252 adds (š ž œ ÿ), Latin Extended-A,
// Greek and Cyrillic. Anything else stands for itself.
char32_t FoldCase(char32_t c) {
    if (c < 0x80) return c >= 'a' && c <= 'z' ? c - 0x20 : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178; // ÿ Ÿ
    // Latin Extended-A pairs each capital with the small letter after it; in
    // two runs the capitals stand on odd places (ı, ĸ, ŉ and ſ have no pair).
    if (c >= 0x100 && c <= 0x17F) {
        const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
        return oddCapitals ? ((c & 1) ? c : c - 1) : ((c & 1) ? c - 1 : c);
    }
    // Greek: the small letters, final sigma among them, and the accented ones.
    if (c >= 0x3B1 && c <= 0x3CB) return c == 0x3C2 ? 0x3A3 : c - 0x20;
    switch (c) {
    case 0x3AC: return 0x386;
    case 0x3AD: return 0x388;
    case 0x3AE: return 0x389;
    case 0x3AF: return 0x38A;
    case 0x3CC: return 0x38C;
    case 0x3CD: return 0x38E;
    case 0x3CE: return 0x38F;
    default: break;
    }
    // Cyrillic: а to я, ѐ to џ, and the pairs of the extended letters.
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F))
        return (c & 1) ? c - 1 : c;
    if (c >= 0x4C1 && c <= 0x4CE) return (c & 1) ? c : c - 1;
    if (c == 0x4CF) return 0x4C0;
    return c;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// Letter by letter, without regard to case. A byte that is no part of a
// well-formed letter equals only itself.
bool NamesEqual(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t fromA = i, fromB = j;
        const auto x = NextCodePoint(a, i);
        const auto y = NextCodePoint(b, j);
        if (x && y) {
            if (FoldCase(*x) != FoldCase(*y)) return false;
        } else if (x || y || a.substr(fromA, i - fromA) != b.substr(fromB, j - fromB)) {
            return false;
        }
    }
    return i == a.size() && j == b.size();
}

struct Line {
    std::size_t begin = 0; // first byte of the line
    std::size_t end = 0;   // first byte of its terminator
    std::size_t next = 0;  // first byte of the next line
    enum Kind { kBlank, kSection, kEntry } kind = kBlank;
    std::string_view name;  // section name or key name (trimmed)
    bool hasValue = false;  // an entry with "="
    std::string_view value; // trimmed, quotes still on
};

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        line.end = end;
        std::size_t next = end;
        if (next < text.size() && text[next] == '\r') ++next;
        if (next < text.size() && text[next] == '\n') ++next;
        line.next = next;

        std::string_view content = Trim(std::string_view(text).substr(line.begin, line.end - line.begin));
        if (!content.empty()) {
            const auto close = content.rfind(']');
            if (content.front() == '[' && close != std::string_view::npos) {
                line.kind = Line::kSection;
                line.name = Trim(content.substr(1, close - 1));
            } else {
                line.kind = Line::kEntry;
                const auto eq = content.find('=');
                if (eq == std::string_view::npos) {
                    line.name = content;
                } else {
                    line.name = Trim(content.substr(0, eq));
                    line.hasValue = true;
                    line.value = Trim(content.substr(eq + 1));
                }
            }
        }
        lines.push_back(line);
        pos = next;
    }
    return lines;
}

// Index range [first, last) of the lines of the first section of that name,
// the header excluded; nothing when there is no such section.
struct SectionRange {
    std::size_t header, first, last;
};

std::optional<SectionRange> FindSection(const std::vector<Line>& lines, std::string_view section) {
    const std::string_view wanted = Trim(section);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Line::kSection || !NamesEqual(lines[i].name, wanted)) continue;
        std::size_t j = i + 1;
        while (j < lines.size() && lines[j].kind != Line::kSection) ++j;
        return SectionRange{i, i + 1, j};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<Line>& lines, const SectionRange& range, std::string_view key) {
    const std::string_view wanted = Trim(key);
    for (std::size_t i = range.first; i < range.last; ++i)
        if (lines[i].kind == Line::kEntry && NamesEqual(lines[i].name, wanted)) return i;
    return std::nullopt;
}

// The first `limit` characters, counted as the system's profile read
// counts them (UTF-16 units: a letter beyond U+FFFF is two), never half of
// one.
std::string_view CutToCharacters(std::string_view value, std::size_t limit) {
    if (value.size() <= limit) return value; // no more characters than bytes
    std::size_t pos = 0, units = 0;
    while (pos < value.size()) {
        std::size_t next = pos;
        const auto c = NextCodePoint(value, next);
        units += c && *c > 0xFFFF ? 2 : 1;
        if (units > limit) break;
        pos = next;
    }
    return value.substr(0, pos);
}

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(CutToCharacters(value, kIniValueLimit));
}

// A value or name is written on one line: anything from a line break on
// would otherwise turn into lines of its own.
std::string OneLine(const std::string& s) { return s.substr(0, s.find_first_of("\r\n")); }

} // namespace

bool IniNamesEqual(const std::string& a, const std::string& b) { return NamesEqual(a, b); }

std::optional<std::string> IniLookup(const std::string& text, const std::string& section, const std::string& key) {
    const auto lines = SplitLines(text);
    const auto range = FindSection(lines, section);
    if (!range) return std::nullopt;
    const auto at = FindKey(lines, *range, key);
    if (!at || !lines[*at].hasValue) return std::nullopt;
    return Unquote(lines[*at].value);
}

std::vector<std::string> IniKeyNames(const std::string& text, const std::string& section) {
    std::vector<std::string> names;
    const auto lines = SplitLines(text);
    const auto range = FindSection(lines, section);
    if (!range) return names;
    for (std::size_t i = range->first; i < range->last; ++i) {
        const Line& line = lines[i];
        if (line.kind != Line::kEntry || !line.hasValue || line.name.empty() || line.name.front() == ';') continue;
        names.emplace_back(line.name);
    }
    return names;
}

std::string IniWithValue(const std::string& text, const std::string& section, const std::string& key,
                         const std::string& value) {
    const std::string cleanValue = OneLine(value);
    const auto lines = SplitLines(text);
    const auto range = FindSection(lines, section);
    if (!range) {
        std::string out = text;
        if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
        out += "[" + OneLine(section) + "]\r\n" + OneLine(key) + "=" + cleanValue + "\r\n";
        return out;
    }
    if (const auto at = FindKey(lines, *range, key)) {
        // Replace the line in place, keeping the key's name as the file has it
        // and the line's own terminator.
        const Line& line = lines[*at];
        return text.substr(0, line.begin) + std::string(line.name) + "=" + cleanValue + text.substr(line.end);
    }
    // After the last non-blank line of the section, so that blank lines that
    // separate it from the next section stay where they are.
    std::size_t after = range->header;
    for (std::size_t i = range->first; i < range->last; ++i)
        if (lines[i].kind != Line::kBlank) after = i;
    const Line& last = lines[after];
    std::string insert;
    if (last.next == last.end) insert = "\r\n"; // the file ended without a line break
    insert += OneLine(key) + "=" + cleanValue + "\r\n";
    return text.substr(0, last.next) + insert + text.substr(last.next);
}

} // namespace vrk
