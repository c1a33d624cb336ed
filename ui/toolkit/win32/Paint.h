#pragma once
// Drawing helpers shared by the window kinds: colours, fonts, pictures as
// bitmaps, text, and a double-buffered paint.
#include <windows.h>

#include <optional>
#include <string>

#include "Picture.h"
#include "ScopedGdi.h"
#include "Types.h"

#include "TestHooks.h"

namespace vrk::ui::win32 {

COLORREF ToColorRef(Color color);

// The LOGFONT of a font of the toolkit: character height in pixels.
LOGFONTW ToLogFont(const Font& font);

// What the alpha byte of a frame's pixels holds: nothing (JPEG), the
// opacity of a colour (GIF), or the opacity a colour is already multiplied
// by (what alpha blending takes).
enum class Alpha { kNone, kStraight, kPremultiplied };

// A 32-bit top-down DIB section holding a frame of a picture, ready to be
// copied (no alpha) or blended, at the frame's size or, scaled smoothly, at
// another. A bitmap the system refuses raises std::bad_alloc.
class Bitmap {
public:
    Bitmap() = default;
    Bitmap(const Frame& frame, Alpha alpha, int width = 0, int height = 0);

    HBITMAP handle() const { return bitmap_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    explicit operator bool() const { return static_cast<bool>(bitmap_); }

    // Copies the bitmap to (x, y); with alpha, blends it (transparent pixels
    // keep what is there).
    void Draw(HDC dc, int x, int y, bool alpha) const;
    // Repeats the bitmap over `area` as tiles whose origin is (originX, originY).
    void Tile(HDC dc, const RECT& area, int originX, int originY) const;

private:
    GdiObject<HBITMAP> bitmap_;
    int width_ = 0, height_ = 0;
};

// One image of an icon or cursor file, made by the system from its bytes.
HICON MakeIcon(const Picture& picture, const IconImage& image);
// An icon's pixels at the given size, premultiplied, as the system draws it
// (std::bad_alloc when the system refuses the bitmaps to draw it in).
Frame IconFrame(HICON icon, int width, int height);

// Text as a label draws it.
struct TextStyle {
    Align align = Align::kLeft;
    bool wordWrap = false;
    bool centreVertically = false;
};
UINT TextFlags(const TextStyle& style);
// The size the text takes in `font`; width 0 (or a word-wrapped label)
// measures on one line, otherwise within `wrapWidth`.
SIZE MeasureText(HFONT font, const std::string& text, const TextStyle& style, int wrapWidth);
void DrawTextIn(HDC dc, const std::string& text, RECT rect, const TextStyle& style);

// The memory DC and bitmap all painting draws into off screen, one for the
// whole program: making them for every paint of every control costs more
// than the painting itself. It grows to the largest client area asked for.
class BackBuffer {
public:
    BackBuffer() = default;
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;
    // A DC of at least this size, compatible with `target`.
    HDC Take(HDC target, int width, int height);

private:
    MemoryDC dc_;
    GdiObject<HBITMAP> bitmap_;
    std::optional<SelectedObject> selected_; // the bitmap, let go before it goes
    int width_ = 0, height_ = 0;
};

// A paint of a client area: drawn off screen into the back buffer, with the
// DC's state as new, then copied in one go, so nothing flickers.
class BufferedPaint {
public:
    BufferedPaint(BackBuffer& buffer, HDC target, const RECT& client);
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    HDC dc() const { return dc_; }
    void CopyTo(const RECT& area);

private:
    HDC target_;
    HDC dc_;
    SavedDC state_;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF color);
// A frame just inside `rect`, `thickness` pixels wide.
void FrameSolid(HDC dc, const RECT& rect, COLORREF color, int thickness = 1);

} // namespace vrk::ui::win32
