// A panel: a rectangle of its own colour holding other controls.
#include "Paint.h"
#include "Win32Backend.h"
#include "Window.h"

namespace vrk::ui::win32 {
namespace {

class PanelWindow : public Window {
public:
    PanelWindow(Win32Backend& backend, Panel& panel) : Window(backend, panel), panel_(panel) {}

    void Create(HWND parent) override { CreateOwn(L"VrkPanel", parent, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS); }

    void Apply() override {
        ApplyCommon();
        // Its see-through controls show its colour.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    }

    void Paint(HDC dc, const RECT& client) override {
        FillSolid(dc, client, ToColorRef(panel_.color()));
        if (panel_.raisedBevel) {
            RECT edge = client;
            DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
        }
    }

private:
    Panel& panel_;
};

} // namespace

std::unique_ptr<Window> MakePanelWindow(Win32Backend& backend, Panel& panel) {
    return std::make_unique<PanelWindow>(backend, panel);
}

} // namespace vrk::ui::win32
