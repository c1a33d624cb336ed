// A check box: the system's, with the control's font and colours. Its tick
// is the control's: a click toggles the control, which sets the box.
#include "Paint.h"
#include "Win32Backend.h"
#include "Window.h"
#include "Application.h"

namespace vrk::ui::win32 {
namespace {

class CheckBoxWindow : public Window {
public:
    CheckBoxWindow(Win32Backend& backend, CheckBox& box) : Window(backend, box), box_(box) {}

    void Create(HWND parent) override {
        CreateSystem(L"BUTTON", parent, WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | BS_CHECKBOX);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(backend.FontFor(box_.font())), FALSE);
        SendMessageW(hwnd, BM_SETCHECK, box_.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
    }

    void Apply() override {
        ApplyCommon();
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(backend.FontFor(box_.font())), FALSE);
        const bool ticked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (ticked != box_.checked()) SendMessageW(hwnd, BM_SETCHECK, box_.checked() ? BST_CHECKED : BST_UNCHECKED, 0);
        InvalidateRect(hwnd, nullptr, TRUE);
    }

    void Command(WORD code) override {
        if (code != BN_CLICKED || !box_.Reachable()) return;
        box_.SetChecked(!box_.checked());
        if (box_.onClick)
            if (Application* app = box_.application()) app->Guard(box_.onClick, Origin::kUser);
    }

    HBRUSH ControlColor(HDC dc) override {
        // A check box shows on its parent's colour unless it has one of its own.
        Color color = box_.color();
        if (color == kColorBtnFace && box_.parent()) color = box_.parent()->color();
        const COLORREF back = ToColorRef(color);
        SetTextColor(dc, ToColorRef(box_.font().color));
        SetBkColor(dc, back);
        return backend.BrushFor(back);
    }

private:
    CheckBox& box_;
};

} // namespace

std::unique_ptr<Window> MakeCheckBoxWindow(Win32Backend& backend, CheckBox& box) {
    return std::make_unique<CheckBoxWindow>(backend, box);
}

} // namespace vrk::ui::win32
