#include "Keyboard.h"

#include "Application.h"

namespace vrk::ui {

namespace {

// The radio group's next (or previous) item, round the end as in a group of
// option buttons; from no choice, the first (or last).
int Stepped(const RadioGroup& group, bool forward) {
    const int count = static_cast<int>(group.items.size());
    const int at = group.itemIndex();
    if (at < 0) return forward ? 0 : count - 1;
    return (at + (forward ? 1 : count - 1)) % count;
}

} // namespace

bool PressKey(Form& form, Key key, bool shift) {
    if (form.tabOrder.empty()) return false;
    Control* focused = form.FocusedControl();
    form.ShowFocus();
    switch (key) {
    case Key::kTab:
        if (Control* next = form.NextTabStop(focused, shift)) form.Focus(*next);
        return true;
    case Key::kSpace:
    case Key::kReturn:
        // The click's own way in: only a control that a click can reach, and
        // through the same handler, so its guards (a busy server) hold.
        if (!focused || focused->kind != Kind::kImage || !focused->onClick) return false;
        if (focused->Reachable()) form.app().Guard(focused->onClick, Origin::kUser);
        return true;
    case Key::kLeft:
    case Key::kRight:
    case Key::kUp:
    case Key::kDown: {
        auto* group = dynamic_cast<RadioGroup*>(focused);
        if (!group || group->items.empty()) return false;
        if (group->Reachable()) group->Choose(Stepped(*group, key == Key::kRight || key == Key::kDown));
        return true;
    }
    }
    return false;
}

void FocusForClick(Control& clicked) {
    Form* form = clicked.form();
    Control* stop = clicked.FocusStop();
    if (form && stop && !form->tabOrder.empty() && stop->Reachable()) form->Focus(*stop);
}

} // namespace vrk::ui
