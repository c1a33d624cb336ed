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
// What the decoders themselves are given to chew on, far beyond what a real
// skin holds:
// - A GIF's extension blocks (comments, metadata, a colour profile) are read
//   and let go, all but the one that times and clears a frame. A real
//   animation has a handful before each frame, of a few kilobytes (a colour
//   profile of some hundred at most).
inline constexpr int kMaxGifExtensionsPerFrame = 32;
inline constexpr std::size_t kMaxGifExtensionBytesPerFrame = 1u << 20;
// - An icon's image (a PNG or a bitmap) is made by the system at the size
//   its own header states, whatever the directory says. The largest images
//   made for icons have 1024 pixels a side; a control shows 64 (192 at 300 %).
inline constexpr int kMaxIconImageSide = 1024;
// - A progressive JPEG is a rough picture refined scan by scan, each scan
//   another pass over the whole picture. Encoders write about ten.
inline constexpr int kMaxJpegScans = 100;

// Whether the picture's frames, every one grown (or shrunk) to the display
// scale of `dpi` (96 is 100 %), stay within kMaxPicturePixels all together.
// One that would not is drawn at its own size: decoding bounded what it
// takes, and scaling must not take nine times as much at 300 %. (An icon has
// no frames: its images are bounded by their side.)
bool FitsAtScale(const Picture& picture, int dpi);

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
