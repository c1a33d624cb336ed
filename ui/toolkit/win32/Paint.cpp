#include "Paint.h"

#include "ObjectCount.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vrk::ui::win32 {

COLORREF ToColorRef(Color color) {
    if ((color & kSystemColor) == kSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

LOGFONTA ToLogFont(const Font& font) {
    LOGFONTA lf{};
    lf.lfHeight = -font.height; // a character height, not a cell height
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = font.fixedPitch ? FIXED_PITCH : DEFAULT_PITCH;
    std::strncpy(lf.lfFaceName, font.name.c_str(), LF_FACESIZE - 1);
    return lf;
}

// --- Bitmap ---------------------------------------------------------------------------

Bitmap::Bitmap(const Frame& frame, bool premultiplied) {
    if (frame.width <= 0 || frame.height <= 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = frame.width;
    info.bmiHeader.biHeight = -frame.height; // rows from the top, as the frame
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(MadeGdi(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)));
    if (!bitmap_) return;
    width_ = frame.width;
    height_ = frame.height;
    // 0xAARRGGBB in memory is B, G, R, A: the layout of a 32-bit DIB.
    auto* out = static_cast<std::uint32_t*>(bits);
    const std::size_t count = frame.pixels.size();
    if (!premultiplied) {
        std::memcpy(out, frame.pixels.data(), count * sizeof(std::uint32_t));
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t p = frame.pixels[i];
            const std::uint32_t a = p >> 24;
            if (a == 255)
                out[i] = p;
            else if (a == 0)
                out[i] = 0;
            else {
                auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
                out[i] = (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
            }
        }
    }
    GdiFlush();
}

void Bitmap::Draw(HDC dc, int x, int y, bool alpha) const {
    if (!bitmap_) return;
    const MemoryDC memory(MadeGdi(CreateCompatibleDC(dc)));
    HDC source = memory.get();
    HGDIOBJ old = SelectObject(source, bitmap_.get());
    if (alpha) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        // gdi32's own blend: msimg32, which AlphaBlend comes from, is not a
        // known DLL and would be looked for beside vrk.exe first.
        GdiAlphaBlend(dc, x, y, width_, height_, source, 0, 0, width_, height_, blend);
    } else {
        BitBlt(dc, x, y, width_, height_, source, 0, 0, SRCCOPY);
    }
    SelectObject(source, old);
}

void Bitmap::Tile(HDC dc, const RECT& area, int originX, int originY) const {
    if (!bitmap_) return;
    const MemoryDC memory(MadeGdi(CreateCompatibleDC(dc)));
    HDC source = memory.get();
    HGDIOBJ old = SelectObject(source, bitmap_.get());
    // The first tile that reaches into the area.
    auto first = [](int from, int origin, int size) {
        const int offset = ((from - origin) % size + size) % size;
        return from - offset;
    };
    for (int y = first(area.top, originY, height_); y < area.bottom; y += height_)
        for (int x = first(area.left, originX, width_); x < area.right; x += width_)
            BitBlt(dc, x, y, width_, height_, source, 0, 0, SRCCOPY);
    SelectObject(source, old);
}

// --- icons ------------------------------------------------------------------------------

HICON MakeIcon(const Picture& picture, int width, int height, int* iconWidth, int* iconHeight) {
    if (picture.images.empty()) return nullptr;
    const int side = std::max(1, std::min(width, height));
    const IconImage* image = BestIconImage(picture, side);
    if (!image) return nullptr;
    auto* bytes = const_cast<BYTE*>(picture.bytes.data() + image->offset);
    HICON icon = MadeUser(
        CreateIconFromResourceEx(bytes, image->size, TRUE, 0x00030000, image->width, image->height, LR_DEFAULTCOLOR));
    if (icon) {
        *iconWidth = image->width;
        *iconHeight = image->height;
    }
    return icon;
}

// --- text --------------------------------------------------------------------------------

UINT TextFlags(const TextStyle& style) {
    // No prefix characters: captions come from language files as they stand.
    UINT flags = DT_EXPANDTABS | DT_NOPREFIX;
    if (style.wordWrap) flags |= DT_WORDBREAK;
    switch (style.align) {
    case Align::kLeft: flags |= DT_LEFT; break;
    case Align::kCenter: flags |= DT_CENTER; break;
    case Align::kRight: flags |= DT_RIGHT; break;
    }
    return flags;
}

SIZE MeasureText(HFONT font, const std::string& text, const TextStyle& style, int wrapWidth) {
    const MemoryDC memory(MadeGdi(CreateCompatibleDC(nullptr)));
    HDC dc = memory.get();
    HGDIOBJ old = SelectObject(dc, font);
    // An empty caption still takes one line, one blank wide.
    const std::string measured = text.empty() ? std::string(" ") : text;
    RECT r{0, 0, style.wordWrap ? std::max(1, wrapWidth) : 0, 0};
    DrawTextA(dc, measured.c_str(), static_cast<int>(measured.size()), &r, TextFlags(style) | DT_CALCRECT);
    SelectObject(dc, old);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void DrawTextIn(HDC dc, const std::string& text, RECT rect, const TextStyle& style) {
    const UINT flags = TextFlags(style);
    if (style.centreVertically) {
        RECT measure{rect.left, rect.top, rect.right, rect.top};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &measure, flags | DT_CALCRECT);
        const int offset = ((rect.bottom - rect.top) - (measure.bottom - measure.top)) / 2;
        rect.top += offset;
    }
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
}

// --- buffered paint -------------------------------------------------------------------

HDC BackBuffer::Take(HDC target, int width, int height) {
    if (!dc_ || width > width_ || height > height_) {
        // The bitmap is let go by the DC before a bigger one takes its place.
        if (dc_) SelectObject(dc_.get(), old_);
        width_ = std::max(width, width_);
        height_ = std::max(height, height_);
        if (!dc_) dc_.reset(MadeGdi(CreateCompatibleDC(target)));
        bitmap_.reset(MadeGdi(CreateCompatibleBitmap(target, width_, height_)));
        old_ = SelectObject(dc_.get(), bitmap_.get());
    }
    return dc_.get();
}

BackBuffer::~BackBuffer() {
    if (dc_) SelectObject(dc_.get(), old_);
}

BufferedPaint::BufferedPaint(BackBuffer& buffer, HDC target, const RECT& client)
    : target_(target), dc_(buffer.Take(target, std::max<LONG>(1, client.right - client.left),
                                       std::max<LONG>(1, client.bottom - client.top))),
      state_(dc_) {}

void BufferedPaint::CopyTo(const RECT& area) {
    BitBlt(target_, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_, area.left, area.top,
           SRCCOPY);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
    const COLORREF old = SetBkColor(dc, color);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF color) {
    const LONG w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    FillSolid(dc, {rect.left, rect.top, rect.right, rect.top + 1}, color);
    FillSolid(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    FillSolid(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    FillSolid(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

} // namespace vrk::ui::win32
