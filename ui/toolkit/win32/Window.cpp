#include "Window.h"

#include <set>
#include <unordered_map>

#include <commctrl.h>

#include "Paint.h"
#include "ScopeExit.h"
#include "SystemLibrary.h"
#include "Wide.h"
#include "Win32Backend.h"
#include "Application.h"
#include "Keyboard.h"

namespace vrk::ui::win32 {
namespace {

// Every window of the backend by its handle (one thread makes them all).
std::unordered_map<HWND, Window*>& Windows() {
    static std::unordered_map<HWND, Window*> windows;
    return windows;
}

LRESULT HandleOwnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window;
    if (message == WM_NCCREATE) {
        window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        window->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    } else {
        window = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!window) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = window->Handle(message, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        window->hwnd = nullptr;
        return result;
    }
    return window->Handle(message, wParam, lParam);
}

// No exception may leave a window procedure: the system's code between it
// and the message loop cannot be unwound. Whatever fails in a paint, a
// re-layout or an animation's tick (most likely memory for a picture) is
// reported once per cause, and the message counts as handled.
LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Asked first: the window may be gone by the time a failure is reported.
    const Window* window = Window::From(hwnd);
    Application* app = window ? window->control.application() : nullptr;
    try {
        return HandleOwnMessage(hwnd, message, wParam, lParam);
    } catch (...) {
        if (app) app->ReportException(std::current_exception());
        return 0;
    }
}

void RegisterOwnClass(HINSTANCE instance, const wchar_t* name) {
    static std::set<std::wstring> registered;
    if (!registered.insert(name).second) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    // No CS_DBLCLKS: two quick clicks on a link are two clicks.
    wc.lpfnWndProc = OwnWindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

bool Intersect(const RECT& a, const RECT& b, RECT* out) {
    RECT r;
    if (!IntersectRect(&r, &a, &b)) return false;
    if (out) *out = r;
    return true;
}

ATOM AddAtom(const std::string& text) {
    // A global atom holds at most 255 characters: a longer path keeps its
    // end, which names the file (and not half of a character).
    std::wstring kept = Wide(text);
    if (kept.size() > 255) kept.erase(0, kept.size() - 255);
    if (!kept.empty() && kept.front() >= 0xDC00 && kept.front() <= 0xDFFF) kept.erase(0, 1);
    return kept.empty() ? 0 : GlobalAddAtomW(kept.c_str());
}

} // namespace

std::string TextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return Utf8(text);
}

