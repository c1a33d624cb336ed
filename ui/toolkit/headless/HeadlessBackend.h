#pragma once
// A backend without windows, for tests: it keeps what a person would see
// (errors shown, cursor slots, forms shown) and lets a test click controls,
// fire timers and drive modal forms.
#include <functional>
#include <string>
#include <vector>

#include "Application.h"
#include "Backend.h"
#include "Keyboard.h"

namespace vrk::ui {

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(Platform& os) : os_(os) {}

    std::vector<std::string> errors; // messages of the error boxes, in order
    std::string title;
    std::string cursorFiles[4]; // per slot: the file loaded, "" for the system arrow
    std::vector<Timer*> timers; // running timers
    int dpi = 96;               // of the display, for the forms built next
    bool quit = false;
    bool minimized = false;
    // What happens while a form is shown modally; when it returns without
    // closing the form, the form is closed as by its close button.
    std::function<void(Form&)> whileModal;
    // What happens while an error box is open (a timer ticking inside it).
    std::function<void()> whileErrorShown;

    // A click as a person makes it: only on a control that can be reached.
    // It gives the control's stop the focus, as on the screen.
    bool Click(Control& control);
    // A click on an item of a radio group, likewise only on one that can be
    // reached.
    bool ClickItem(RadioGroup& group, int item);
    // A key as a person presses it, in the form that has the keyboard.
    bool Press(Form& form, Key key, bool shift = false) { return PressKey(form, key, shift); }
    Control* focus = nullptr; // the control with the keyboard focus
    // Fires every running timer of the form once.
    void TickTimers(Application& app);

    void Realize(Form& form) override;
    void Update(Control& control) override;
    void Destroy(Form& form) override;
    void ShowForm(Form& form, bool show) override;
    void RunModal(Form& form) override;
    void MinimizeForm(Form& form) override;
    void StartTimer(Timer& timer) override;
    void StopTimer(Timer& timer) override;
    bool LoadCursor(Cursor slot, const std::string& path) override;
    void ShowError(const std::string& title, const std::string& message) override;
    void SetTitle(const std::string& t) override { title = t; }
    void RunMessageLoop() override {}
    void Quit() override { quit = true; }
    Control* FocusedControl() override { return focus; }
    void Focus(Control& control) override { focus = &control; }
    std::uintptr_t NativeHandle(Form&) override { return 0x1234; }
    int Dpi() override { return dpi; }

private:
    Platform& os_;
};

} // namespace vrk::ui
