#pragma once
// Text fields of a file's version resource.
#include <cstdint>
#include <string>

#include "Platform.h"

namespace vrk {

// Field indexes of GetFileInformation.
enum FileInformationField : std::uint8_t {
    kCompanyName = 0,
    kFileDescription = 1,
    kFileVersion = 2,
    kInternalName = 3,
    kLegalCopyright = 4,
    kOriginalFilename = 5,
    kProductName = 6,
    kProductVersion = 7,
    kSpecialBuild = 8,
};

// The version-resource path of a string field of the given translation, e.g.
// "\StringFileInfo\040904e4\productversion"; "" for an index without a field.
std::string StringFieldPath(std::uint16_t language, std::uint16_t codePage, std::uint8_t index);

// The text of a string field from the string table of the file's first
// translation, or "" on every failure.
std::string GetFileInformation(Platform& os, const std::string& fileName, std::uint8_t index);

} // namespace vrk