Window::~Window() {
    if (hwnd) {
        const auto it = Windows().find(hwnd);
        if (it != Windows().end() && it->second == this) Windows().erase(it);
    }
    if (hwnd && IsWindow(hwnd)) {
        RemovePropW(hwnd, kNameProperty);
        RemovePropW(hwnd, kPictureProperty);
        RemovePropW(hwnd, kIndexProperty);
        if (GetWindowLongPtrW(hwnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
}

Window* Window::From(HWND hwnd) {
    const auto it = Windows().find(hwnd);
    return it == Windows().end() ? nullptr : it->second;
}

DWORD Window::InitialStyle(DWORD style) const {
    if (style & WS_CHILD) {
        if (control.visible()) style |= WS_VISIBLE;
        if (!control.enabled()) style |= WS_DISABLED;
    }
    return style;
}

void Window::CreateOwn(const wchar_t* className, HWND parent, DWORD style, DWORD exStyle) {
    RegisterOwnClass(backend.instance(), className);
    placed_ = Bounds();
    const RECT& r = placed_;
    const std::wstring text = FollowsText() ? Wide(WindowText()) : std::wstring();
    CreateWindowExW(exStyle, className, text.c_str(), InitialStyle(style), r.left, r.top, r.right - r.left,
                    r.bottom - r.top, parent, nullptr, backend.instance(), this);
    AfterCreate();
}

namespace {

// The common controls (the system's check boxes, lists, edits and buttons,
// in the look the manifest asks for) are loaded for the first of them, not
// with the program: the main window needs none, and loading them is a tenth
// of the start-up. From the system folder alone, as every library.
void LoadCommonControls() {
    static const bool loaded = [] {
        // Their theme engine loads msimg32 late, at its first blend, through
        // a path of the loader that Wine 8 does not hold to the default
        // directories (it looks beside the program first). Loaded from the
        // system folder now, it is found already loaded then.
        SystemLibrary(L"msimg32.dll");
        using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = SystemFunction<Init>(SystemLibrary(L"comctl32.dll"), "InitCommonControlsEx");
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        return init && init(&controls);
    }();
    (void)loaded;
}

} // namespace

void Window::CreateSystem(const wchar_t* className, HWND parent, DWORD style, DWORD exStyle) {
    LoadCommonControls();
    placed_ = Bounds();
    const RECT& r = placed_;
    const std::wstring text = FollowsText() ? Wide(WindowText()) : std::wstring();
    hwnd = CreateWindowExW(exStyle, className, text.c_str(), InitialStyle(style), r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, nullptr, backend.instance(), nullptr);
    AfterCreate();
}

void Window::AfterCreate() {
    if (!hwnd) return;
    Windows()[hwnd] = this;
    nameAtom_.reset(AddAtom(control.name));
    SetPropW(hwnd, kNameProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nameAtom_.get())));
    // Later controls lie above earlier ones: the panels' stacking order is
    // their order in the window definition. Only a control that overlaps an
    // earlier sibling needs placing (each placing costs a round trip).
    if ((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) && OverlapsEarlierSibling())
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

bool Window::OverlapsEarlierSibling() const {
    const Control* parent = control.parent();
    if (!parent) return false;
    const RECT mine = Bounds();
    for (const Control* sibling : parent->children()) {
        if (sibling == &control) return false;
        if (sibling->kind == Kind::kTimer) continue;
        const Rect& b = sibling->bounds();
        const RECT theirs{b.left, b.top, b.left + b.width, b.top + b.height};
        RECT common;
        if (IntersectRect(&common, &mine, &theirs)) return true;
    }
    return false;
}

Scale Window::scale() const {
    const Form* form = control.form();
    return form ? form->scale() : Scale{};
}

RECT Window::Bounds() const {
    const Rect& b = control.bounds();
    return RECT{b.left, b.top, b.left + b.width, b.top + b.height};
}

void Window::SetPictureProperty(const std::string& path) {
    if (path == pictureProperty_ && (pictureAtom_ || path.empty())) return;
    // The old atom goes once the new one is in place: the same name keeps it.
    const Owned<ATOM, GlobalDeleteAtom> old(pictureAtom_.release());
    pictureProperty_ = path;
    pictureAtom_.reset(AddAtom(path));
    if (pictureAtom_)
        SetPropW(hwnd, kPictureProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(pictureAtom_.get())));
    else
        RemovePropW(hwnd, kPictureProperty);
}

void Window::ApplyCommon() {
    const RECT want = Bounds();
    if (!EqualRect(&want, &placed_)) {
        placed_ = want;
        SetWindowPos(hwnd, nullptr, want.left, want.top, want.right - want.left, want.bottom - want.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    if (!IsWindowEnabled(hwnd) != !control.enabled()) EnableWindow(hwnd, control.enabled());

    if (FollowsText()) {
        const std::string text = WindowText();
        if (TextOf(hwnd) != text) SetWindowTextW(hwnd, Wide(text).c_str());
    }

    const bool shown = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != control.visible()) {
        ShowWindow(hwnd, control.visible() ? SW_SHOWNA : SW_HIDE);
        ShowingChanged();
    }
}

void Window::Apply() {
    ApplyCommon();
    Invalidate();
}

void Window::Invalidate() {
    InvalidateRect(hwnd, nullptr, FALSE);
    // A see-through control above this one paints what lies beneath it.
    const Control* parent = control.parent();
    if (!parent) return;
    const RECT mine = Bounds();
    bool above = false;
    for (const Control* sibling : parent->children()) {
        if (sibling == &control) {
            above = true;
            continue;
        }
        if (!above || !sibling->visible()) continue;
        Window* window = Win32Backend::WindowOf(sibling);
        if (!window || !window->hwnd || !window->SeeThrough()) continue;
        RECT overlap;
        if (!Intersect(mine, window->Bounds(), &overlap)) continue;
        OffsetRect(&overlap, -window->Bounds().left, -window->Bounds().top);
        InvalidateRect(window->hwnd, &overlap, FALSE);
    }
}

void Window::Paint(HDC, const RECT&) {}

void Window::PaintBackdrop(HDC dc, const RECT& client) {
    Control* parent = control.parent();
    if (!parent) return;
    const RECT mine = Bounds();
    if (parent->kind == Kind::kForm) {
        auto& form = static_cast<Form&>(*parent);
        // The form's tiles start at its client's top-left corner.
        if (const Bitmap* background = backend.BackgroundOf(form))
            background->Tile(dc, client, -mine.left, -mine.top);
        else
            FillSolid(dc, client, ToColorRef(form.color()));
    } else {
        FillSolid(dc, client, ToColorRef(parent->color()));
    }
    // Then the siblings beneath it, each in its place.
    for (const Control* sibling : parent->children()) {
        if (sibling == &control) break;
        if (!sibling->visible()) continue;
        Window* window = Win32Backend::WindowOf(sibling);
        if (!window || !window->hwnd) continue;
        const RECT theirs = window->Bounds();
        if (!Intersect(mine, theirs, nullptr)) continue;
        SavedDC saved(dc);
        SetViewportOrgEx(dc, theirs.left - mine.left, theirs.top - mine.top, nullptr);
        IntersectClipRect(dc, 0, 0, theirs.right - theirs.left, theirs.bottom - theirs.top);
        const RECT area{0, 0, theirs.right - theirs.left, theirs.bottom - theirs.top};
        window->PaintContent(dc, area);
    }
}

void Window::RunClick() {
    // A click reaches only a control that can be seen and is enabled, with
    // all its parents (a posted click bypasses the system's own check).
    if (!control.onClick || !control.Reachable()) return;
    if (Application* app = control.application()) app->Guard(control.onClick, Origin::kUser);
}

bool Window::TakeKey(WPARAM virtualKey, LPARAM flags) {
    Key key;
    switch (virtualKey) {
    case VK_TAB: key = Key::kTab; break;
    case VK_SPACE: key = Key::kSpace; break;
    case VK_RETURN: key = Key::kReturn; break;
    case VK_LEFT: key = Key::kLeft; break;
    case VK_RIGHT: key = Key::kRight; break;
    case VK_UP: key = Key::kUp; break;
    case VK_DOWN: key = Key::kDown; break;
    default: return false;
    }
    Form* form = control.form();
    if (!form) return false;
    // A key held down presses once, as a held mouse button clicks once; the
    // keys that move repeat.
    const bool repeated = flags & (1 << 30);
    if (repeated && (key == Key::kSpace || key == Key::kReturn)) return !form->tabOrder.empty();
    return PressKey(*form, key, GetKeyState(VK_SHIFT) < 0);
}

void Window::FocusChanged() {
    const Form* form = control.form();
    if (form && form->focusShown() && control.TakesFocus()) {
        Invalidate();
        for (Control* label : control.nameSources())
            if (label->FocusStop() == &control)
                if (Window* window = Win32Backend::WindowOf(label); window && window->hwnd) window->Invalidate();
    }
}

void Window::DrawFocusMark(HDC dc, const RECT& rect) const {
    const int dot = scale().Line();
    const COLORREF colors[2] = {RGB(255, 255, 255), RGB(0, 0, 0)};
    int n = 0;
    auto run = [&](int x0, int y0, int dx, int dy, int length) {
        for (int at = 0; at < length; at += dot, ++n) {
            const int x = x0 + dx * at, y = y0 + dy * at;
            RECT square{x, y, x + dot, y + dot};
            if (IntersectRect(&square, &square, &rect)) FillSolid(dc, square, colors[n % 2]);
        }
    };
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width < 2 * dot || height < 2 * dot) return;
    // Round the frame, so that the dots meet at the corners.
    run(rect.left, rect.top, 1, 0, width - dot);
    run(rect.right - dot, rect.top, 0, 1, height - dot);
    run(rect.right - dot, rect.bottom - dot, -1, 0, width - dot);
    run(rect.left, rect.bottom - dot, 0, -1, height - dot);
}

void Window::PaintBuffered() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    // Ended whatever happens while painting, before a failure is shown.
    const ScopeExit ended([&] { EndPaint(hwnd, &ps); });
    RECT client;
    GetClientRect(hwnd, &client);
    if (IsRectEmpty(&client)) return;
    BufferedPaint buffer(backend.backBuffer(), dc, client);
    Paint(buffer.dc(), client);
    buffer.CopyTo(ps.rcPaint);
}

