// A form: a top-level window, its client area tiled with the form's
// background picture or filled with its colour.
#include <algorithm>

#include "Dpi.h"
#include "Paint.h"
#include "Wide.h"
#include "Win32Backend.h"
#include "Window.h"

namespace vrk::ui::win32 {

namespace {

class FormWindow : public Window {
public:
    FormWindow(Win32Backend& backend, Form& form) : Window(backend, form), form_(form) {}

    void Create(HWND) override {
        style_ = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        // Without a system menu no caption-bar button shows; the minimise box
        // still lets the taskbar entry minimise and restore the window.
        style_ |= form_.captionButtons ? WS_SYSMENU | WS_MINIMIZEBOX : WS_MINIMIZEBOX;
        if (!form_.fixedFrame) style_ |= WS_THICKFRAME | (form_.captionButtons ? WS_MAXIMIZEBOX : 0);
        exStyle_ = form_.fixedFrame ? WS_EX_DLGMODALFRAME : 0;
        // The first form is the taskbar entry; the others belong to it.
        HWND owner = backend.MainWindow();
        if (!owner) exStyle_ |= WS_EX_APPWINDOW;
        // Alpha blending, at the form's opacity (Wine paints a layered
        // window and its children as any other).
        exStyle_ |= WS_EX_LAYERED;
        CreateOwn(kFormClass, owner, style_, exStyle_);
        if (!hwnd) return;
        FitClientArea();
        SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(std::min(form_.alpha, 255u)), LWA_ALPHA);
        SetIcon();
        lastBackground_ = form_.Background().get();
    }

    RECT Bounds() const override {
        const SIZE client = ClientSize();
        RECT r = FrameAround(RECT{0, 0, client.cx, client.cy}, style_, exStyle_, form_.dpi());
        OffsetRect(&r, form_.bounds().left - r.left, form_.bounds().top - r.top);
        return r;
    }

    void Apply() override {
        const std::string caption = form_.caption();
        if (caption != TextOf(hwnd)) SetWindowTextW(hwnd, Wide(caption).c_str());
        if (!IsWindowEnabled(hwnd) != !form_.enabled()) EnableWindow(hwnd, form_.enabled());
        const Picture* background = form_.Background().get();
        if (background != lastBackground_) {
            // Every see-through control shows the background: all repaint.
            lastBackground_ = background;
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        } else {
            InvalidateRect(hwnd, nullptr, FALSE);
        }
    }

    void Paint(HDC dc, const RECT& client) override {
        if (const Bitmap* background = backend.BackgroundOf(form_))
            background->Tile(dc, client, 0, 0);
        else
            FillSolid(dc, client, ToColorRef(form_.color()));
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DPICHANGED) {
            Rescale(LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        // Back in the window (from a dialog opened from it, or restored from
        // the taskbar), the keyboard is where it was when the window was
        // left, as in a dialog: the system gives the focus to the window
        // itself, which hands it on.
        if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus)) lastFocus_ = focus;
        }
        if (message == WM_SETFOCUS && RestoreFocus()) return 0;
        if (message == WM_CLOSE) {
            // A close request from the system runs the form's own close, which
            // decides what becomes of the window.
            form_.Close();
            return 0;
        }
        // The session ends (sign-out, shutdown): the process may be ended as
        // soon as the main window has answered that it ends, so the close runs
        // now, whole, before the answer, and not later from the message loop.
        // The system is told why it waits meanwhile.
        if (message == WM_QUERYENDSESSION) return TRUE;
        if (message == WM_ENDSESSION) {
            if (wParam && hwnd == backend.MainWindow()) {
                const std::string& reason = form_.closingReason.empty() ? form_.caption() : form_.closingReason;
                ShutdownBlockReasonCreate(hwnd, Wide(reason).c_str());
                form_.EndSession();
                ShutdownBlockReasonDestroy(hwnd);
            }
            return 0;
        }
        if (const auto* answer = backend.FormMessage(message)) return (*answer)(form_, hwnd, wParam);
        return Window::Handle(message, wParam, lParam);
    }

private:
    SIZE ClientSize() const {
        return SIZE{form_.clientWidth ? form_.clientWidth : form_.bounds().width,
                    form_.clientHeight ? form_.clientHeight : form_.bounds().height};
    }

    // The frame's size at the scale may differ from the system's idea of it
    // by a pixel or two: the client area is what must have the design's size.
    void FitClientArea() {
        RECT client, outer;
        GetClientRect(hwnd, &client);
        const SIZE want = ClientSize();
        const int dx = want.cx - client.right;
        const int dy = want.cy - client.bottom;
        if (!dx && !dy) return;
        GetWindowRect(hwnd, &outer);
        SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The window is now on a display of `dpi`: its controls are laid out
    // again at that scale, and the window takes the place the system
    // suggests, or, without one, keeps its centre where it was.
    void Rescale(int dpi, const RECT* suggested) {
        RECT before;
        GetWindowRect(hwnd, &before);
        form_.SetDpi(dpi);
        if (suggested) {
            SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            FitClientArea();
        } else {
            const RECT want = Bounds();
            SetWindowPos(hwnd, nullptr, 0, 0, want.right - want.left, want.bottom - want.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            FitClientArea();
            RECT now;
            GetWindowRect(hwnd, &now);
            SetWindowPos(hwnd, nullptr, (before.left + before.right - (now.right - now.left)) / 2,
                         (before.top + before.bottom - (now.bottom - now.top)) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
    }

    void SetIcon() {
        if (form_.iconResource.empty()) return;
        const std::wstring name = Wide(form_.iconResource);
        auto load = [&](int metricX, int metricY) {
            return static_cast<HICON>(LoadImageW(backend.instance(), name.c_str(), IMAGE_ICON,
                                                 GetSystemMetrics(metricX), GetSystemMetrics(metricY),
                                                 LR_DEFAULTCOLOR | LR_SHARED));
        };
        if (HICON big = load(SM_CXICON, SM_CYICON))
            SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        if (HICON small = load(SM_CXSMICON, SM_CYSMICON))
            SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    }

    bool RestoreFocus() {
        for (HWND part = lastFocus_; part && part != hwnd; part = GetParent(part))
            if (Window* window = From(part)) {
                if (!window->control.Reachable()) return false;
                SetFocus(lastFocus_);
                return true;
            }
        return false;
    }

    Form& form_;
    HWND lastFocus_ = nullptr; // a control's window (or a part of one)
    DWORD style_ = 0, exStyle_ = 0;
    const Picture* lastBackground_ = nullptr;
};

} // namespace

std::unique_ptr<Window> MakeFormWindow(Win32Backend& backend, Form& form) {
    return std::make_unique<FormWindow>(backend, form);
}

} // namespace vrk::ui::win32
