#pragma once
// The one crossing between the program's UTF-8 text and Windows' wide
// (UTF-16) functions: every path and text goes through Wide on its way to a
// W function and through Utf8 on its way back.
#include <string>
#include <string_view>

#include "Text.h"

namespace vrk {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 code units");

inline std::wstring Wide(std::string_view utf8) {
    const std::u16string utf16 = Utf16FromUtf8(utf8);
    return std::wstring(utf16.begin(), utf16.end());
}

inline std::string Utf8(std::wstring_view wide) {
    return Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

} // namespace vrk
