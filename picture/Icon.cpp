// Icon and cursor files: their directory read and checked, their bytes kept
// for the system's icon loader, which makes each image.
#include <cstdint>
#include <string>

#include "Error.h"
#include "Picture.h"

namespace vrk {
namespace {

std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t U32(const std::string& b, std::size_t at) { return U16(b, at) | (std::uint32_t(U16(b, at + 2)) << 16); }
std::uint32_t BigEndian32(const std::string& b, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(b[at + i]);
    return value;
}

} // namespace

std::shared_ptr<Picture> DecodeIcon(const std::string& bytes, bool cursor) {
    const char* what = cursor ? "Invalid cursor" : "Invalid icon";
    if (bytes.size() < 6 || U16(bytes, 0) != 0 || U16(bytes, 2) != (cursor ? 2 : 1))
        throw Error(std::string(what) + ": not a " + (cursor ? "cursor" : "icon") + " file");
    const std::size_t count = U16(bytes, 4);
    if (count == 0 || bytes.size() < 6 + 16 * count) throw Error(std::string(what) + ": truncated directory");
    auto picture = std::make_shared<Picture>();
    picture->kind = cursor ? Picture::Kind::kCursor : Picture::Kind::kIcon;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t e = 6 + 16 * i;
        IconImage image;
        image.width = static_cast<unsigned char>(bytes[e]) ? static_cast<unsigned char>(bytes[e]) : 256;
        image.height = static_cast<unsigned char>(bytes[e + 1]) ? static_cast<unsigned char>(bytes[e + 1]) : 256;
        if (cursor) {
            image.hotspotX = U16(bytes, e + 4);
            image.hotspotY = U16(bytes, e + 6);
        } else {
            image.bitCount = U16(bytes, e + 6);
        }
        image.size = U32(bytes, e + 8);
        image.offset = U32(bytes, e + 12);
        if (image.size < 40 || image.offset < 6 + 16 * count || image.offset > bytes.size() ||
            image.size > bytes.size() - image.offset)
            throw Error(std::string(what) + ": image data outside the file");
        // The image itself is a PNG or a DIB: its header gives the real depth,
        // and the size the system will make it at before scaling it to ours.
        const bool png = bytes.compare(image.offset, 4, "\x89PNG") == 0;
        std::int64_t ownWidth, ownHeight;
        if (png) {
            // The signature, then the first chunk, which must be the header.
            if (bytes.compare(image.offset + 12, 4, "IHDR") != 0) throw Error(std::string(what) + ": bad PNG image");
            ownWidth = BigEndian32(bytes, image.offset + 16);
            ownHeight = BigEndian32(bytes, image.offset + 20);
        } else {
            const std::uint32_t header = U32(bytes, image.offset);
            if (header < 40) throw Error(std::string(what) + ": bad image header");
            if (!image.bitCount) image.bitCount = U16(bytes, image.offset + 14);
            // Signed, and twice the height: the colours, then the mask.
            ownWidth = static_cast<std::int32_t>(U32(bytes, image.offset + 4));
            ownHeight = static_cast<std::int32_t>(U32(bytes, image.offset + 8)) / 2;
        }
        if (ownWidth <= 0 || ownHeight <= 0 || ownWidth > kMaxIconImageSide || ownHeight > kMaxIconImageSide)
            throw Error(std::string(what) + ": bad image size");
        picture->images.push_back(image);
    }
    picture->bytes.assign(bytes.begin(), bytes.end());
    const IconImage* best = BestIconImage(*picture, 32);
    picture->width = best->width;
    picture->height = best->height;
    return picture;
}

const IconImage* BestIconImage(const Picture& icon, int side) {
    const IconImage* best = nullptr;
    auto better = [side](const IconImage& a, const IconImage& b) {
        // exact size first, then the smallest bigger, then the biggest smaller;
        // among equals the deepest colour
        auto rank = [side](const IconImage& i) {
            if (i.width == side) return 0;
            return i.width > side ? 1 : 2;
        };
        if (rank(a) != rank(b)) return rank(a) < rank(b);
        if (a.width != b.width) return rank(a) == 1 ? a.width < b.width : a.width > b.width;
        return a.bitCount > b.bitCount;
    };
    for (const auto& image : icon.images)
        if (!best || better(image, *best)) best = &image;
    return best;
}

} // namespace vrk
