#pragma once
// The toolkit on real windows: every control a child window, painted with
// GDI; timers, cursors, the error box and the message loops of user32.
#include <windows.h>
// <windows.h> makes LoadCursor a macro, which would rename Backend's slot in
// some files and not in others.
#undef LoadCursor

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Backend.h"
#include "Owned.h"
#include "Paint.h"
#include "TestHooks.h"

namespace vrk::ui {

namespace win32 {
class Window;
}

class Win32Backend : public Backend {
public:
    Win32Backend();
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    void Realize(Form& form) override;
    void Update(Control& control) override;
    void Destroy(Form& form) override;
    void ShowForm(Form& form, bool show) override;
    void RunModal(Form& form) override;
    void EndModal(Form& form) override;
    void MinimizeForm(Form& form) override;
    void StartTimer(Timer& timer) override;
    void StopTimer(Timer& timer) override;
    bool LoadCursor(Cursor slot, const std::string& path) override;
    void ShowError(const std::string& title, const std::string& message) override;
    void SetTitle(const std::string& title) override { title_ = title; }
    void RunMessageLoop() override;
    void Quit() override;
    std::uintptr_t NativeHandle(Form& form) override;
    // The window with the focus, or the control it is a part of (the edit
    // field of a drop-down list).
    Control* FocusedControl() override;
    void Focus(Control& control) override;
    std::string ResourceBytes(const std::string& name) override;
    // Of the main display, where our windows appear (centred).
    int Dpi() override;

    // The moments of the start, for the start-up benchmark (TestHooks.h).
    win32::StartupMoments moments;

    // A registered message every form answers, with the form and its window:
    // what another program asks of the panel, whichever form it finds.
    using FormMessageHandler = std::function<LRESULT(Form& form, HWND window, WPARAM wParam)>;
    void AnswerFormMessage(UINT message, FormMessageHandler handler);
    const FormMessageHandler* FormMessage(UINT message) const;

    // --- for the windows ----------------------------------------------------------
    HINSTANCE instance() const { return instance_; }
    HFONT FontFor(const Font& font);
    HBRUSH BrushFor(COLORREF color);
    HCURSOR CursorFor(Cursor cursor) const;
    win32::BackBuffer& backBuffer() { return backBuffer_; }
    // The form's background picture as a bitmap at the form's scale, made
    // once per picture and scale; nullptr when the form has none.
    const win32::Bitmap* BackgroundOf(Form& form);
    static win32::Window* WindowOf(const Control* control);
    // The form that owns the others (the first one made) and the taskbar entry.
    HWND MainWindow() const;

private:
    struct Background {
        std::weak_ptr<const Picture> source;
        int dpi = 0;
        win32::Bitmap bitmap;
    };
    struct Realized {
        Form* form;
        std::vector<std::unique_ptr<win32::Window>> windows; // the form's first
    };

    void OnTimer(UINT_PTR id);
    static LRESULT CALLBACK TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    Realized* Find(const Form* form);
    void MakeWindows(Realized& realized);
    // The windows of the controls that can have one now and have none yet.
    void MakeControlWindows(Realized& realized);
    // Animations play only while their image can be seen.
    void RefreshAnimations(Form& form);
    HWND OwnerForError() const;
    // The keys of a dialog: Tab and Shift+Tab through its tab order, Esc as
    // Cancel, Enter on a focused button; true when the key was taken.
    bool DialogKey(Form& form, const MSG& msg);

    HINSTANCE instance_;
    std::string title_;
    Owned<HWND, ::DestroyWindow> timerWindow_;
    std::map<UINT_PTR, Timer*> timers_;
    UINT_PTR nextTimerId_ = 1;
    std::vector<Realized> forms_;
    std::map<std::string, win32::GdiObject<HFONT>> fonts_;
    std::map<COLORREF, win32::GdiObject<HBRUSH>> brushes_;
    HCURSOR cursors_[4] = {};         // what each slot shows
    win32::OwnedCursor fromFiles_[4]; // those loaded from cursor files
    std::map<const Form*, Background> backgrounds_;
    std::map<const Form*, std::vector<HWND>> modalDisabled_; // by each modal run, the main window first
    win32::BackBuffer backBuffer_;
    std::map<UINT, FormMessageHandler> formMessages_;
};

} // namespace vrk::ui
