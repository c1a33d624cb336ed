#include "Picture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <gif_lib.h>
#include <jpeglib.h>

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

std::uint16_t U16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::uint32_t U32(const std::string& b, std::size_t at) { return U16(b, at) | (std::uint32_t(U16(b, at + 2)) << 16); }
std::uint32_t BigEndian32(const std::string& b, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(b[at + i]);
    return value;
}

// --- JPEG -------------------------------------------------------------------------

struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    info->err->format_message(info, error->message);
    std::longjmp(error->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr, int) {}

// Called before each step of reading the file: a picture of more scans than
// any encoder writes is stopped as a broken one, before its next scan.
void CountJpegScans(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number <= kMaxJpegScans) return;
    auto* error = reinterpret_cast<JpegError*>(common->err);
    std::snprintf(error->message, sizeof error->message, "more than %d scans", kMaxJpegScans);
    std::longjmp(error->jump, 1);
}

} // namespace

std::shared_ptr<Picture> DecodeJpeg(const std::string& bytes) {
    auto picture = std::make_shared<Picture>();
    picture->kind = Picture::Kind::kJpeg;
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = OnJpegError;
    error.manager.emit_message = IgnoreJpegMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = CountJpegScans;
    // Everything the decoder allocates lives in `info`; after a jump only
    // jpeg_destroy_decompress is needed, and no C++ object with a destructor
    // is created between setjmp and the jump.
    Frame* volatile frame = &picture->frames.emplace_back();
    std::vector<std::uint8_t> row;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        throw Error(std::string("JPEG error: ") + error.message);
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxPictureSide ||
        info.image_height > kMaxPictureSide ||
        static_cast<std::size_t>(info.image_width) * info.image_height > kMaxPicturePixels) {
        jpeg_destroy_decompress(&info);
        throw Error("JPEG error: picture too large");
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    frame->width = static_cast<int>(info.output_width);
    frame->height = static_cast<int>(info.output_height);
    frame->pixels.resize(static_cast<std::size_t>(frame->width) * frame->height);
    row.resize(static_cast<std::size_t>(info.output_width) * info.output_components);
    while (info.output_scanline < info.output_height) {
        unsigned char* rows[] = {row.data()};
        const int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, rows, 1);
        std::uint32_t* out = frame->pixels.data() + static_cast<std::size_t>(y) * frame->width;
        for (int x = 0; x < frame->width; ++x)
            out[x] =
                0xFF000000u | (std::uint32_t(row[3 * x]) << 16) | (std::uint32_t(row[3 * x + 1]) << 8) | row[3 * x + 2];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    picture->width = frame->width;
    picture->height = frame->height;
    return picture;
}

// --- GIF --------------------------------------------------------------------------

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
    auto fail = [gif](const char* fallback) {
        const char* text = GifErrorString(gif->Error);
        throw Error(std::string("GIF error: ") + (text ? text : fallback));
    };
    // Read record by record rather than all at once, so that every image's
    // size is checked before memory is taken for it.
    std::size_t pixels = 0;
    std::vector<GraphicsControlBlock> controls; // of each image
    GraphicsControlBlock control = NoControl(); // for the next image
    bool controlSeen = false;
    int extensions = 0;
    std::size_t extensionBytes = 0;
    for (GifRecordType record = UNDEFINED_RECORD_TYPE; record != TERMINATE_RECORD_TYPE;) {
        if (DGifGetRecordType(gif, &record) != GIF_OK) fail("corrupt");
        if (record == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) != GIF_OK) fail("corrupt image");
            SavedImage& image = gif->SavedImages[gif->ImageCount - 1];
            const int w = image.ImageDesc.Width, h = image.ImageDesc.Height;
            if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide)
                throw Error("GIF error: bad frame size");
            pixels += static_cast<std::size_t>(w) * h + static_cast<std::size_t>(width) * height;
            if (pixels > kMaxPicturePixels || static_cast<std::size_t>(gif->ImageCount) > kMaxGifFrames)
                throw Error("GIF error: too many frames");
            image.RasterBits = static_cast<GifByteType*>(std::malloc(static_cast<std::size_t>(w) * h));
            if (!image.RasterBits) throw Error("GIF error: out of memory");
            if (image.ImageDesc.Interlace) {
                static const int offsets[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
                for (int pass = 0; pass < 4; ++pass)
                    for (int y = offsets[pass]; y < h; y += steps[pass])
                        if (DGifGetLine(gif, image.RasterBits + static_cast<std::size_t>(y) * w, w) != GIF_OK)
                            fail("corrupt image data");
            } else if (DGifGetLine(gif, image.RasterBits, w * h) != GIF_OK) {
                fail("corrupt image data");
            }
            // The graphics control read since the last image is this one's.
            controls.push_back(control);
            control = NoControl();
            controlSeen = false;
            extensions = 0;
            extensionBytes = 0;
        } else if (record == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif, &code, &block) != GIF_OK) fail("corrupt extension");
            if (++extensions > kMaxGifExtensionsPerFrame) throw Error("GIF error: too many extension blocks");
            // The first graphics control of an image is the one it follows.
            if (code == GRAPHICS_EXT_FUNC_CODE && block && !controlSeen) {
                controlSeen = true;
                DGifExtensionToGCB(block[0], &block[1], &control);
            }
            while (block) {
                extensionBytes += block[0];
                if (extensionBytes > kMaxGifExtensionBytesPerFrame) throw Error("GIF error: extension blocks too long");
                if (DGifGetExtensionNext(gif, &block) != GIF_OK) fail("corrupt extension");
            }
        }
    }
    if (gif->ImageCount <= 0) throw Error("GIF error: no image");

    auto picture = std::make_shared<Picture>();
    picture->kind = Picture::Kind::kGif;
    picture->width = width;
    picture->height = height;
    // Frames are composed onto a canvas, as a viewer shows them, following
    // each frame's disposal.
    std::vector<std::uint32_t> canvas(static_cast<std::size_t>(width) * height, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GraphicsControlBlock& control = controls[static_cast<std::size_t>(i)];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        if (!map) throw Error("GIF error: no colour map");
        if (i == 0) picture->transparentIndex = control.TransparentColor;
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
        picture->frames.push_back(std::move(frame));
        if (control.DisposalMode == DISPOSE_BACKGROUND) {
            for (int y = std::max(0, d.Top); y < std::min(height, d.Top + d.Height); ++y)
                for (int x = std::max(0, d.Left); x < std::min(width, d.Left + d.Width); ++x)
                    canvas[static_cast<std::size_t>(y) * width + x] = 0;
        } else if (control.DisposalMode == DISPOSE_PREVIOUS) {
            canvas = before;
        }
    }
    return picture;
}

// --- ICO and CUR ---------------------------------------------------------------------

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
