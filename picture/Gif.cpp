// GIF animations (the skin's loading picture), decoded by giflib and
// composed frame by frame as a viewer shows them.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <gif_lib.h>

#include "Error.h"
#include "Picture.h"

namespace vrk {

namespace {

struct GifSource {
    const std::string* bytes;
    std::size_t at = 0;
};

GraphicsControlBlock NoControl() {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSAL_UNSPECIFIED;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    return control;
}

int ReadGif(GifFileType* gif, GifByteType* out, int wanted) {
    auto* source = static_cast<GifSource*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(wanted), source->bytes->size() - source->at);
    std::memcpy(out, source->bytes->data() + source->at, n);
    source->at += n;
    return static_cast<int>(n);
}

[[noreturn]] void Fail(const GifFileType* gif, const char* fallback) {
    const char* text = GifErrorString(gif->Error);
    throw Error(std::string("GIF error: ") + (text ? text : fallback));
}

// The file as it is read record by record rather than all at once, so that
// every image's size is checked before memory is taken for it.
struct GifReading {
    GifReading(GifFileType* file, int screenWidth, int screenHeight)
        : gif(file), width(screenWidth), height(screenHeight) {}
    GifFileType* gif;
    int width, height; // of the screen
    std::size_t pixels = 0;
    std::vector<GraphicsControlBlock> controls; // of each image
    GraphicsControlBlock control = NoControl(); // for the next image
    bool controlSeen = false;
    int extensions = 0;
    std::size_t extensionBytes = 0;
};

void ReadImage(GifReading& r) {
    GifFileType* gif = r.gif;
    if (DGifGetImageDesc(gif) != GIF_OK) Fail(gif, "corrupt image");
    SavedImage& image = gif->SavedImages[gif->ImageCount - 1];
    const int w = image.ImageDesc.Width, h = image.ImageDesc.Height;
    if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) throw Error("GIF error: bad frame size");
    r.pixels += static_cast<std::size_t>(w) * h + static_cast<std::size_t>(r.width) * r.height;
    if (r.pixels > kMaxPicturePixels || static_cast<std::size_t>(gif->ImageCount) > kMaxGifFrames)
        throw Error("GIF error: too many frames");
    image.RasterBits = static_cast<GifByteType*>(std::malloc(static_cast<std::size_t>(w) * h));
    if (!image.RasterBits) throw Error("GIF error: out of memory");
    if (image.ImageDesc.Interlace) {
        static const int offsets[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = offsets[pass]; y < h; y += steps[pass])
                if (DGifGetLine(gif, image.RasterBits + static_cast<std::size_t>(y) * w, w) != GIF_OK)
                    Fail(gif, "corrupt image data");
    } else if (DGifGetLine(gif, image.RasterBits, w * h) != GIF_OK) {
        Fail(gif, "corrupt image data");
    }
    // The graphics control read since the last image is this one's.
    r.controls.push_back(r.control);
    r.control = NoControl();
    r.controlSeen = false;
    r.extensions = 0;
    r.extensionBytes = 0;
}

void ReadExtension(GifReading& r) {
    GifFileType* gif = r.gif;
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) Fail(gif, "corrupt extension");
    if (++r.extensions > kMaxGifExtensionsPerFrame) throw Error("GIF error: too many extension blocks");
    // The first graphics control of an image is the one it follows.
    if (code == GRAPHICS_EXT_FUNC_CODE && block && !r.controlSeen) {
        r.controlSeen = true;
        DGifExtensionToGCB(block[0], &block[1], &r.control);
    }
    while (block) {
        r.extensionBytes += block[0];
        if (r.extensionBytes > kMaxGifExtensionBytesPerFrame) throw Error("GIF error: extension blocks too long");
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) Fail(gif, "corrupt extension");
    }
}

// Frames are composed onto a canvas, as a viewer shows them, following each
// frame's disposal.
void ComposeFrames(const GifFileType* gif, const std::vector<GraphicsControlBlock>& controls, Picture& picture) {
    const int width = picture.width, height = picture.height;
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(width) * height, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GraphicsControlBlock& control = controls[static_cast<std::size_t>(i)];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        if (!map) throw Error("GIF error: no colour map");
        if (i == 0) picture.transparentIndex = control.TransparentColor;
        const std::vector<std::uint32_t> before = canvas;
        const GifImageDesc& d = image.ImageDesc;
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const int cx = d.Left + x, cy = d.Top + y;
                if (cx < 0 || cy < 0 || cx >= width || cy >= height) continue;
                const int index = image.RasterBits[static_cast<std::size_t>(y) * d.Width + x];
                if (index == control.TransparentColor || index >= map->ColorCount) continue;
                const GifColorType c = map->Colors[index];
                canvas[static_cast<std::size_t>(cy) * width + cx] =
                    0xFF000000u | (std::uint32_t(c.Red) << 16) | (std::uint32_t(c.Green) << 8) | c.Blue;
            }
        Frame frame;
        frame.width = width;
        frame.height = height;
        frame.pixels = canvas;
        frame.delayMs = control.DelayTime > 0 ? control.DelayTime * 10 : 100;
        picture.frames.push_back(std::move(frame));
        if (control.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = std::max(0, d.Top); y < std::min(height, d.Top + d.Height); ++y)
                for (int x = std::max(0, d.Left); x < std::min(width, d.Left + d.Width); ++x)
                    canvas[static_cast<std::size_t>(y) * width + x] = 0;
        } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
            canvas = before;
        }
    }
}

} // namespace

std::shared_ptr<Picture> DecodeGif(const std::string& bytes) {
    GifSource source{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&source, ReadGif, &error);
    if (!gif) throw Error(std::string("GIF error: ") + (GifErrorString(error) ? GifErrorString(error) : "unreadable"));
    struct Closer {
        GifFileType* gif;
        ~Closer() {
            int ignored;
            DGifCloseFile(gif, &ignored);
        }
    } closer{gif};

    const int width = gif->SWidth, height = gif->SHeight;
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
        static_cast<std::size_t>(width) * height > kMaxPicturePixels)
        throw Error("GIF error: bad picture size");
    GifReading reading(gif, width, height);
    for (GifRecordType record = UNDEFINED_RECORD_TYPE; record != TERMINATE_RECORD_TYPE;) {
        if (DGifGetRecordType(gif, &record) != GIF_OK) Fail(gif, "corrupt");
        if (record == IMAGE_DESC_RECORD_TYPE)
            ReadImage(reading);
        else if (record == EXTENSION_RECORD_TYPE)
            ReadExtension(reading);
    }
    if (gif->ImageCount <= 0) throw Error("GIF error: no image");

    auto picture = std::make_shared<Picture>();
    picture->kind = Picture::Kind::kGif;
    picture->width = width;
    picture->height = height;
    ComposeFrames(gif, reading.controls, *picture);
    return picture;
}

} // namespace vrk
