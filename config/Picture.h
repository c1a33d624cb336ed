#pragma once
// Pictures of a skin, decoded from their files: icons and cursors (kept as
// their file bytes, with the directory checked, for the system's icon
// loader), JPEG through libjpeg, GIF animations through giflib.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Platform.h"

namespace vrk {

// 32-bit pixels 0xAARRGGBB, rows from the top.
struct Frame {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    int delayMs = 0; // how long this frame shows (animations)
};

struct IconImage {
    int width = 0, height = 0, bitCount = 0;
    std::uint32_t offset = 0, size = 0;
    int hotspotX = 0, hotspotY = 0; // cursors only
};

struct Picture {
    enum class Kind { kIcon, kCursor, kJpeg, kGif } kind = Kind::kIcon;
    int width = 0, height = 0;       // natural size (an icon: its best-fitting image)
    std::vector<std::uint8_t> bytes; // icon and cursor files: the whole file
    std::vector<IconImage> images;   // icon and cursor files: the directory
    std::vector<Frame> frames;       // JPEG: one frame; GIF: every frame, composed
    int transparentIndex = -1;
};

// The biggest pictures we agree to decode; anything claiming more is refused
// before memory is reserved for it.
inline constexpr int kMaxPictureSide = 8192;
inline constexpr std::size_t kMaxPicturePixels = 16u << 20; // all frames together
inline constexpr std::size_t kMaxGifFrames = 512;
inline constexpr std::size_t kMaxPictureFileBytes = 32u << 20;

// Reads and decodes a picture file, chosen by its extension (.ico, .cur,
// .jpg/.jpeg, .gif). Raises Error "Cannot open file "<path>". <reason>" when
// the file cannot be read, and a decoder's error when it is not a valid
// picture of its kind.
std::shared_ptr<const Picture> LoadPicture(Platform& os, const std::string& path);

// Decoders on bytes already read (fuzzed on their own).
std::shared_ptr<Picture> DecodeIcon(const std::string& bytes, bool cursor);
std::shared_ptr<Picture> DecodeJpeg(const std::string& bytes);
std::shared_ptr<Picture> DecodeGif(const std::string& bytes);

// The image of an icon that best fits a square of the given side: the exact
// size if there is one (deepest colour first), else the smallest bigger one,
// else the biggest.
const IconImage* BestIconImage(const Picture& icon, int side);

} // namespace vrk
