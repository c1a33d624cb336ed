#include "Dpi.h"

#include "ScopedGdi.h"
#include "SystemLibrary.h"

// Both functions come with Windows 8.1 and 10; before, every display is at
// the system's one scale.
namespace vrk::ui::win32 {

int MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi = SystemFunction<GetDpiForMonitor>(SystemLibrary(L"shcore.dll"), "GetDpiForMonitor");
    if (!monitor) monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT x = 0, y = 0;
    if (getDpi && getDpi(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y) == S_OK && y > 0) return static_cast<int>(y);
    const BorrowedDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

RECT FrameAround(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust =
        SystemFunction<AdjustForDpi>(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi");
    RECT r = client;
    if (!adjust || !adjust(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return r;
}

} // namespace vrk::ui::win32
