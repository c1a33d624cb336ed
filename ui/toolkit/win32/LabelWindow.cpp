// A label: text in the label's font, on its colour or, when transparent, on
// what lies behind it. An auto-size label takes the size of its caption.
#include <algorithm>

#include "Paint.h"
#include "TestHooks.h"
#include "Win32Backend.h"
#include "Window.h"

namespace vrk::ui::win32 {
namespace {

class LabelWindow : public Window {
public:
    LabelWindow(Win32Backend& backend, Label& label) : Window(backend, label), label_(label) {}

    void Create(HWND parent) override {
        FitToCaption();
        CreateOwn(L"VrkLabel", parent, WS_CHILD | WS_CLIPSIBLINGS);
    }

    void Apply() override {
        // A new size comes back here through the control's own change.
        if (FitToCaption()) return;
        Window::Apply();
    }

    bool SeeThrough() const override { return label_.transparent(); }

    void Paint(HDC dc, const RECT& client) override {
        if (label_.transparent())
            PaintBackdrop(dc, client);
        else
            FillSolid(dc, client, ToColorRef(label_.color()));
        DrawCaption(dc, client);
    }

    void PaintContent(HDC dc, const RECT& client) override {
        if (label_.transparent())
            DrawCaption(dc, client);
        else
            Paint(dc, client);
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        // Asked from outside (the layout test at each display scale): the
        // size the caption needs, within the label's width when it wraps.
        if (message != TextExtentMessage()) return Window::Handle(message, wParam, lParam);
        const SIZE size = MeasureText(backend.FontFor(label_.font()), label_.caption(), Style(), label_.bounds().width);
        return MAKELRESULT(size.cx, size.cy);
    }

private:
    TextStyle Style() const { return TextStyle{label_.alignment, label_.wordWrap, label_.centreVertically}; }

    void DrawCaption(HDC dc, const RECT& client) {
        if (label_.caption().empty()) return;
        SavedDC saved(dc);
        SelectObject(dc, backend.FontFor(label_.font()));
        SetBkMode(dc, TRANSPARENT);
        // A disabled label (a link that cannot be followed now) is greyed.
        SetTextColor(dc, label_.enabled() ? ToColorRef(label_.font().color) : GetSysColor(COLOR_GRAYTEXT));
        DrawTextIn(dc, label_.caption(), client, Style());
        if (label_.FocusMarked()) DrawFocusMark(dc, CaptionFrame(client));
    }

    // Around the caption as it is drawn, a line's width off it, within the
    // label.
    RECT CaptionFrame(const RECT& client) {
        const SIZE size = MeasureText(backend.FontFor(label_.font()), label_.caption(), Style(), client.right);
        const int width = std::min<int>(size.cx, client.right), height = std::min<int>(size.cy, client.bottom);
        int left = 0, top = 0;
        if (label_.alignment == Align::kCentre) left = (client.right - width) / 2;
        if (label_.alignment == Align::kRight) left = client.right - width;
        if (label_.centreVertically) top = (client.bottom - height) / 2;
        const int gap = scale().Line();
        RECT frame{left - 2 * gap, top, left + width + 2 * gap, top + height};
        IntersectRect(&frame, &frame, &client);
        return frame;
    }

    // The width (and height) that the caption takes; a right-aligned label
    // keeps its right edge. Returns whether the bounds changed.
    bool FitToCaption() {
        if (!label_.autoSize) return false;
        const Rect was = label_.bounds();
        const SIZE size = MeasureText(backend.FontFor(label_.font()), label_.caption(), Style(), was.width);
        Rect fit = was;
        if (!label_.wordWrap) {
            if (label_.alignment == Align::kRight) fit.left = was.left + was.width - size.cx;
            fit.width = size.cx;
        }
        fit.height = size.cy;
        if (fit == was) return false;
        label_.SetBounds(fit);
        return true;
    }

    Label& label_;
};

} // namespace

std::unique_ptr<Window> MakeLabelWindow(Win32Backend& backend, Label& label) {
    return std::make_unique<LabelWindow>(backend, label);
}

} // namespace vrk::ui::win32
