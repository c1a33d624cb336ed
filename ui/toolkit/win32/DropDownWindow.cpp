// A drop-down list: the system's combo box (a plain list, or one with an
// edit field), with the control's font and colours. Its items and selection
// are the control's: choosing an item selects it in the control.
#include <vector>

#include "Paint.h"
#include "Wide.h"
#include "Win32Backend.h"
#include "Window.h"
#include "Application.h"

namespace vrk::ui::win32 {
namespace {

constexpr int kVisibleItems = 8; // items the open list shows before it scrolls

class DropDownWindow : public Window {
public:
    DropDownWindow(Win32Backend& backend, DropDownList& list) : Window(backend, list), list_(list) {}

    void Create(HWND parent) override {
        CreateSystem(L"COMBOBOX", parent,
                     WS_CHILD | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | CBS_HASSTRINGS |
                         (list_.withEditField ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST));
        Sync();
    }

    void Apply() override {
        ApplyCommon();
        Sync();
        InvalidateRect(hwnd, nullptr, TRUE);
    }

    void Command(WORD code) override {
        if (code == CBN_EDITCHANGE) {
            // What the user types selects the item it equals, or none.
            list_.SetText(EditText());
            return;
        }
        if (code != CBN_SELCHANGE) return;
        const int index = static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
        if (index == list_.itemIndex()) return;
        list_.SetItemIndex(index);
        if (list_.onClick)
            if (Application* app = list_.application()) app->Guard(list_.onClick, Origin::kUser);
    }

    HBRUSH ControlColor(HDC dc) override {
        const COLORREF back = ToColorRef(list_.color() == kColorBtnFace ? kColorWindow : list_.color());
        SetTextColor(dc, ToColorRef(list_.font().color));
        SetBkColor(dc, back);
        return backend.BrushFor(back);
    }

protected:
    // The window is as high as the closed box and its open list together:
    // the system keeps the box itself at the height of its font.
    RECT Bounds() const override {
        RECT r = Window::Bounds();
        const int items = static_cast<int>(list_.items().size());
        r.bottom += list_.itemHeight * (items < kVisibleItems ? (items > 0 ? items : 1) : kVisibleItems) + 2;
        return r;
    }

    // The selected text is what the window holds, set by the list itself.
    std::string WindowText() const override { return list_.SelectedText(); }
    bool FollowsText() const override { return false; }

private:
    void Sync() {
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(backend.FontFor(list_.font())), FALSE);
        if (items_ != list_.items()) {
            items_ = list_.items();
            SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : items_)
                SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
            SendMessageW(hwnd, CB_SETITEMHEIGHT, 0, list_.itemHeight);
        }
        if (!list_.withEditField) {
            if (static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)) != list_.itemIndex())
                SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(list_.itemIndex()), 0);
            return;
        }
        // An edit field that shows what the user typed is left as it is:
        // selecting would replace the text and move the caret.
        if (EditText() == list_.text()) return;
        SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(list_.itemIndex()), 0);
        if (EditText() != list_.text()) SetWindowTextW(hwnd, Wide(list_.text()).c_str());
    }

    std::string EditText() const { return TextOf(hwnd); }

    DropDownList& list_;
    std::vector<std::string> items_;
};

} // namespace

std::unique_ptr<Window> MakeDropDownWindow(Win32Backend& backend, DropDownList& list) {
    return std::make_unique<DropDownWindow>(backend, list);
}

} // namespace vrk::ui::win32