HBRUSH Window::ChildControlColor(HWND from, HDC dc) {
    // A combo box passes on the requests of its own parts.
    Window* child = From(from);
    if (!child) child = From(GetParent(from));
    return child && child != this ? child->ControlColor(dc) : nullptr;
}

LRESULT Window::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return 1; // WM_PAINT paints everything, off screen
    case WM_PAINT: PaintBuffered(); return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != hwnd) return FALSE; // a system control sets its own
        if (LOWORD(lParam) == HTCLIENT) {
            SetCursor(backend.CursorFor(control.EffectiveCursor()));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        if (control.onClick) {
            FocusForClick(control);
            pressed_ = true;
            SetCapture(hwnd);
        }
        return 0;
    case WM_LBUTTONUP:
        if (pressed_) {
            pressed_ = false;
            ReleaseCapture();
            RECT client;
            GetClientRect(hwnd, &client);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (PtInRect(&client, at)) RunClick();
        }
        return 0;
    case WM_CAPTURECHANGED: pressed_ = false; return 0;
    case WM_KEYDOWN:
        if (TakeKey(wParam, lParam)) return 0;
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: FocusChanged(); break;
    case WM_COMMAND:
        if (lParam) {
            Window* child = From(reinterpret_cast<HWND>(lParam));
            if (child && child != this) {
                child->Command(HIWORD(wParam));
                return 0;
            }
        }
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        if (HBRUSH brush = ChildControlColor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_TIMER: Tick(wParam); return 0;
    case WM_NCDESTROY:
        Windows().erase(hwnd);
        RemovePropW(hwnd, kNameProperty);
        RemovePropW(hwnd, kPictureProperty);
        RemovePropW(hwnd, kIndexProperty);
        break;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace vrk::ui::win32
