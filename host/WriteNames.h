#pragma once
// The temporary files of writes: a file is rewritten by writing the new
// content to a file of such a name in its folder and renaming that over it.
// A write cut short by a crash leaves the temporary file behind; the name,
// which nothing else uses, lets the next start find such files and remove
// them.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace vrk {

inline constexpr std::string_view kWritePrefix = "~vrk";
inline constexpr std::string_view kWriteExtension = ".vrkwrite";

// "~vrk" + eight hexadecimal digits + ".vrkwrite".
inline std::string TemporaryWriteName(std::uint32_t unique) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", unique);
    return std::string(kWritePrefix) + digits + std::string(kWriteExtension);
}

inline bool IsTemporaryWriteName(std::string_view name) {
    if (name.size() != kWritePrefix.size() + 8 + kWriteExtension.size()) return false;
    if (!name.starts_with(kWritePrefix) || !name.ends_with(kWriteExtension)) return false;
    for (char c : name.substr(kWritePrefix.size(), 8))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) return false;
    return true;
}

} // namespace vrk
