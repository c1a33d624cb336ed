#pragma once
// The controls of a window. Each control object holds its whole state; a
// backend realises it (real windows, or nothing at all in tests) and is told
// of every change. Setters that do not change anything tell nobody, so a
// status poll that sets the same caption every second repaints nothing.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Scale.h"
#include "Types.h"
#include "Picture.h"

namespace vrk::ui {

class Application;
class Form;

class Control {
public:
    Control(Kind kind, std::string name, Control* parent);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const Kind kind;
    const std::string name;
    Control* parent() const { return parent_; }
    const std::vector<Control*>& children() const { return children_; }
    Form* form();
    Application* application();

    // --- state -----------------------------------------------------------------
    const Rect& bounds() const { return bounds_; }
    void SetBounds(Rect r);
    bool visible() const { return visible_; }
    void SetVisible(bool v);
    bool enabled() const { return enabled_; }
    void SetEnabled(bool e);
    // Visible and enabled, and so are all its parents: a click reaches it.
    bool Reachable() const;
    bool Showing() const; // visible with all its parents
    const std::string& caption() const { return caption_; }
    void SetCaption(const std::string& c);
    // An image that acts is named after the labels that go with it: its
    // caption, the window text a screen reader announces (an image shows no
    // text), follows theirs, joined by ", ", and then its subject, what it
    // acts on when the labels do not say (the server of a "Start").
    void NameAfter(std::vector<Control*> labels);
    void SetSubject(const std::string& subject);
    const std::vector<Control*>& nameSources() const { return nameSources_; }
    // --- keyboard focus ------------------------------------------------------------
    // Of a kind that takes the focus: one that takes keys, a radio group, or
    // an image that acts.
    bool TakesFocus() const;
    // The stop of the tab order it belongs to: itself, or for a label that
    // acts with its image, the image; nullptr for none.
    Control* FocusStop();
    // Whether it shows the focus mark now: its window shows focus marks, and
    // it has the focus, or acts with the image that has it.
    bool FocusMarked();
    const Font& font() const { return font_; }
    void SetFont(const Font& f);
    Color color() const { return color_; }
    void SetColor(Color c);
    bool transparent() const { return transparent_; }
    void SetTransparent(bool t);
    Cursor cursor() const { return cursor_; }
    void SetCursor(Cursor c) { cursor_ = c; }
    // The cursor shown over it: its own slot, or its parent's.
    Cursor EffectiveCursor() const;
    Align alignment = Align::kLeft;
    bool wordWrap = false;
    bool autoSize = false;
    bool centreVertically = false;

    std::function<void()> onClick;

    // --- backend ---------------------------------------------------------------
    void* native = nullptr; // the backend's object for this control
    // Every change of what the control shows is announced through here.
    void Changed();

protected:
    void Rename();
    // The focused control when it is this one or inside it.
    Control* FocusedWithin();
    // It can no longer take the focus it had: the next stop takes it.
    void PassFocusOn(Control& lost);
    Control* parent_;
    std::vector<Control*> children_;
    std::vector<Control*> nameSources_; // the labels it is named after
    std::vector<Control*> named_;       // the images named after it
    std::string subject_;
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string caption_;
    Font font_;
    Color color_ = kColorBtnFace;
    bool transparent_ = false;
    Cursor cursor_ = Cursor::kParent;
};

class Label : public Control {
public:
    Label(std::string name, Control* parent) : Control(Kind::kLabel, std::move(name), parent) {}
};

// Shows a picture at its natural size from its top-left corner.
class Image : public Control {
public:
    Image(std::string name, Control* parent, Kind kind = Kind::kImage) : Control(kind, std::move(name), parent) {}
    // Loads a picture file; the file's extension chooses the decoder. Raises
    // Error("Cannot open file ...") or the decoder's error, and then keeps
    // the previous picture.
    void LoadFromFile(const std::string& path);
    void SetPicture(std::shared_ptr<const Picture> picture, const std::string& path);
    // A picture embedded in the program (the window definition's own
    // pictures); nothing when the program has none of that name.
    void LoadFromResource(const std::string& name);
    const std::shared_ptr<const Picture>& picture() const { return picture_; }
    const std::string& pictureFile() const { return pictureFile_; }

private:
    std::shared_ptr<const Picture> picture_;
    std::string pictureFile_;
};

// Plays the frames of an animation while it is visible.
class AnimatedImage : public Image {
public:
    AnimatedImage(std::string name, Control* parent) : Image(std::move(name), parent, Kind::kAnimatedImage) {}
    bool animate = false;
    std::size_t frame = 0; // the frame on show
};

class Panel : public Control {
public:
    Panel(std::string name, Control* parent) : Control(Kind::kPanel, std::move(name), parent) {}
    bool raisedBevel = false;
};

// A line: a rectangle drawn with the pen colour.
class Shape : public Control {
public:
    Shape(std::string name, Control* parent) : Control(Kind::kShape, std::move(name), parent) { transparent_ = true; }
    Color penColor = kBlack;
    Color brushColor = kWhite;
    bool filled = false;
};

class RadioGroup : public Control {
public:
    RadioGroup(std::string name, Control* parent) : Control(Kind::kRadioGroup, std::move(name), parent) {}
    std::vector<std::string> items;
    int columns = 1;
    int itemIndex() const { return itemIndex_; }
    // An index above the last item selects the last one; one below -1 is -1
    // (no selection).
    void SetItemIndex(int index);
    // A person chooses the item: selected, and the group's click handler told.
    void Choose(int index);

private:
    int itemIndex_ = -1;
};

class CheckBox : public Control {
public:
    CheckBox(std::string name, Control* parent) : Control(Kind::kCheckBox, std::move(name), parent) {}
    bool checked() const { return checked_; }
    void SetChecked(bool c);

private:
    bool checked_ = false;
};

class DropDownList : public Control {
public:
    DropDownList(std::string name, Control* parent) : Control(Kind::kDropDownList, std::move(name), parent) {}
    bool withEditField = false;            // a box the user can also type into
    static constexpr int kItemHeight = 16; // of the design
    int itemHeight = kItemHeight;
    const std::vector<std::string>& items() const { return items_; }
    void SetItems(std::vector<std::string> items); // clears the selection
    int itemIndex() const { return itemIndex_; }
    // Any index outside the items leaves the box without a selection.
    void SetItemIndex(int index);
    std::string SelectedText() const;
    // What the edit field shows: the selected item, or what the user typed,
    // which selects the item it equals, and none when it equals none.
    const std::string& text() const { return text_; }
    void SetText(const std::string& text);

private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    std::string text_;
};

class Edit : public Control {
public:
    Edit(std::string name, Control* parent, Kind kind = Kind::kEdit) : Control(kind, std::move(name), parent) {}
    char passwordChar = 0;
    bool border = true;
    bool verticalScrollBar = false;
    bool readOnly = false;
};

class Memo : public Edit {
public:
    Memo(std::string name, Control* parent) : Edit(std::move(name), parent, Kind::kMemo) {}
};

class Button : public Control {
public:
    Button(std::string name, Control* parent) : Control(Kind::kButton, std::move(name), parent) {}
    int modalResult = 0; // a click closes a modal form with this result
};

inline constexpr int kModalCancel = 2;

class Timer : public Control {
public:
    Timer(std::string name, Control* parent) : Control(Kind::kTimer, std::move(name), parent) { visible_ = false; }
    unsigned interval = 1000;
    std::function<void()> onTimer;
};

enum class CloseAction { kHide, kFree, kMinimize, kNone };

class Form : public Control {
public:
    Form(std::string name, Application& app);
    ~Form() override;
    Application& app() const { return app_; }

