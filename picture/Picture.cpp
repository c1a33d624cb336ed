#include "Picture.h"

#include <algorithm>
#include <string>

#include "Error.h"

namespace vrk {
namespace {

std::string LowerExtension(const std::string& path) {
    const auto dot = path.find_last_of('.');
    const auto sep = path.find_last_of("\\/");
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

} // namespace

bool FitsAtScale(const Picture& picture, int dpi) {
    // Rounded to the nearest pixel, as every size of a window is.
    auto scaled = [dpi](int side) { return std::max(0LL, (static_cast<long long>(side) * dpi + 48) / 96); };
    unsigned long long pixels = 0;
    for (const Frame& frame : picture.frames) {
        pixels += static_cast<unsigned long long>(scaled(frame.width)) * scaled(frame.height);
        if (pixels > kMaxPicturePixels) return false;
    }
    return true;
}

std::shared_ptr<const Picture> LoadPicture(Platform& os, const std::string& path) {
    std::string bytes;
    std::uint32_t error = 0;
    auto cannotOpen = [&path](const std::string& reason) {
        return Error("Cannot open file \"" + path + "\". " + reason);
    };
    switch (os.ReadContent(path, bytes, kMaxPictureFileBytes, &error)) {
    case Platform::ReadResult::kRead: break;
    // Why, in the system's words: a missing skin folder is not a missing
    // file, and a file another program holds is not one we may not read.
    case Platform::ReadResult::kMissing:
    case Platform::ReadResult::kFailed: {
        const std::string reason = os.SystemMessage(error);
        throw cannotOpen(reason.empty() ? "System error " + std::to_string(error) : reason);
    }
    case Platform::ReadResult::kTooLarge: throw cannotOpen("The file is too large");
    }
    const std::string ext = LowerExtension(path);
    if (ext == "ico") return DecodeIcon(bytes, false);
    if (ext == "cur") return DecodeIcon(bytes, true);
    if (ext == "jpg" || ext == "jpeg") return DecodeJpeg(bytes);
    if (ext == "gif") return DecodeGif(bytes);
    throw Error("Unknown picture file extension (." + ext + ")");
}

} // namespace vrk
