#include "Win32Backend.h"

#include <algorithm>

#include "Dpi.h"
#include "Wide.h"
#include "Window.h"
#include "Application.h"

namespace vrk::ui {

using win32::Window;

namespace {

constexpr const wchar_t* kTimerClass = L"VrkTimers";

int Slot(Cursor cursor) { return static_cast<int>(cursor); }

std::unique_ptr<Window> MakeWindow(Win32Backend& backend, Control& control) {
    switch (control.kind) {
    case Kind::kForm: return win32::MakeFormWindow(backend, static_cast<Form&>(control));
    case Kind::kPanel: return win32::MakePanelWindow(backend, static_cast<Panel&>(control));
    case Kind::kLabel: return win32::MakeLabelWindow(backend, static_cast<Label&>(control));
    case Kind::kImage:
    case Kind::kAnimatedImage: return win32::MakeImageWindow(backend, static_cast<Image&>(control));
    case Kind::kShape: return win32::MakeShapeWindow(backend, static_cast<Shape&>(control));
    case Kind::kRadioGroup: return win32::MakeRadioGroupWindow(backend, static_cast<RadioGroup&>(control));
    case Kind::kCheckBox: return win32::MakeCheckBoxWindow(backend, static_cast<CheckBox&>(control));
    case Kind::kDropDownList: return win32::MakeDropDownWindow(backend, static_cast<DropDownList&>(control));
    case Kind::kEdit:
    case Kind::kMemo: return win32::MakeEditWindow(backend, static_cast<Edit&>(control));
    case Kind::kButton: return win32::MakeButtonWindow(backend, static_cast<Button&>(control));
    case Kind::kTimer: break;
    }
    return nullptr;
}

std::string FontKey(const Font& f) {
    return f.name + '|' + std::to_string(f.height) + '|' + (f.bold ? 'b' : '-') + (f.italic ? 'i' : '-') +
           (f.underline ? 'u' : '-') + (f.fixedPitch ? 'f' : '-');
}

} // namespace

Win32Backend::Win32Backend() : instance_(GetModuleHandleW(nullptr)) {

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TimerProc;
    wc.hInstance = instance_;
    wc.lpszClassName = kTimerClass;
    RegisterClassExW(&wc);
    // The timers of the forms live on a window of their own that is never
    // shown, so they tick whether their form is shown or hidden.
    timerWindow_.reset(CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, nullptr));
    SetWindowLongPtrW(timerWindow_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    cursors_[Slot(Cursor::kParent)] = LoadCursorW(nullptr, IDC_ARROW);
    cursors_[Slot(Cursor::kArrow)] = LoadCursorW(nullptr, IDC_ARROW);
    cursors_[Slot(Cursor::kHand)] = LoadCursorW(nullptr, IDC_HAND);
    cursors_[Slot(Cursor::kSystemArrow)] = LoadCursorW(nullptr, IDC_ARROW);
    win32::AnswerTestHooks(*this);
}

Win32Backend::~Win32Backend() {
    while (!forms_.empty()) Destroy(*forms_.back().form);
}

// --- forms and controls ------------------------------------------------------------

Win32Backend::Realized* Win32Backend::Find(const Form* form) {
    for (auto& realized : forms_)
        if (realized.form == form) return &realized;
    return nullptr;
}

win32::Window* Win32Backend::WindowOf(const Control* control) {
    if (!control || control->kind == Kind::kTimer) return nullptr;
    return static_cast<Window*>(control->native);
}

HWND Win32Backend::MainWindow() const {
    // The first form that has its windows (the main window, shown first).
    for (const auto& realized : forms_)
        if (!realized.windows.empty()) return realized.windows.front()->hwnd;
    return nullptr;
}

void Win32Backend::Realize(Form& form) {
    if (Find(&form)) return;
    forms_.push_back(Realized{&form, {}});
    // Timers run from the form's creation; its windows are made when it is
    // first shown, so a form that stays hidden (the options dialog until it
    // is opened) costs no start-up time.
    for (const auto& owned : form.owned())
        if (owned->kind == Kind::kTimer) {
            owned->native = this; // a timer has no window; it only needs telling of changes
            auto& timer = static_cast<Timer&>(*owned);
            if (timer.enabled()) StartTimer(timer);
        }
}

void Win32Backend::MakeWindows(Realized& realized) {
    Form& form = *realized.form;
    auto& windows = realized.windows;
    auto made = MakeWindow(*this, form);
    made->Create(nullptr);
    form.native = made.get();
    windows.push_back(std::move(made));

    MakeControlWindows(realized);
}

void Win32Backend::MakeControlWindows(Realized& realized) {
    // In the order of the window definition: a parent before its controls,
    // and each control above those made before it. The controls of a panel
    // that is not shown get their windows when it is first shown: no one
    // sees them before, and making windows is most of the start-up.
    for (const auto& owned : realized.form->owned()) {
        Control& control = *owned;
        if (control.kind == Kind::kTimer || control.native) continue;
        Control* parent = control.parent();
        Window* parentWindow = WindowOf(parent);
        if (!parentWindow || !parentWindow->hwnd) continue;
        if (parent->kind == Kind::kPanel && !parent->visible()) continue;
        auto window = MakeWindow(*this, control);
        if (!window) continue;
        window->Create(parentWindow->hwnd);
        control.native = window.get();
        realized.windows.push_back(std::move(window));
    }
}

void Win32Backend::Update(Control& control) {
    if (control.kind == Kind::kTimer) {
        auto& timer = static_cast<Timer&>(control);
        if (timer.enabled())
            StartTimer(timer);
        else
            StopTimer(timer);
        return;
    }
    Window* window = WindowOf(&control);
    if (!window || !window->hwnd) return;
    // A panel shown for the first time: its controls first, so that it
    // appears whole.
    if (control.kind == Kind::kPanel && control.visible())
        if (Realized* realized = Find(control.form())) MakeControlWindows(*realized);
    window->Apply();
    if (control.kind == Kind::kPanel || control.kind == Kind::kForm)
        if (Form* form = control.form()) RefreshAnimations(*form);
}

void Win32Backend::Destroy(Form& form) {
    for (const auto& owned : form.owned())
        if (owned->kind == Kind::kTimer) StopTimer(static_cast<Timer&>(*owned));
    const auto it = std::find_if(forms_.begin(), forms_.end(), [&](const Realized& r) { return r.form == &form; });
    if (it == forms_.end()) return;
    if (!it->windows.empty() && it->windows.front()->hwnd) DestroyWindow(it->windows.front()->hwnd);
    for (const auto& owned : form.owned()) owned->native = nullptr;
    form.native = nullptr;
    forms_.erase(it);
    backgrounds_.erase(&form);
}

void Win32Backend::ShowForm(Form& form, bool show) {
    Realized* realized = Find(&form);
    if (show && realized && realized->windows.empty()) {
        // At the scale of the display it appears on now (the program may have
        // been moved to another since the form was built).
        form.SetDpi(Dpi());
        MakeWindows(*realized);
        moments.Mark(win32::StartupMoments::kWindowsMade);
    }
    Window* window = WindowOf(&form);
    if (!window || !window->hwnd) return;
    HWND hwnd = window->hwnd;
    if (!show) {
        ShowWindow(hwnd, SW_HIDE);
        RefreshAnimations(form);
        return;
    }
    if (!IsWindowVisible(hwnd) && form.centred) {
        RECT r;
        GetWindowRect(hwnd, &r);
        const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
        SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Shown without its erase: the paint below draws all of it, frame and
    // controls, at once, before whatever the program does next.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    SetForegroundWindow(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RefreshAnimations(form);
    moments.Mark(win32::StartupMoments::kShown);
}

void Win32Backend::RunModal(Form& form) {
    Window* window = WindowOf(&form);
    if (!window || !window->hwnd) return;
    std::vector<HWND>& disabled = modalDisabled_[&form];
    disabled.clear();
    for (const auto& realized : forms_) {
        HWND other = realized.windows.empty() ? nullptr : realized.windows.front()->hwnd;
        if (realized.form != &form && other && IsWindowEnabled(other)) {
            EnableWindow(other, FALSE);
            disabled.push_back(other);
        }
    }
    // The keyboard starts on the first control that can take it, and the
    // focus is drawn from the start, as in any dialog used by keyboard.
    if (Control* first = form.NextTabStop(nullptr)) Focus(*first);
    SendMessageW(window->hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    MSG msg;
    while (form.modal) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program ends: the main loop gets the quit message as well.
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (DialogKey(form, msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // Whichever way the run ended, the windows it disabled are usable again,
    // and the one it came from is the active one.
    const std::vector<HWND> owners = std::move(disabled);
    modalDisabled_.erase(&form);
    for (HWND other : owners) EnableWindow(other, TRUE);
    if (!owners.empty()) {
        if (GetForegroundWindow() != owners.front()) SetForegroundWindow(owners.front());
        SetActiveWindow(owners.front());
    }
}

void Win32Backend::EndModal(Form& form) {
    const auto it = modalDisabled_.find(&form);
    if (it == modalDisabled_.end()) return;
    for (HWND other : it->second) EnableWindow(other, TRUE);
}

Control* Win32Backend::FocusedControl() {
    for (HWND hwnd = GetFocus(); hwnd; hwnd = GetParent(hwnd))
        if (Window* window = Window::From(hwnd)) return &window->control;
    return nullptr;
}

void Win32Backend::Focus(Control& control) {
    if (Window* window = WindowOf(&control); window && window->hwnd) SetFocus(window->hwnd);
}

bool Win32Backend::DialogKey(Form& form, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || form.tabOrder.empty()) return false;
    Window* formWindow = WindowOf(&form);
    if (msg.hwnd != formWindow->hwnd && !IsChild(formWindow->hwnd, msg.hwnd)) return false;
    Control* focused = FocusedControl();
    // An open list takes its own keys: Esc and Enter close it.
    if (focused && focused->kind == Kind::kDropDownList &&
        SendMessageW(WindowOf(focused)->hwnd, CB_GETDROPPEDSTATE, 0, 0))
        return false;
    switch (msg.wParam) {
    case VK_TAB:
        if (Control* next = form.NextTabStop(focused, GetKeyState(VK_SHIFT) < 0)) Focus(*next);
        return true;
    case VK_ESCAPE: // as Cancel
        form.modalResult = kModalCancel;
        form.Close();
        return true;
    case VK_RETURN: // presses the focused button; Space does so by itself
        if (!focused || focused->kind != Kind::kButton) return false;
        SendMessageW(WindowOf(focused)->hwnd, BM_CLICK, 0, 0);
        return true;
    default: return false;
    }
}

void Win32Backend::MinimizeForm(Form& form) {
    if (Window* window = WindowOf(&form); window && window->hwnd) ShowWindow(window->hwnd, SW_MINIMIZE);
}

void Win32Backend::RefreshAnimations(Form& form) {
    for (const auto& owned : form.owned())
        if (owned->kind == Kind::kAnimatedImage)
            if (Window* window = WindowOf(owned.get()); window && window->hwnd) window->ShowingChanged();
}

std::uintptr_t Win32Backend::NativeHandle(Form& form) {
    Window* window = WindowOf(&form);
    return reinterpret_cast<std::uintptr_t>(window ? window->hwnd : nullptr);
}

int Win32Backend::Dpi() { return win32::MonitorDpi(); }

std::string Win32Backend::ResourceBytes(const std::string& name) {
    // The window definitions' own pictures are RCDATA resources of the program.
    HRSRC found = FindResourceW(instance_, Wide(name).c_str(), RT_RCDATA);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(instance_, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return std::string(static_cast<const char*>(data), SizeofResource(instance_, found));
}

void Win32Backend::AnswerFormMessage(UINT message, FormMessageHandler handler) {
    formMessages_[message] = std::move(handler);
}

const Win32Backend::FormMessageHandler* Win32Backend::FormMessage(UINT message) const {
    const auto it = formMessages_.find(message);
    return it == formMessages_.end() ? nullptr : &it->second;
}

// --- timers ------------------------------------------------------------------------

void Win32Backend::StartTimer(Timer& timer) {
    UINT_PTR id = 0;
    for (const auto& [key, running] : timers_)
        if (running == &timer) id = key;
    if (!id) {
        id = nextTimerId_++;
        timers_[id] = &timer;
    }
    // Setting it again starts its interval afresh.
    SetTimer(timerWindow_.get(), id, timer.interval ? timer.interval : 1, nullptr);
}

void Win32Backend::StopTimer(Timer& timer) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
        if (it->second == &timer) {
            KillTimer(timerWindow_.get(), it->first);
            timers_.erase(it);
            return;
        }
}

void Win32Backend::OnTimer(UINT_PTR id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    Timer* timer = it->second;
    if (!timer->onTimer) return;
    if (Application* app = timer->application()) app->Guard(timer->onTimer);
}

LRESULT CALLBACK Win32Backend::TimerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (auto* backend = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            backend->OnTimer(wParam);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// --- cursors, fonts, brushes, background -------------------------------------------

bool Win32Backend::LoadCursor(Cursor slot, const std::string& path) {
    const int i = Slot(slot);
    HCURSOR loaded = win32::MadeUser(LoadCursorFromFileW(Wide(path).c_str()));
    // A file that does not load leaves the system arrow in the slot, for the
    // hand-point slot as well.
    cursors_[i] = loaded ? loaded : LoadCursorW(nullptr, IDC_ARROW);
    // The cursor the slot showed before goes, unless it is on the screen now.
    if (fromFiles_[i].get() == GetCursor()) fromFiles_[i].release();
    fromFiles_[i].reset(loaded);
    return loaded != nullptr;
}

HCURSOR Win32Backend::CursorFor(Cursor cursor) const { return cursors_[Slot(cursor)]; }

HFONT Win32Backend::FontFor(const Font& font) {
    const std::string key = FontKey(font);
    const auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second.get();
    const LOGFONTW lf = win32::ToLogFont(font);
    HFONT made = win32::MadeGdi(CreateFontIndirectW(&lf));
    fonts_[key].reset(made);
    return made;
}

HBRUSH Win32Backend::BrushFor(COLORREF color) {
    const auto it = brushes_.find(color);
    if (it != brushes_.end()) return it->second.get();
    HBRUSH made = win32::MadeGdi(CreateSolidBrush(color));
    brushes_[color].reset(made);
    return made;
}

const win32::Bitmap* Win32Backend::BackgroundOf(Form& form) {
    const std::shared_ptr<const Picture> picture = form.Background();
    if (!picture || picture->frames.empty()) {
        backgrounds_.erase(&form);
        return nullptr;
    }
    Background& cached = backgrounds_[&form];
    if (cached.source.lock() != picture || cached.dpi != form.dpi()) {
        // Still tiled, at the scale of the rest of the window, unless it would
        // be too big at it. One that cannot be made (no memory for it) leaves
        // the form's colour, and is not tried again until it or the scale
        // changes.
        const Frame& frame = picture->frames.front();
        const Scale scale = FitsAtScale(*picture, form.dpi()) ? form.scale() : Scale{};
        cached.source = picture;
        cached.dpi = form.dpi();
        cached.bitmap = {};
        cached.bitmap = win32::Bitmap(frame, win32::Alpha::kNone, scale(frame.width), scale(frame.height));
    }
    return cached.bitmap ? &cached.bitmap : nullptr;
}

// --- error box, title, loops --------------------------------------------------------

HWND Win32Backend::OwnerForError() const {
    HWND active = GetActiveWindow();
    for (const auto& realized : forms_)
        if (!realized.windows.empty() && realized.windows.front()->hwnd == active) return active;
    HWND main = MainWindow();
    return main && IsWindowVisible(main) ? main : nullptr;
}

void Win32Backend::ShowError(const std::string& title, const std::string& message) {
    MessageBoxW(OwnerForError(), Wide(message).c_str(), Wide(title.empty() ? title_ : title).c_str(),
                MB_OK | MB_ICONERROR);
}

void Win32Backend::RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Win32Backend::Quit() { PostQuitMessage(0); }

} // namespace vrk::ui