    int clientWidth = 0, clientHeight = 0;
    bool captionButtons = true; // system menu and caption-bar buttons
    bool fixedFrame = true;
    bool centred = true;
    unsigned alpha = 255;
    std::string iconResource; // the icon of the program's resources
    // The picture the client area is tiled with, from its top-left corner,
    // wherever no control covers it; none: the form's colour. A form that
    // changes it announces the change with Changed().
    virtual std::shared_ptr<const Picture> Background() const { return nullptr; }

    std::function<void()> onCreate;
    std::function<void(CloseAction&)> onClose;

    // The dots per inch of the display the window is on: every position,
    // size and font height of its controls is its design's, scaled by it.
    int dpi() const { return dpi_; }
    Scale scale() const { return Scale{dpi_}; }
    // The window is on a display of another scale: every control is laid
    // out again (by `layOut`, which the window's builder gives).
    void SetDpi(int dpi);
    std::function<void()> layOut;

    // Runs onCreate inside the error guard, then realises the window. Its
    // timers start then, once the creation handler has returned: a tick
    // inside the start-up (in a wait of its stop-all) would run the status
    // poll on a window that is not yet shown and whose servers' controls the
    // start-up has not yet set, and what such a poll writes to run.ini the
    // stop-all writes over when it ends; the program runs the first poll
    // itself as soon as the window shows.
    void Create();
    void Show();
    void Hide();
    // Shows the form modally and returns its modal result once it closes.
    int ShowModal();
    // Asks the form to close: runs onClose; a modal form ends its modal run.
    void Close();
    // The user's session ends: the close runs now, also when one is already
    // under way (a close that waits for a command inside it would never get
    // to its end), and is done when this returns, for the system may end
    // the process at once.
    void EndSession();
    bool sessionEnding() const { return sessionEnding_; }
    // What the system shows, while the session waits for that close, as the
    // reason for the wait.
    std::string closingReason;
    void Minimize();
    bool modal = false;
    int modalResult = 0;

    // The order in which Tab moves the keyboard focus through the controls;
    // a form without one takes no keys of its own.
    std::vector<Control*> tabOrder;
    // The control after (backwards: before) `from` in the tab order that can
    // take the focus: of a kind that takes it, shown and enabled with its
    // parents, as Tab skips the others; round the end of the order. Without
    // `from`, the first (last) one; nullptr when none can.
    Control* NextTabStop(const Control* from, bool backwards = false) const;
    // The control of this form with the keyboard focus; nullptr for none (or
    // the form itself).
    Control* FocusedControl();
    void Focus(Control& control);
    // The focus is marked once the keyboard has been used in the form, and
    // hidden before, as the system does for a window used by mouse.
    bool focusShown() const { return focusShown_; }
    void ShowFocus();

    // Every control of the form by name, nested ones included.
    Control* Find(const std::string& name);
    const std::vector<std::unique_ptr<Control>>& owned() const { return owned_; }

    // Makes a control of the form, owned by it.
    template <class T, class... Args> T* Make(Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = control.get();
        owned_.push_back(std::move(control));
        return raw;
    }

private:
    Application& app_;
    std::vector<std::unique_ptr<Control>> owned_;
    int dpi_ = 96;
    bool focusShown_ = false;
    bool sessionEnding_ = false;
};

} // namespace vrk::ui
