#include "IniFile.h"

#include <cstdlib>

#include "IniText.h"
#include "Error.h"

namespace vrk {

std::optional<std::int32_t> ParseIniInteger(const std::string& value) {
    std::string_view s = value;
    int base = 10;
    bool negative = false;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    } else if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (char c : s) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (magnitude > 0xFFFFFFFFull) return std::nullopt;
    }
    if (base == 16) return static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude)); // 0xFFFFFFFF is -1
    if (negative) {
        if (magnitude > 0x80000000ull) return std::nullopt;
        return static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    if (magnitude > 0x7FFFFFFFull) return std::nullopt;
    return static_cast<std::int32_t>(magnitude);
}

IniFile::IniFile(Platform& os, std::string path, ErrorSources* sources, Platform::Durability durability)
    : os_(os), path_(std::move(path)), sources_(sources), durability_(durability) {}

IniFile::Held::Held(const IniFile& file) : file_(file) {
    if (file_.holds_ == 0) file_.held_ = file_.Text();
    ++file_.holds_;
}

IniFile::Held::~Held() {
    if (--file_.holds_ == 0) file_.held_.clear();
}

namespace {
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
}

IniFile::Decoded IniFile::Decode(const std::string& bytes) const {
    if (bytes.starts_with(kUtf8Mark)) return {bytes.substr(kUtf8Mark.size()), true};
    return {os_.FromAnsi(bytes), false};
}

std::optional<std::string> IniFile::Encode(const std::string& text, bool utf8) const {
    if (utf8) return std::string(kUtf8Mark) + text;
    return os_.ToAnsi(text);
}

std::string IniFile::Text() const {
    if (holds_) return held_;
    std::string bytes;
    // A file that cannot be read reads like a missing one: every value takes
    // its default.
    if (os_.ReadContent(path_, bytes, kMaxIniFileBytes) != Platform::ReadResult::kRead) return {};
    return Decode(bytes).text;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
    return IniLookup(Text(), section, key).value_or(def);
}

std::int32_t IniFile::ReadInteger(const std::string& section, const std::string& key, std::int32_t def) const {
    const auto value = IniLookup(Text(), section, key);
    if (!value) return def;
    return ParseIniInteger(*value).value_or(def);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniFile::ReadSection(const std::string& section, std::vector<std::string>& keys) const {
    keys = IniKeyNames(Text(), section);
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    std::string bytes;
    // A link's content is another file's: taken into this one, it would
    // show that file to whoever may read this one.
    switch (os_.ReadOwnContent(path_, bytes, kMaxIniFileBytes)) {
    case Platform::ReadResult::kRead: break;
    case Platform::ReadResult::kMissing: bytes.clear(); break;
    // Writing over a file we could not read would throw its content away.
    case Platform::ReadResult::kFailed:
    case Platform::ReadResult::kTooLarge: throw WriteError();
    }
    const Decoded file = Decode(bytes);
    const std::string updated = IniWithValue(file.text, section, key, value);
    // The status poll writes the same values every second: an unchanged file
    // is not written again.
    if (updated == file.text) return;
    // Bytes that mean nothing in the code page would not come back as they
    // were, and the file is not ours to spoil; a value with no form in it
    // would be written as question marks.
    if (Encode(file.text, file.utf8) != bytes) throw WriteError();
    const std::optional<std::string> encoded = Encode(updated, file.utf8);
    if (!encoded) throw WriteError();
    if (os_.ReplaceContent(path_, *encoded, durability_) == Platform::WriteResult::kFailed) throw WriteError();
    if (holds_) held_ = updated;
    if (sources_) sources_->SourceRecovered(path_);
}

Error IniFile::WriteError() const { return Error("Unable to write to " + path_, path_); }

void IniFile::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

} // namespace vrk
