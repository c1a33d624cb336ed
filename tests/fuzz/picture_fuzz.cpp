// The picture decoders on any bytes: a picture or a clean error, nothing else,
// and never more memory than the size limits allow; then, as a display at
// 300 % draws it, every frame scaled smoothly when they all fit the limit
// at that scale.
#include <cstdint>
#include <string>

#include "Error.h"
#include "Picture.h"
#include "Resample.h"

namespace {

constexpr int kDpi = 288; // 300 %: every side three times as long

void DrawnAtScale(const vrk::Picture& picture) {
    if (!vrk::FitsAtScale(picture, kDpi)) return; // drawn at its own size
    for (const vrk::Frame& frame : picture.frames) {
        const auto scaled = vrk::Resample(frame.pixels, frame.width, frame.height, frame.width * 3, frame.height * 3);
        if (scaled.size() != static_cast<std::size_t>(frame.width) * 3 * frame.height * 3) __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        switch (data[0] % 4) {
        case 0: DrawnAtScale(*vrk::DecodeJpeg(bytes)); break;
        case 1: DrawnAtScale(*vrk::DecodeGif(bytes)); break;
        case 2: vrk::DecodeIcon(bytes, false); break;
        case 3: vrk::DecodeIcon(bytes, true); break;
        }
    } catch (const vrk::Error&) {}
    return 0;
}
