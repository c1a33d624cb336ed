// A shape: a rectangle outlined with the pen colour (a line, when it is one
// pixel high or wide), filled with the brush colour when it is filled.
#include "Paint.h"
#include "Win32Backend.h"
#include "Window.h"

namespace vrk::ui::win32 {
namespace {

class ShapeWindow : public Window {
public:
    ShapeWindow(Win32Backend& backend, Shape& shape) : Window(backend, shape), shape_(shape) {}

    void Create(HWND parent) override { CreateOwn(L"VrkShape", parent, WS_CHILD | WS_CLIPSIBLINGS); }

    bool SeeThrough() const override { return !shape_.filled; }

    void Paint(HDC dc, const RECT& client) override {
        if (!shape_.filled) PaintBackdrop(dc, client);
        PaintContent(dc, client);
    }

    void PaintContent(HDC dc, const RECT& client) override {
        if (shape_.filled) FillSolid(dc, client, ToColorRef(shape_.brushColor));
        FrameSolid(dc, client, ToColorRef(shape_.penColor), scale().Line());
    }

private:
    Shape& shape_;
};

} // namespace

std::unique_ptr<Window> MakeShapeWindow(Win32Backend& backend, Shape& shape) {
    return std::make_unique<ShapeWindow>(backend, shape);
}

} // namespace vrk::ui::win32
