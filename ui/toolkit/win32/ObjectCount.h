#pragma once
// How many GDI and USER objects the backend holds. The system's own count
// (GetGuiResources) is not available everywhere the panel runs, so every
// place that makes or frees such an object tells these counters; a long run
// then shows whether anything leaks. Windows are counted by walking them.
#include <windows.h>

#include "Owned.h"

namespace vrk::ui::win32 {

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
