// vrklayout: prints the main window's definition as the layout code builds
// it, before any start-up step runs: one tab-separated line per control with
// a window (timers have none): name, kind, parent, left,top,width,height,
// auto-size (1/0) and alignment (left, centre, right). The end-to-end test
// holds the running window against it.
#include <cstdio>

#include "Win32Platform.h"
#include "Application.h"
#include "vrk.h"

namespace {

// Realises nothing: the window is only built, never created.
class NoBackend : public vrk::ui::Backend {
public:
    void Realize(vrk::ui::Form&) override {}
    void Update(vrk::ui::Control&) override {}
    void Destroy(vrk::ui::Form&) override {}
    void ShowForm(vrk::ui::Form&, bool) override {}
    void RunModal(vrk::ui::Form&) override {}
    void MinimizeForm(vrk::ui::Form&) override {}
    void StartTimer(vrk::ui::Timer&) override {}
    void StopTimer(vrk::ui::Timer&) override {}
    bool LoadCursor(vrk::ui::Cursor, const std::string&) override { return false; }
    void ShowError(const std::string&, const std::string&) override {}
    void SetTitle(const std::string&) override {}
    void RunMessageLoop() override {}
    void Quit() override {}
    std::uintptr_t NativeHandle(vrk::ui::Form&) override { return 0; }
};

const char* AlignName(vrk::ui::Align align) {
    switch (align) {
    case vrk::ui::Align::kLeft: return "left";
    case vrk::ui::Align::kCentre: return "centre";
    case vrk::ui::Align::kRight: return "right";
    }
    return "left";
}

} // namespace

int main() {
    vrk::Win32Platform os;
    NoBackend backend;
    vrk::ui::Application app(backend, os);
    vrk::Tvrk_form form(app, "C:\\vrk\\vrk.exe");
    for (const auto& control : form.owned()) {
        if (control->kind == vrk::ui::Kind::kTimer) continue;
        const auto& b = control->bounds();
        std::printf("%s\t%s\t%s\t%d,%d,%d,%d\t%d\t%s\n", control->name.c_str(), vrk::ui::KindName(control->kind),
                    control->parent()->name.c_str(), b.left, b.top, b.width, b.height, control->autoSize ? 1 : 0,
                    AlignName(control->alignment));
    }
    return 0;
}
