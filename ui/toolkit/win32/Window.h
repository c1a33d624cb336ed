#pragma once
// The one window type of the win32 backend. Every control is a child window
// (a panel's controls are children of the panel's window); the kinds that
// need no system control (form, panel, label, image, shape, radio group) use
// our own window class and paint themselves, double-buffered. Check box,
// drop-down list, edit, memo and button wrap the system's controls, whose
// notifications and colour requests reach them through their parent.
#include <windows.h>

#include <memory>
#include <string>

#include "Control.h"
#include "Owned.h"

namespace vrk::ui {

class Win32Backend;

namespace win32 {

class Window {
public:
    Window(Win32Backend& backend, Control& control) : backend(backend), control(control) {}
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Win32Backend& backend;
    Control& control;
    HWND hwnd = nullptr;

    // Makes the window as a child of `parent` (nullptr for a form), hidden or
    // shown as the control is.
    virtual void Create(HWND parent) = 0;
    // Brings the window in line with the control's state and repaints what
    // changed.
    virtual void Apply();
    virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    // Our own windows: paints the whole control into `dc` (client
    // coordinates), background included.
    virtual void Paint(HDC dc, const RECT& client);
    // Paints what the control draws over its backdrop, for a see-through
    // control above it (see PaintBackdrop); opaque controls paint everything.
    virtual void PaintContent(HDC dc, const RECT& client) { Paint(dc, client); }
    // Whether what lies behind the control shows through parts of it.
    virtual bool SeeThrough() const { return false; }

    // A system control: a notification (WM_COMMAND) and its colours.
    virtual void Command(WORD /*code*/) {}
    virtual HBRUSH ControlColor(HDC /*dc*/) { return nullptr; }
    // Timers of the window itself (animations).
    virtual void Tick(UINT_PTR /*id*/) {}
    // The control has been shown, hidden, or one of its parents has.
    virtual void ShowingChanged() {}

    static Window* From(HWND hwnd);

protected:
    // A window of our own class for this kind of control.
    void CreateOwn(const wchar_t* className, HWND parent, DWORD style, DWORD exStyle = 0);
    // A system control.
    void CreateSystem(const wchar_t* className, HWND parent, DWORD style, DWORD exStyle = 0);
    // What every kind shares: place, visibility, enabled state, text and the
    // properties another process reads (VrkName, VrkPicture).
    void ApplyCommon();
    // Repaints the control, and any see-through control above it that overlaps
    // it (it paints what lies beneath it).
    void Invalidate();
    // Paints what shows behind a see-through control: its parent's background
    // (the form's tiled picture, or the panel's colour), then the siblings
    // below it that overlap it.
    void PaintBackdrop(HDC dc, const RECT& client);
    // The bounds a window gets: the control's, in its parent's client area.
    virtual RECT Bounds() const;
    // The scale of the control's window: its own sizes in design units (an
    // option circle, a margin) are drawn at it.
    Scale scale() const;
    // The text the window holds (another process reads it): the caption.
    virtual std::string WindowText() const { return control.caption(); }
    // Whether the window's text follows WindowText (a drop-down list's text
    // is its selected item, which the list itself shows).
    virtual bool FollowsText() const { return true; }
    void SetPictureProperty(const std::string& path);
    // The focus mark of an image or a label: a dotted frame along `rect`, its
    // dots as wide as a line at the window's scale, light and dark in turn so
    // that it shows on any background.
    void DrawFocusMark(HDC dc, const RECT& rect) const;

    bool pressed_ = false;

private:
    // WM_PAINT: the whole client area, painted off screen and copied.
    void PaintBuffered();
    // The colours a child system control asks for (WM_CTLCOLOR...), or
    // nullptr for the system's own.
    HBRUSH ChildControlColor(HWND from, HDC dc);
    void RunClick();
    // A key of the window's keyboard (Tab, Space, Return, the arrows); true
    // when it was taken.
    bool TakeKey(WPARAM virtualKey, LPARAM flags);
    // The focus came or went: its mark, here and on the label that acts with
    // it. A screen reader needs nothing of ours: the system tells it of every
    // move of the focus from window to window (EVENT_OBJECT_FOCUS), and the
    // window's text is the control's name; a second event of our own would
    // have the move announced twice.
    void FocusChanged();
    DWORD InitialStyle(DWORD style) const;
    void AfterCreate();
    bool OverlapsEarlierSibling() const;
    RECT placed_{}; // where the window was last put
    Owned<ATOM, GlobalDeleteAtom> nameAtom_;
    Owned<ATOM, GlobalDeleteAtom> pictureAtom_;
    std::string pictureProperty_;
};

// One factory per kind of control (each in its own file).
std::unique_ptr<Window> MakeFormWindow(Win32Backend& backend, Form& form);
std::unique_ptr<Window> MakePanelWindow(Win32Backend& backend, Panel& panel);
std::unique_ptr<Window> MakeLabelWindow(Win32Backend& backend, Label& label);
std::unique_ptr<Window> MakeImageWindow(Win32Backend& backend, Image& image);
std::unique_ptr<Window> MakeShapeWindow(Win32Backend& backend, Shape& shape);
std::unique_ptr<Window> MakeRadioGroupWindow(Win32Backend& backend, RadioGroup& group);
std::unique_ptr<Window> MakeCheckBoxWindow(Win32Backend& backend, CheckBox& box);
std::unique_ptr<Window> MakeDropDownWindow(Win32Backend& backend, DropDownList& list);
std::unique_ptr<Window> MakeEditWindow(Win32Backend& backend, Edit& edit);
std::unique_ptr<Window> MakeButtonWindow(Win32Backend& backend, Button& button);

// The text a window holds, in UTF-8.
std::string TextOf(HWND hwnd);

// Names of the window properties another process reads.
inline constexpr const wchar_t* kNameProperty = L"VrkName";
inline constexpr const wchar_t* kPictureProperty = L"VrkPicture";
inline constexpr const wchar_t* kIndexProperty = L"VrkIndex"; // radio group: selected item + 1
inline constexpr const wchar_t* kFormClass = L"VrkForm";

} // namespace win32
} // namespace vrk::ui
