#pragma once
// What the tests and benchmarks that drive the panel from outside ask of it,
// each by a registered window message to any of its forms:
//  - "VrkObjectCounts": how many GDI and USER objects the backend holds. The
//    system's own count (GetGuiResources) is not available everywhere the
//    panel runs, so every place that makes or frees such an object tells the
//    counters below; a long run then shows whether anything leaks. Windows
//    are counted by walking them.
//  - "VrkStartupTimes": when each moment of the start came.
//  - "VrkTextExtent", to a label: the size its caption takes.
#include <windows.h>

#include <array>
#include <cstddef>

#include "Owned.h"

namespace vrk::ui {
class Win32Backend;
}

namespace vrk::ui::win32 {

// Makes every form of the backend answer the first two.
void AnswerTestHooks(Win32Backend& backend);
UINT TextExtentMessage();

// The moments of the start, in performance-counter ticks, each kept the
// first time it is marked.
class StartupMoments {
public:
    enum Moment { kMain, kBuilt, kCreated, kWindowsMade, kShown, kReady, kCount };
    static long long Now();
    void Mark(Moment moment, long long ticks = Now()) {
        if (!marks_[moment]) marks_[moment] = ticks;
    }
    long long Of(std::size_t moment) const { return moment < marks_.size() ? marks_[moment] : 0; }

private:
    std::array<long long, kCount> marks_{};
};

struct LiveObjects {
    long gdi = 0;  // bitmaps, device contexts, fonts, brushes
    long user = 0; // icons and cursors (windows are counted when asked)
};

LiveObjects& Live();

template <class H> H MadeGdi(H h) {
    if (h) ++Live().gdi;
    return h;
}
inline void FreedGdi(const void* h) {
    if (h) --Live().gdi;
}
template <class H> H MadeUser(H h) {
    if (h) ++Live().user;
    return h;
}
inline void FreedUser(const void* h) {
    if (h) --Live().user;
}

// Owners of what the backend makes, each counted out when it is freed.
inline void DeleteCountedObject(HGDIOBJ h) {
    FreedGdi(h);
    DeleteObject(h);
}
inline void DeleteCountedDC(HDC dc) {
    FreedGdi(dc);
    DeleteDC(dc);
}
inline void DestroyCountedIcon(HICON icon) {
    FreedUser(icon);
    DestroyIcon(icon);
}
inline void DestroyCountedCursor(HCURSOR cursor) {
    FreedUser(cursor);
    DestroyCursor(cursor);
}
template <class H> using GdiObject = Owned<H, DeleteCountedObject>;
using MemoryDC = Owned<HDC, DeleteCountedDC>;
using OwnedIcon = Owned<HICON, DestroyCountedIcon>;
using OwnedCursor = Owned<HCURSOR, DestroyCountedCursor>;

} // namespace vrk::ui::win32
