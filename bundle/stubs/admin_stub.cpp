// Stand-in for the administration programs that the panel's links open:
// pgAdmin3.exe and FileZillaServerInterface.exe, built from this one file.
// Each shows a plain window with its title and a line of text, and stays open
// until it is closed (WM_CLOSE), so that the panel's launch of the program,
// and its search for a running instance by executable name, have a real
// process to work on. Which program it is, it knows from its own file name.
#include <windows.h>

#include <cwchar>

namespace {

struct Face {
    const wchar_t* fileName; // without ".exe"
    const wchar_t* title;
    const wchar_t* text;
};

const Face kFaces[] = {
    {L"pgAdmin3", L"pgAdmin III (demo)", L"PostgreSQL administration: a stand-in of the VORLAN demo bundle."},
    {L"FileZillaServerInterface", L"FileZilla Server Interface (demo)",
     L"FTP server administration: a stand-in of the VORLAN demo bundle."},
};

const Face kUnknown = {L"", L"Administration tool (demo)", L"A stand-in of the VORLAN demo bundle."};

const Face* g_face = &kUnknown;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT area;
        GetClientRect(window, &area);
        InflateRect(&area, -16, -16);
        SetBkMode(dc, TRANSPARENT);
        DrawTextW(dc, g_face->text, -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

void FindFace() {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    const wchar_t* base = self;
    for (const wchar_t* p = self; *p; ++p)
        if (*p == L'\\' || *p == L'/') base = p + 1;
    for (const auto& face : kFaces) {
        const size_t len = wcslen(face.fileName);
        if (_wcsnicmp(base, face.fileName, len) == 0 && _wcsicmp(base + len, L".exe") == 0) g_face = &face;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    FindFace();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"VrkDemoAdminTool";
    if (!RegisterClassExW(&windowClass)) return 1;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, g_face->title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 520, 180, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
