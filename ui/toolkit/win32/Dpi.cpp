#include "Dpi.h"

namespace vrk::ui::win32 {
namespace {

// Both come with Windows 8.1 and 10; before, every display is at the
// system's one scale. shcore is loaded from the system folder alone.
template <class Function> Function Find(const wchar_t* library, const char* name, bool load) {
    HMODULE module = load ? LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) : GetModuleHandleW(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

} // namespace

int MonitorDpi(HMONITOR monitor) {
    using GetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpi = Find<GetDpiForMonitor>(L"shcore.dll", "GetDpiForMonitor", true);
    if (!monitor) monitor = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT x = 0, y = 0;
    if (getDpi && getDpi(monitor, 0 /* MDT_EFFECTIVE_DPI */, &x, &y) == S_OK && y > 0) return static_cast<int>(y);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

RECT FrameAround(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = Find<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi", false);
    RECT r = client;
    if (!adjust || !adjust(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return r;
}

} // namespace vrk::ui::win32
