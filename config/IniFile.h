#pragma once
// Typed access to one INI file. The object is only the file's path: every
// read reads the file afresh and every write reaches the disk before it
// returns, so any number of objects (and other programs) can share a file.
//
// The files are 8-bit text in the system's ANSI code page, as other programs
// read and write them; a file that begins with the UTF-8 byte-order mark
// (a translator's editor saved it so) is UTF-8. Names, values and defaults
// are UTF-8: the file's text is converted when it is read and when it is
// written, in the file's own encoding.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Error.h"
#include "Platform.h"

namespace vrk {

// INI files bigger than this are not read (every value takes its default)
// and not written (a write raises): no settings file is that big, and reading
// one afresh for every value would hold that much memory each time.
inline constexpr std::size_t kMaxIniFileBytes = 16u << 20;

class IniFile {
public:
    // Touches nothing on disk; a missing file is not an error. `sources`,
    // when given, hears of every write that reached the file. `durability`
    // says whether each write also waits until the file is on the disk.
    IniFile(Platform& os, std::string path, ErrorSources* sources = nullptr,
            Platform::Durability durability = Platform::Durability::kDisk);

    const std::string& path() const { return path_; }

    // The value, or the default when the file or the key is missing.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // A decimal number, or hexadecimal after "0x"; the default for anything
    // else, for an empty value and for a missing key.
    std::int32_t ReadInteger(const std::string& section, const std::string& key, std::int32_t def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    // The key names of a section in file order; empty when it is missing.
    void ReadSection(const std::string& section, std::vector<std::string>& keys) const;

    // Each write raises Error("Unable to write to <path>"), with the path as
    // its source, when the file cannot be written, and then leaves the file
    // as it was: also when the value has no form in the file's code page
    // (never written as question marks), and when the file holds bytes that
    // would not come back the same (lines we do not touch keep their bytes).
    // A link (or one of several hard links) where the file should be is not
    // read for a write: the write replaces it with a file of its own.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, std::int32_t value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

    // While a Held lives, the file's reads use one copy of it, read when the
    // Held was made: many reads in a row (a window's captions) read the file
    // once, as one read of many keys. Writes still read the file afresh and
    // keep the copy in step.
    class Held {
    public:
        explicit Held(const IniFile& file);
        ~Held();
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        const IniFile& file_;
    };

private:
    struct Decoded {
        std::string text; // UTF-8, without the byte-order mark
        bool utf8 = false;
    };
    Decoded Decode(const std::string& bytes) const;
    std::optional<std::string> Encode(const std::string& text, bool utf8) const;
    std::string Text() const;
    Error WriteError() const;

    Platform& os_;
    std::string path_;
    ErrorSources* sources_;
    Platform::Durability durability_;
    mutable int holds_ = 0;
    mutable std::string held_; // the decoded text
};

// How ReadInteger converts a value; nothing when it is not a number.
std::optional<std::int32_t> ParseIniInteger(const std::string& value);

} // namespace vrk
