#pragma once
// The keyboard in a window that has a tab order, the same on every backend:
// Tab and Shift+Tab move the focus over its stops, Space and Return act on
// the focused image as a click does, and the arrow keys move the choice of a
// focused radio group. No other key is taken: the window has no shortcuts.
#include "Control.h"

namespace vrk::ui {

enum class Key { kTab, kSpace, kReturn, kLeft, kRight, kUp, kDown };

// A key pressed in the form (its focused control takes it, or the form
// itself when nothing has the focus). The first one shows the focus mark
// from then on. Returns whether the key was taken.
bool PressKey(Form& form, Key key, bool shift = false);

// A click gives the focus to the stop the clicked control belongs to (an
// acting label to its image), as a click on a button does; nothing else.
void FocusForClick(Control& clicked);

} // namespace vrk::ui
