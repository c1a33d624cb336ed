// JPEG pictures (the skin's background), decoded by libjpeg.
#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

#include "Error.h"
#include "Picture.h"

namespace vrk {
namespace {

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

} // namespace vrk
