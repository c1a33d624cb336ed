#include "Paint.h"

#include "TestHooks.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

#include "Resample.h"
#include "Wide.h"

namespace vrk::ui::win32 {

COLORREF ToColorRef(Color color) {
    if ((color & kSystemColor) == kSystemColor) return GetSysColor(static_cast<int>(color & 0xFF));
    return RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
}

LOGFONTW ToLogFont(const Font& font) {
    LOGFONTW lf{};
    lf.lfHeight = -font.height; // a character height, not a cell height
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = font.italic;
    lf.lfUnderline = font.underline;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = font.fixedPitch ? FIXED_PITCH : DEFAULT_PITCH;
    const std::wstring face = Wide(font.name);
    face.copy(lf.lfFaceName, LF_FACESIZE - 1);
    return lf;
}

// --- Bitmap ---------------------------------------------------------------------------

namespace {

// A 32-bit top-down DIB section of that size and its pixels.
HBITMAP MakeDib(HDC dc, int width, int height, std::uint32_t** pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows from the top, as a frame's
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP made = MadeGdi(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    *pixels = static_cast<std::uint32_t*>(bits);
    return made;
}

std::vector<std::uint32_t> Premultiplied(const std::vector<std::uint32_t>& pixels) {
    std::vector<std::uint32_t> out(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const std::uint32_t p = pixels[i];
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
    return out;
}

} // namespace

Bitmap::Bitmap(const Frame& frame, Alpha alpha, int width, int height) {
    if (frame.width <= 0 || frame.height <= 0) return;
    if (width <= 0 || height <= 0) width = frame.width, height = frame.height;
    std::uint32_t* out = nullptr;
    bitmap_.reset(MakeDib(nullptr, width, height, &out));
    // Memory the system would not give, as any other.
    if (!bitmap_) throw std::bad_alloc();
    width_ = width;
    height_ = height;
    // 0xAARRGGBB in memory is B, G, R, A: the layout of a 32-bit DIB. A
    // colour is multiplied by its opacity before any scaling, so that what
    // is see-through mixes in no colour.
    std::vector<std::uint32_t> premultiplied;
    if (alpha == Alpha::kStraight) premultiplied = Premultiplied(frame.pixels);
    const std::vector<std::uint32_t>& pixels = alpha == Alpha::kStraight ? premultiplied : frame.pixels;
    if (width == frame.width && height == frame.height)
        std::memcpy(out, pixels.data(), pixels.size() * sizeof(std::uint32_t));
    else
        Resample(pixels.data(), frame.width, frame.height, out, width, height);
    GdiFlush();
}

void Bitmap::Draw(HDC dc, int x, int y, bool alpha) const {
    if (!bitmap_) return;
    const MemoryDC memory(MadeGdi(CreateCompatibleDC(dc)));
    HDC source = memory.get();
    const SelectedObject selected(source, bitmap_.get());
    if (alpha) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        // gdi32's own blend: msimg32, which AlphaBlend comes from, is not a
        // known DLL and would be looked for beside vrk.exe first.
        GdiAlphaBlend(dc, x, y, width_, height_, source, 0, 0, width_, height_, blend);
    } else {
        BitBlt(dc, x, y, width_, height_, source, 0, 0, SRCCOPY);
    }
}

void Bitmap::Tile(HDC dc, const RECT& area, int originX, int originY) const {
    if (!bitmap_) return;
    const MemoryDC memory(MadeGdi(CreateCompatibleDC(dc)));
    HDC source = memory.get();
    const SelectedObject selected(source, bitmap_.get());
    // The first tile that reaches into the area.
    auto first = [](int from, int origin, int size) {
        const int offset = ((from - origin) % size + size) % size;
        return from - offset;
    };
    for (int y = first(area.top, originY, height_); y < area.bottom; y += height_)
        for (int x = first(area.left, originX, width_); x < area.right; x += width_)
            BitBlt(dc, x, y, width_, height_, source, 0, 0, SRCCOPY);
}

// --- icons ------------------------------------------------------------------------------

HICON MakeIcon(const Picture& picture, const IconImage& image) {
    auto* bytes = const_cast<BYTE*>(picture.bytes.data() + image.offset);
    return MadeUser(
        CreateIconFromResourceEx(bytes, image.size, TRUE, 0x00030000, image.width, image.height, LR_DEFAULTCOLOR));
}

Frame IconFrame(HICON icon, int width, int height) {
    // The system draws the icon, whatever its format, on black and on white:
    // where the two differ it lets the ground through, and what it adds to
    // black is its colour already multiplied by its opacity.
    Frame frame;
    const MemoryDC memory(MadeGdi(CreateCompatibleDC(nullptr)));
    std::uint32_t* onBlack = nullptr;
    std::uint32_t* onWhite = nullptr;
    const GdiObject<HBITMAP> black(MakeDib(memory.get(), width, height, &onBlack));
    const GdiObject<HBITMAP> white(MakeDib(memory.get(), width, height, &onWhite));
    if (!black || !white) throw std::bad_alloc();
    const std::size_t count = static_cast<std::size_t>(width) * height;
    std::fill(onWhite, onWhite + count, 0x00FFFFFFu);
    for (HBITMAP target : {black.get(), white.get()}) {
        const SelectedObject selected(memory.get(), target);
        DrawIconEx(memory.get(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    }
    GdiFlush();
    frame.width = width;
    frame.height = height;
    frame.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t b = onBlack[i], w = onWhite[i];
        auto channel = [](std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); };
        // How much of the ground shows, the mean over the three colours.
        const int through =
            (channel(w, 16) - channel(b, 16) + channel(w, 8) - channel(b, 8) + channel(w, 0) - channel(b, 0) + 1) / 3;
        const auto alpha = static_cast<std::uint32_t>(std::clamp(255 - through, 0, 255));
        auto colour = [&](int shift) {
            return static_cast<std::uint32_t>(std::min<int>(channel(b, shift), static_cast<int>(alpha))) << shift;
        };
        frame.pixels[i] = (alpha << 24) | colour(16) | colour(8) | colour(0);
    }
    return frame;
}

// --- text --------------------------------------------------------------------------------

UINT TextFlags(const TextStyle& style) {
    // No prefix characters: captions come from language files as they stand.
    UINT flags = DT_EXPANDTABS | DT_NOPREFIX;
    if (style.wordWrap) flags |= DT_WORDBREAK;
    switch (style.align) {
    case Align::kLeft: flags |= DT_LEFT; break;
    case Align::kCentre: flags |= DT_CENTER; break;
    case Align::kRight: flags |= DT_RIGHT; break;
    }
    return flags;
}

SIZE MeasureText(HFONT font, const std::string& text, const TextStyle& style, int wrapWidth) {
    const MemoryDC memory(MadeGdi(CreateCompatibleDC(nullptr)));
    HDC dc = memory.get();
    const SelectedObject selected(dc, font);
    // An empty caption still takes one line, one blank wide.
    const std::wstring measured = text.empty() ? std::wstring(L" ") : Wide(text);
    RECT r{0, 0, style.wordWrap ? std::max(1, wrapWidth) : 0, 0};
    DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &r, TextFlags(style) | DT_CALCRECT);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

void DrawTextIn(HDC dc, const std::string& text, RECT rect, const TextStyle& style) {
    const UINT flags = TextFlags(style);
    const std::wstring wide = Wide(text);
    if (style.centreVertically) {
        RECT measure{rect.left, rect.top, rect.right, rect.top};
        DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &measure, flags | DT_CALCRECT);
        const int offset = ((rect.bottom - rect.top) - (measure.bottom - measure.top)) / 2;
        rect.top += offset;
    }
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, flags);
}

// --- buffered paint -------------------------------------------------------------------

HDC BackBuffer::Take(HDC target, int width, int height) {
    if (!dc_ || width > width_ || height > height_) {
        // The bitmap is let go by the DC before a bigger one takes its place.
        selected_.reset();
        width_ = std::max(width, width_);
        height_ = std::max(height, height_);
        if (!dc_) dc_.reset(MadeGdi(CreateCompatibleDC(target)));
        bitmap_.reset(MadeGdi(CreateCompatibleBitmap(target, width_, height_)));
        selected_.emplace(dc_.get(), bitmap_.get());
    }
    return dc_.get();
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
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void FrameSolid(HDC dc, const RECT& rect, COLORREF color, int thickness) {
    const LONG w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) return;
    const LONG t = thickness;
    FillSolid(dc, {rect.left, rect.top, rect.right, rect.top + t}, color);
    FillSolid(dc, {rect.left, rect.bottom - t, rect.right, rect.bottom}, color);
    FillSolid(dc, {rect.left, rect.top, rect.left + t, rect.bottom}, color);
    FillSolid(dc, {rect.right - t, rect.top, rect.right, rect.bottom}, color);
}

} // namespace vrk::ui::win32
