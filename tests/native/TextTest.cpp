// The text conversions at the system's boundary: UTF-8 and UTF-16, and the
// 8-bit code page of the stored files.
#include <gtest/gtest.h>

#include "Text.h"

namespace vrk {
namespace {

TEST(Text, EveryWindows1252ByteComesBackAsItWas) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Utf8FromCp1252(byte);
        EXPECT_EQ(Cp1252FromUtf8(utf8), byte) << "byte 0x" << std::hex << b;
        EXPECT_EQ(Utf16FromUtf8(utf8).size(), 1u) << "byte 0x" << std::hex << b << " is one character";
    }
    // The code page's own letters, and the undefined bytes as Windows has them.
    EXPECT_EQ(Utf8FromCp1252("\x80\x8A\x9F\xE9\xFF"), "€ŠŸéÿ");
    EXPECT_EQ(Utf16FromUtf8(Utf8FromCp1252("\x81\x8D\x8F\x90\x9D")), u"\u0081\u008D\u008F\u0090\u009D");
    EXPECT_EQ(Cp1252FromUtf8("Français – 5 €"), "Fran\xE7"
                                                "ais \x96 5 \x80");
}

TEST(Text, ACharacterOutsideTheCodePageHasNoForm) {
    for (const char* text : {"Сервер", "测试", "Ω", "\u0080", "\uFFFD", "a\xFF" /* not UTF-8 */})
        EXPECT_EQ(Cp1252FromUtf8(text), std::nullopt) << text;
    EXPECT_EQ(Cp1252FromUtf8(""), "");
}

TEST(Text, Utf16RoundTripsAndBrokenInputBecomesReplacementCharacters) {
    const std::string text = "C:\\Сервер 测试\\vorlan\\Français 😀";
    const std::u16string wide = Utf16FromUtf8(text);
    EXPECT_EQ(wide, u"C:\\Сервер 测试\\vorlan\\Français 😀");
    EXPECT_EQ(wide.substr(wide.size() - 2), std::u16string({0xD83D, 0xDE00})) << "the emoji is one surrogate pair";
    EXPECT_EQ(Utf8FromUtf16(wide), text);

    // Each broken sequence is one replacement, as long as it starts well.
    EXPECT_EQ(Utf16FromUtf8("a\xE2\x82"
                            "b"),
              u"a\uFFFDb")
        << "cut short";
    EXPECT_EQ(Utf16FromUtf8("\x80x\xBF"), u"\uFFFDx\uFFFD") << "stray continuation bytes";
    EXPECT_EQ(Utf16FromUtf8("\xC0\x80"), u"\uFFFD\uFFFD") << "an overlong NUL";
    EXPECT_EQ(Utf16FromUtf8("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD") << "a surrogate";
    EXPECT_EQ(Utf16FromUtf8("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD") << "beyond U+10FFFF";
    EXPECT_EQ(Utf16FromUtf8("\xF0\x9F\x98"), u"\uFFFD") << "an emoji cut short";
    // And an unpaired surrogate of UTF-16.
    EXPECT_EQ(Utf8FromUtf16(u"a\xD83D"
                            "b\xDE00"),
              "a\uFFFDb\uFFFD");
    EXPECT_EQ(Utf8FromUtf16(std::u16string(1, u'\0')), std::string(1, '\0'));
}

} // namespace
} // namespace vrk
