// The INI reader and writer on any bytes: lookups never fail, and a value
// written is read back, with every other line of the file kept. And the text
// conversions of the files: every byte of the code page comes back, and what
// UTF-16 gives back is well-formed UTF-8 that goes there and back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "IniFile.h"
#include "IniText.h"
#include "Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (vrk::Cp1252FromUtf8(vrk::Utf8FromCp1252(text)) != text) std::abort();
    const std::string repaired = vrk::Utf8FromUtf16(vrk::Utf16FromUtf8(text));
    if (vrk::Utf8FromUtf16(vrk::Utf16FromUtf8(repaired)) != repaired) std::abort();
    // The first line names what to read and write; the rest is the file.
    const auto cut = text.find('\n');
    const std::string head = cut == std::string::npos ? text : text.substr(0, cut);
    const std::string file = cut == std::string::npos ? std::string() : text.substr(cut + 1);
    const auto bar = head.find('|');
    std::string section = bar == std::string::npos ? head : head.substr(0, bar);
    std::string key = bar == std::string::npos ? "k" : head.substr(bar + 1);
    // Names that hold line breaks, "=" or brackets are not what the program
    // writes; keep to names it could.
    for (std::string* name : {&section, &key})
        for (char& c : *name)
            if (c == '\r' || c == '\n' || c == '=' || c == '[' || c == ']' || c == ';' || c == ' ' || c == '\t' ||
                c == 0x1a || c == '\v' || c == '\f')
                c = '_';
    if (section.empty()) section = "s";
    if (key.empty()) key = "k";

    (void)vrk::IniLookup(file, section, key);
    (void)vrk::IniKeyNames(file, section);
    (void)vrk::ParseIniInteger(file.substr(0, 16));

    const std::string updated = vrk::IniWithValue(file, section, key, "v42");
    const auto back = vrk::IniLookup(updated, section, key);
    if (!back || *back != "v42") std::abort();
    if (vrk::IniWithValue(updated, section, key, "v42") != updated) std::abort();
    // Every other key of the section keeps its value.
    for (const auto& other : vrk::IniKeyNames(file, section))
        if (!vrk::IniNamesEqual(other, key) &&
            vrk::IniLookup(file, section, other) != vrk::IniLookup(updated, section, other))
            std::abort();
    return 0;
}
