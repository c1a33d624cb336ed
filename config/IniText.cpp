#include "IniText.h"

#include <cstdint>

namespace vrk {
namespace {

bool IsBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == 0x1a;
}

// Upper case within Windows-1252: a-z, the accented letters of the Latin-1
// block, and the four letter pairs that code page adds below 0xA0.
unsigned char FoldCase(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A: return 0x8A; // š Š
    case 0x9C: return 0x8C; // œ Œ
    case 0x9E: return 0x8E; // ž Ž
    case 0xFF: return 0x9F; // ÿ Ÿ
    default: return c;
    }
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && IsBlank(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool NamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i]))) return false;
    return true;
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
    // A UTF-8 byte-order mark is not part of the first line.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) pos = 3;
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

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > kIniValueLimit) value = value.substr(0, kIniValueLimit);
    return std::string(value);
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
