#pragma once
// Text conversions. Inside, the program keeps its text as UTF-8; Windows
// takes and gives UTF-16 (its wide functions), and the stored files are in
// the system's 8-bit code page, Windows-1252 on western systems. Pure
// functions, the same on every platform.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vrk {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// The code point that starts at `pos`, moving `pos` past it. An ill-formed
// sequence (a stray continuation byte, a sequence cut short, an overlong
// form, a surrogate, anything above U+10FFFF) gives nothing and moves past
// its longest well-formed beginning, at least one byte, as Windows does.
std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& pos);

// UTF-16 of UTF-8 text; each ill-formed sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);
// UTF-8 of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view utf16);

// Windows-1252 as Windows itself maps it: every byte has a character, the
// five the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) the C1
// control of the same number, so that every byte comes back as it was.
std::string Utf8FromCp1252(std::string_view bytes);
// Nothing when a character has no form in the code page (or the text is not
// well-formed UTF-8): nothing is ever written as a question mark.
std::optional<std::string> Cp1252FromUtf8(std::string_view utf8);

} // namespace vrk
