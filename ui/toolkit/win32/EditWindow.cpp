// An edit or a memo: the system's edit control, with the control's font and
// colours. What the user types becomes the control's caption.
#include "Paint.h"
#include "Win32Backend.h"
#include "Window.h"

namespace vrk::ui::win32 {
namespace {

// A memo's caption breaks lines with "\n"; the edit control wants "\r\n".
std::string ToWindowLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

std::string FromWindowLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

class EditWindow : public Window {
public:
    EditWindow(Win32Backend& backend, Edit& edit) : Window(backend, edit), edit_(edit) {}

    void Create(HWND parent) override {
        DWORD style = WS_CHILD | WS_TABSTOP | WS_CLIPSIBLINGS;
        if (memo()) {
            style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            if (edit_.verticalScrollBar) style |= WS_VSCROLL;
            if (edit_.alignment == Align::kCentre) style |= ES_CENTER;
            if (edit_.alignment == Align::kRight) style |= ES_RIGHT;
        } else {
            style |= ES_AUTOHSCROLL;
            if (edit_.passwordChar) style |= ES_PASSWORD;
        }
        if (edit_.readOnly) style |= ES_READONLY;
        // Flat: a one-pixel border, or none.
        if (edit_.border) style |= WS_BORDER;
        applying_ = true;
        CreateSystem(L"EDIT", parent, style);
        applying_ = false;
        if (!hwnd) return;
        if (edit_.passwordChar)
            SendMessageW(hwnd, EM_SETPASSWORDCHAR, static_cast<wchar_t>(static_cast<unsigned char>(edit_.passwordChar)),
                         0);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(backend.FontFor(edit_.font())), FALSE);
    }

    void Apply() override {
        applying_ = true;
        ApplyCommon();
        applying_ = false;
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(backend.FontFor(edit_.font())), FALSE);
        SendMessageW(hwnd, EM_SETREADONLY, edit_.readOnly, 0);
        InvalidateRect(hwnd, nullptr, TRUE);
    }

    void Command(WORD code) override {
        if (code != EN_CHANGE || applying_) return;
        const std::string text = TextOf(hwnd);
        edit_.SetCaption(memo() ? FromWindowLines(text) : text);
    }

    HBRUSH ControlColor(HDC dc) override {
        const COLORREF back = ToColorRef(edit_.color() == kColorBtnFace ? kColorWindow : edit_.color());
        SetTextColor(dc, edit_.enabled() ? ToColorRef(edit_.font().color) : GetSysColor(COLOR_GRAYTEXT));
        SetBkColor(dc, back);
        return backend.BrushFor(back);
    }

protected:
    std::string WindowText() const override { return memo() ? ToWindowLines(edit_.caption()) : edit_.caption(); }

private:
    bool memo() const { return edit_.kind == Kind::kMemo; }

    Edit& edit_;
    bool applying_ = false; // our own text change is no typing
};

} // namespace

std::unique_ptr<Window> MakeEditWindow(Win32Backend& backend, Edit& edit) {
    return std::make_unique<EditWindow>(backend, edit);
}

} // namespace vrk::ui::win32
