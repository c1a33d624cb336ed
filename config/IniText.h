#pragma once
// The profile-file rules, as pure functions over a file's text (UTF-8):
//  - a line is split at CR, LF or CR LF; blanks around it do not count;
//  - "[name]" opens a section (up to the last "]" of the line);
//  - "key=value" gives a value: the key without blanks before the first "=",
//    the value without blanks around it and without one pair of matching
//    enclosing quotes (' or ");
//  - names match without regard to case; only the first section of a name
//    and the first key of a name within it count;
//  - a write replaces its key's line in place, or adds the key after the last
//    line of its section, or adds the section at the end of the file; every
//    other byte of the file stays as it was; new lines end in CR LF.
#include <optional>
#include <string>
#include <vector>

namespace vrk {

inline constexpr std::size_t kIniValueLimit = 2047;

// The value of a key as a profile read gives it (unquoted, cut to 2047
// characters), or nothing when the section, the key or its "=" is missing.
std::optional<std::string> IniLookup(const std::string& text, const std::string& section, const std::string& key);

// The key names of a section, in file order (lines with a value only; no
// comment lines). Empty when the section is missing.
std::vector<std::string> IniKeyNames(const std::string& text, const std::string& section);

// The text after writing key=value into section.
std::string IniWithValue(const std::string& text, const std::string& section, const std::string& key,
                         const std::string& value);

// Names compare as the system compares them: letters without regard to case
// (those of the western code pages, Greek and Cyrillic).
bool IniNamesEqual(const std::string& a, const std::string& b);

} // namespace vrk
