#include "TestHooks.h"

#include "Win32Backend.h"

namespace vrk::ui::win32 {
namespace {

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<long*>(count);
    EnumChildWindows(window, CountWindow, count);
    return TRUE;
}

} // namespace

LiveObjects& Live() {
    static LiveObjects live;
    return live;
}

long long StartupMoments::Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

void AnswerTestHooks(Win32Backend& backend) {
    // 0: the GDI objects; 1: the USER objects (icons, cursors and every
    // window of this thread).
    backend.AnswerFormMessage(RegisterWindowMessageW(L"VrkObjectCounts"), [](Form&, HWND, WPARAM which) -> LRESULT {
        if (which == 0) return Live().gdi;
        long windows = 0;
        EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
        return Live().user + windows;
    });
    backend.AnswerFormMessage(
        RegisterWindowMessageW(L"VrkStartupTimes"),
        [&backend](Form&, HWND, WPARAM moment) -> LRESULT { return static_cast<LRESULT>(backend.moments.Of(moment)); });
}

UINT TextExtentMessage() {
    static const UINT message = RegisterWindowMessageW(L"VrkTextExtent");
    return message;
}

} // namespace vrk::ui::win32
