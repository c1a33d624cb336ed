#pragma once
// What realises the controls: real windows (win32) or nothing (headless).
#include <string>

#include "Control.h"

namespace vrk::ui {

class Backend {
public:
    virtual ~Backend() = default;
    // Makes the form's window and those of all its controls.
    virtual void Realize(Form& form) = 0;
    // Something the control shows has changed.
    virtual void Update(Control& control) = 0;
    virtual void Destroy(Form& form) = 0;
    virtual void ShowForm(Form& form, bool show) = 0;
    // Runs a modal loop for the form until it is no longer modal.
    virtual void RunModal(Form& form) = 0;
    // The modal form is closing: what its modal run disabled takes input
    // again, before the form is hidden.
    virtual void EndModal(Form& /*form*/) {}
    virtual void MinimizeForm(Form& form) = 0;
    virtual void StartTimer(Timer& timer) = 0;
    virtual void StopTimer(Timer& timer) = 0;
    // Fills a cursor slot from a cursor file; false (and the system arrow
    // in that slot) when the file cannot be loaded.
    virtual bool LoadCursor(Cursor slot, const std::string& path) = 0;
    // The standard error box.
    virtual void ShowError(const std::string& title, const std::string& message) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // The message loop of the program, until Quit.
    virtual void RunMessageLoop() = 0;
    virtual void Quit() = 0;
    // The control with the keyboard focus (of any form); nullptr for none,
    // as always without a keyboard.
    virtual Control* FocusedControl() { return nullptr; }
    // Gives the control (or a form) the keyboard focus.
    virtual void Focus(Control& /*control*/) {}
    // The owner handle to give shell calls made for a form.
    virtual std::uintptr_t NativeHandle(Form& form) = 0;
    // The dots per inch of the display a new window appears on.
    virtual int Dpi() { return 96; }
    // The bytes of a picture embedded in the program (empty when there is
    // none, as in tests).
    virtual std::string ResourceBytes(const std::string& /*name*/) { return {}; }
};

} // namespace vrk::ui
