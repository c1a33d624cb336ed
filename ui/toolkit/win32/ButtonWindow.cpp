// A push button: the system's, with the control's font. A button with a
// modal result closes its modal form with that result.
#include "Win32Backend.h"
#include "Window.h"
#include "Application.h"

namespace vrk::ui::win32 {
namespace {

class ButtonWindow : public Window {
public:
    ButtonWindow(Win32Backend& backend, Button& button) : Window(backend, button), button_(button) {}

    void Create(HWND parent) override {
        CreateSystem(L"BUTTON", parent, WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS | BS_PUSHBUTTON);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(backend.FontFor(button_.font())), FALSE);
    }

    void Apply() override {
        ApplyCommon();
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(backend.FontFor(button_.font())), FALSE);
        InvalidateRect(hwnd, nullptr, TRUE);
    }

    void Command(WORD code) override {
        if (code != BN_CLICKED || !button_.Reachable()) return;
        Form* form = button_.form();
        if (form && button_.modalResult) form->modalResult = button_.modalResult;
        if (button_.onClick)
            if (Application* app = button_.application()) app->Guard(button_.onClick, Origin::kUser);
        if (form && button_.modalResult && form->modal) form->Close();
    }

private:
    Button& button_;
};

} // namespace

std::unique_ptr<Window> MakeButtonWindow(Win32Backend& backend, Button& button) {
    return std::make_unique<ButtonWindow>(backend, button);
}

} // namespace vrk::ui::win32
