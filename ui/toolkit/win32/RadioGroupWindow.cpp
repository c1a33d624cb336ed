// A radio group, drawn flat: a one-pixel frame with the caption on its top
// edge, and the items in columns, each an option circle and its text. A click
// on an item of an enabled group selects it; so do the arrow keys when the
// group has the focus (Keyboard.h).
#include <algorithm>
#include <string>

#include "Keyboard.h"
#include "Paint.h"
#include "Wide.h"
#include "Win32Backend.h"
#include "Window.h"

namespace vrk::ui::win32 {
namespace {

// In design units.
constexpr int kCircle = 13;     // an option circle
constexpr int kTextOffset = 17; // the item text, from the item's left
constexpr int kIndent = 8;      // the caption and the first column, from the frame

class RadioGroupWindow : public Window {
public:
    RadioGroupWindow(Win32Backend& backend, RadioGroup& group) : Window(backend, group), group_(group) {}

    void Create(HWND parent) override {
        CreateOwn(L"VrkRadioGroup", parent, WS_CHILD | WS_CLIPSIBLINGS);
        SetIndexProperty();
    }

    void Apply() override {
        ApplyCommon();
        SetIndexProperty();
        Invalidate();
    }

    void Paint(HDC dc, const RECT& client) override {
        SavedDC saved(dc);
        const COLORREF back = ToColorRef(group_.color());
        FillSolid(dc, client, back);
        SelectObject(dc, backend.FontFor(group_.font()));
        SetBkMode(dc, TRANSPARENT);
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);

        const Scale scale = this->scale();
        FrameSolid(dc, {0, tm.tmHeight / 2 - 1, client.right, client.bottom}, GetSysColor(COLOR_WINDOWFRAME),
                   scale.Line());
        const COLORREF text = ToColorRef(group_.font().color);
        if (!group_.caption().empty()) {
            RECT caption{scale(kIndent), 0, scale(kIndent), tm.tmHeight};
            const std::wstring title = Wide(group_.caption());
            DrawTextW(dc, title.c_str(), -1, &caption, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
            FillSolid(dc, caption, back);
            SetTextColor(dc, text);
            DrawTextW(dc, title.c_str(), -1, &caption, DT_SINGLELINE | DT_NOPREFIX);
        }

        const bool enabled = group_.enabled();
        SetTextColor(dc, enabled ? text : GetSysColor(COLOR_GRAYTEXT));
        for (int i = 0; i < static_cast<int>(group_.items.size()); ++i) {
            const RECT item = ItemRect(i, client, tm.tmHeight);
            const int middle = (item.top + item.bottom) / 2;
            const int circleSide = scale(kCircle);
            RECT circle{item.left, middle - circleSide / 2, item.left + circleSide,
                        middle - circleSide / 2 + circleSide};
            UINT state = DFCS_BUTTONRADIO | DFCS_FLAT;
            if (i == group_.itemIndex()) state |= DFCS_CHECKED;
            if (!enabled) state |= DFCS_INACTIVE;
            DrawFrameControl(dc, &circle, DFC_BUTTON, state);
            RECT label{item.left + scale(kTextOffset), item.top, item.right, item.bottom};
            DrawTextW(dc, Wide(group_.items[i]).c_str(), -1, &label,
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
            // The focus is marked around the chosen item's text (the first
            // one's while none is chosen), as on an option button.
            if (i == std::max(group_.itemIndex(), 0) && group_.FocusMarked()) {
                RECT text = label;
                const std::wstring wide = Wide(group_.items[i]);
                DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &text,
                          DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
                const int gap = scale.Line();
                const int top = (label.top + label.bottom - (text.bottom - text.top)) / 2 - gap;
                RECT frame{label.left - 2 * gap, top, std::min(text.right, label.right) + 2 * gap,
                           top + (text.bottom - text.top) + 2 * gap};
                DrawFocusMark(dc, frame);
            }
        }
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_LBUTTONDOWN:
            FocusForClick(group_);
            pressedItem_ = ItemAt(lParam);
            if (pressedItem_ >= 0) SetCapture(hwnd);
            return 0;
        case WM_LBUTTONUP: {
            const int item = ItemAt(lParam);
            const bool same = pressedItem_ >= 0 && item == pressedItem_;
            pressedItem_ = -1;
            if (GetCapture() == hwnd) ReleaseCapture();
            if (same && group_.Reachable()) group_.Choose(item);
            return 0;
        }
        case WM_CAPTURECHANGED: pressedItem_ = -1; return 0;
        default: return Window::Handle(message, wParam, lParam);
        }
    }

private:
    // The items in columns, each column filled from the top, as many rows
    // as the longest column needs, sharing the height below the caption.
    RECT ItemRect(int index, const RECT& client, int textHeight) const {
        const Scale scale = this->scale();
        const int count = static_cast<int>(group_.items.size());
        const int columns = group_.columns > 0 ? group_.columns : 1;
        const int perColumn = (count + columns - 1) / columns;
        const int width = (client.right - scale(10)) / columns;
        const int space = client.bottom - textHeight - scale(5);
        const int height = perColumn > 0 ? space / perColumn : space;
        const int top = textHeight + scale.Line() + (perColumn > 0 ? (space % perColumn) / 2 : 0);
        const int left = (index / perColumn) * width + scale(kIndent);
        const int y = (index % perColumn) * height + top;
        return RECT{left, y, left + width, y + height};
    }

    int ItemAt(LPARAM lParam) {
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client;
        GetClientRect(hwnd, &client);
        TEXTMETRICW tm{};
        {
            const BorrowedDC dc(hwnd);
            const SelectedObject font(dc.get(), backend.FontFor(group_.font()));
            GetTextMetricsW(dc.get(), &tm);
        }
        for (int i = 0; i < static_cast<int>(group_.items.size()); ++i) {
            const RECT item = ItemRect(i, client, tm.tmHeight);
            if (PtInRect(&item, at)) return i;
        }
        return -1;
    }

    void SetIndexProperty() {
        // Another process reads the selection here: the item's index + 1, or
        // nothing when no item is selected.
        if (group_.itemIndex() >= 0)
            SetPropW(hwnd, kIndexProperty, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(group_.itemIndex() + 1)));
        else
            RemovePropW(hwnd, kIndexProperty);
    }

    RadioGroup& group_;
    int pressedItem_ = -1;
};

} // namespace

std::unique_ptr<Window> MakeRadioGroupWindow(Win32Backend& backend, RadioGroup& group) {
    return std::make_unique<RadioGroupWindow>(backend, group);
}

} // namespace vrk::ui::win32
