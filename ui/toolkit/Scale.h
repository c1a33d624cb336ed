#pragma once
// The scale a window is drawn at: that of the display it is on.
#include "Types.h"

namespace vrk::ui {

// From design units, pixels at 96 dots per inch, to the pixels of a display
// of `dpi` dots per inch. Every position and every size rounds the same way
// (half away from zero), so that what lines up in the design lines up on the
// screen; a one-pixel size (a line) grows by whole pixels only.
struct Scale {
    int dpi = 96;
    int operator()(int design) const {
        const long long scaled = static_cast<long long>(design) * dpi;
        return static_cast<int>(scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96));
    }
    // The width of a one-pixel line.
    int Line() const { return dpi / 96 > 1 ? dpi / 96 : 1; }
    Rect operator()(const Rect& r) const {
        auto size = [this](int design) { return design == 1 ? Line() : (*this)(design); };
        return Rect{(*this)(r.left), (*this)(r.top), size(r.width), size(r.height)};
    }
    // Back to design units (exact for what was scaled up from them).
    int Design(int scaled) const {
        const long long design = static_cast<long long>(scaled) * 96;
        return static_cast<int>(design >= 0 ? (design + dpi / 2) / dpi : -((-design + dpi / 2) / dpi));
    }
};

} // namespace vrk::ui
