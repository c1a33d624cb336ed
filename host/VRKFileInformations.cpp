#include "VRKFileInformations.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace vrk {
namespace {

const char* const kFieldNames[] = {
    "companyname",      "filedescription", "fileversion",    "internalname", "legalcopyright",
    "originalfilename", "productname",     "productversion", "specialbuild",
};

} // namespace

std::string StringFieldPath(std::uint16_t language, std::uint16_t codePage, std::uint8_t index) {
    if (index >= std::size(kFieldNames)) return {};
    char path[96];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, kFieldNames[index]);
    return path;
}

std::string GetFileInformation(Platform& os, const std::string& fileName, std::uint8_t index) {
    if (!os.FileExists(fileName)) return {};
    // An index without a field asks for nothing; querying the bare table path
    // would hand back the table itself.
    if (index >= std::size(kFieldNames)) return {};
    const std::vector<std::uint8_t> buffer = os.VersionBlock(fileName);
    if (buffer.empty()) return {};

    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
    if (!os.QueryVersionValue(buffer, "\\VarFileInfo\\Translation", data, length) || !data || length < 4) return {};
    std::uint16_t language = 0, codePage = 0;
    std::memcpy(&language, data, 2);
    std::memcpy(&codePage, data + 2, 2);

    std::string text;
    if (!os.QueryVersionText(buffer, StringFieldPath(language, codePage, index), text)) return {};
    return text;
}

} // namespace vrk
