#pragma once
// What a paint borrows from a device context and must give back however it
// ends: the object it selects, the context of a window it borrows, the
// state it changes.
#include <windows.h>

namespace vrk {

// An object selected into a DC for the scope; the one it replaced is
// selected again at the end, before the object may go.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectedObject() { SelectObject(dc_, old_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// The DC of a window (of the screen for none), given back at the end.
class BorrowedDC {
public:
    explicit BorrowedDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~BorrowedDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    BorrowedDC(const BorrowedDC&) = delete;
    BorrowedDC& operator=(const BorrowedDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A DC's whole state, restored at the end.
class SavedDC {
public:
    explicit SavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDC() { RestoreDC(dc_, saved_); }
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;

private:
    HDC dc_;
    int saved_;
};

} // namespace vrk
