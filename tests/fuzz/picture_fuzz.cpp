// The picture decoders on any bytes: a picture or a clean error, nothing else,
// and never more memory than the size limits allow.
#include <cstdint>
#include <string>

#include "Picture.h"
#include "Error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        switch (data[0] % 4) {
        case 0: vrk::DecodeJpeg(bytes); break;
        case 1: vrk::DecodeGif(bytes); break;
        case 2: vrk::DecodeIcon(bytes, false); break;
        case 3: vrk::DecodeIcon(bytes, true); break;
        }
    } catch (const vrk::Error&) {}
    return 0;
}
