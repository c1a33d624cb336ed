#pragma once
// A window definition as data, as a form designer's file holds it: the
// window's own properties, then one row per control with its kind (the type
// of its field), parent, position and size, look, font, colour, cursor,
// picture, caption and click handler. One builder makes the controls from
// the rows, in their order: a parent before its controls, and each control
// above those before it. Positions, sizes and font heights are in the
// definition's units, pixels at 96 dots per inch, scaled by the builder to
// the display's.
#include <array>
#include <functional>
#include <span>
#include <stdexcept>
#include <type_traits>
#include <variant>

#include "Application.h"
#include "Control.h"

namespace vrk::ui {

// The field of a control in its window's class; its type is the control's kind.
template <class F> using Field =
    std::variant<Label * F::*, Image * F::*, AnimatedImage * F::*, Panel * F::*, Shape * F::*, RadioGroup * F::*,
                 CheckBox * F::*, DropDownList * F::*, Edit * F::*, Memo * F::*, Button * F::*, Timer * F::*>;

// A font of the definition; without a name, the control keeps its parent's.
struct FontDef {
    constexpr FontDef() = default;
    constexpr FontDef(const char* name, int height, Color color = kColorWindowText, unsigned style = 0)
        : name(name), height(height), color(color), style(style) {}
    const char* name = nullptr;
    int height = 0; // character height in pixels
    Color color = kColorWindowText;
    unsigned style = 0;
};
inline constexpr unsigned kBold = 1, kItalic = 2, kUnderline = 4, kFixedPitch = 8;

// Properties that are on or off; what a row leaves out is off.
enum Look : unsigned {
    kHidden = 1u << 0,
    kDisabled = 1u << 1,
    kTransparent = 1u << 2,
    kCentred = 1u << 3,      // text centred
    kRightAligned = 1u << 4, // text at the right
    kMiddle = 1u << 5,       // text centred from top to bottom
    kWordWrap = 1u << 6,
    kAutoSize = 1u << 7, // the width follows the caption
    kNoBorder = 1u << 8,
    kScrollBar = 1u << 9, // a memo's vertical scroll bar
    kReadOnly = 1u << 10,
    kPassword = 1u << 11,  // an edit shows "*" for each character
    kEditField = 1u << 12, // a drop-down list the user can also type into
    kRaisedBevel = 1u << 13,
    kFilled = 1u << 14, // a shape filled with its brush colour
};

// Where a caption comes from.
// Those from the language file, and those the program sets (a start/stop
// word), hold the control's name as a placeholder until they are set.
struct CaptionDef {
    enum Kind : int;
    constexpr CaptionDef() = default;
    constexpr CaptionDef(Kind kind, const char* text = nullptr, const char* key = nullptr, const char* key2 = nullptr)
        : kind(kind), text(text), key(key), key2(key2) {}
    enum Kind : int {
        kNone,         // empty
        kText,         // fixed
        kProgram,      // set by the program
        kLanguage,     // [section] key of the language file
        kLanguagePair, // [section] key, a blank, [section] key2
        kTitle,        // the window's title: the product, [section] key and the version
    } kind = kNone;
    const char* text = nullptr; // fixed text, or the section
    const char* key = nullptr;
    const char* key2 = nullptr;
};
constexpr CaptionDef Text(const char* text) { return {CaptionDef::kText, text}; }
constexpr CaptionDef SetByProgram() { return {CaptionDef::kProgram}; }
constexpr CaptionDef Language(const char* section, const char* key) { return {CaptionDef::kLanguage, section, key}; }
constexpr CaptionDef LanguagePair(const char* section, const char* key, const char* key2) {
    return {CaptionDef::kLanguagePair, section, key, key2};
}
constexpr CaptionDef Title(const char* section, const char* key) { return {CaptionDef::kTitle, section, key}; }

// No colour of its own: the control keeps what its kind starts with.
inline constexpr Color kNoColor = 0xFFFFFFFFu;

template <class F> struct ControlDef {
    Field<F> field;
    const char* name;
    Panel* F::*parent = nullptr; // none: the window itself
    Rect at{};
    unsigned look = 0;
    FontDef font{};
    Color color = kNoColor; // background; a shape's pen
    Cursor cursor = Cursor::kParent;
    // A skin file the program loads into it ("\\home.ico"), or a picture
    // embedded in the program ("=WELCOMELOGO").
    const char* picture = nullptr;
    CaptionDef caption{};
    void (F::*click)() = nullptr; // a timer: what each tick runs
    std::array<const char*, 3> items{};
    // An image that acts: the labels it is named after, for screen readers,
    // and what it acts on where they do not say it (the server of a "Start"
    // or of an administration link), from the language file.
    std::array<Label * F::*, 3> namedAfter{};
    CaptionDef subject{};
    int columns = 1;
    int selected = -1;
    unsigned interval = 0;
    int modalResult = 0;
};

// The window's own properties.
struct FormDef {
    const char* caption;
    int clientWidth, clientHeight;
    bool captionButtons;
    bool centred;
    const char* icon; // an icon of the program's resources
    Color color;
    FontDef font{};
    Cursor cursor = Cursor::kParent;
};

template <class F> Control* ControlOf(F& form, const ControlDef<F>& row) {
    return std::visit([&](auto member) -> Control* { return form.*member; }, row.field);
}

// The row that defines a control.
template <class F> const ControlDef<F>& RowOf(std::span<const ControlDef<F>> rows, const Control& control) {
    for (const ControlDef<F>& row : rows)
        if (control.name == row.name) return row;
    throw std::logic_error("no row defines " + control.name);
}

// What the builder does with a row's parts (Definition.cpp).
void ApplyFormDef(Form& form, const FormDef& def);
// The look flags, colour and cursor, and what only some kinds have.
void ApplyLook(Control& control, unsigned look, Color color, Cursor cursor);
// The window's client size and font at its scale.
void LayOutForm(Form& form, const FormDef& def);
// A control's place, size and font (its own, or its parent's) at its
// window's scale.
void LayOutControl(Control& control, const Rect& at, const FontDef& font);
// The caption a control starts with.
std::string FirstCaption(const CaptionDef& caption, const char* name);
std::vector<std::string> Items(const std::array<const char*, 3>& items);
// An embedded picture ("=NAME") is set at once; a skin file is loaded by the
// program when it loads the skin.
void LoadEmbeddedPicture(Image& image, const char* picture);

// What the captions of the language are made of: the text of [section] key
// of the language file, and what a title puts around its text.
struct CaptionTexts {
    std::function<std::string(const char* section, const char* key)> text;
    std::string product, version;
};
// A row's caption and subject from the language, as its CaptionDefs say;
// a fixed caption, or one the program sets, stays as it is.
void ApplyCaption(Control& control, const CaptionDef& caption, const CaptionDef& subject, const CaptionTexts& texts);

// The one pass of a window's captions over its rows, as the language has
// them: at the start, and whenever the language is read again.
template <class F> void ApplyCaptions(F& form, std::span<const ControlDef<F>> rows, const CaptionTexts& texts) {
    for (const ControlDef<F>& row : rows) ApplyCaption(*ControlOf(form, row), row.caption, row.subject, texts);
}

// Every position, size and font height of the window at its scale, in the
// order of the rows: a parent's font before the controls that keep it.
template <class F> void LayOut(F& form, const FormDef& def, std::span<const ControlDef<F>> rows) {
    LayOutForm(form, def);
    for (const ControlDef<F>& row : rows) {
        Control* control = ControlOf(form, row);
        if (control->kind != Kind::kTimer) LayOutControl(*control, row.at, row.font);
    }
}

// Makes the window's controls from the rows, laid out at the scale of the
// display the window will appear on, and again whenever the window moves to
// a display of another scale. The rows outlive the window (they are static).
template <class F>
void Build(F& form, const FormDef& def, std::span<const ControlDef<F>> rows, std::span<const Field<F>> tabOrder = {}) {
    ApplyFormDef(form, def);
    form.SetDpi(form.app().backend().Dpi());
    for (const ControlDef<F>& row : rows) {
        Control* parent = row.parent ? static_cast<Control*>(form.*row.parent) : &form;
        Control* made = std::visit(
            [&](auto member) -> Control* {
                using T = std::remove_pointer_t<std::remove_reference_t<decltype(form.*member)>>;
                T* control = form.template Make<T>(row.name, parent);
                form.*member = control;
                return control;
            },
            row.field);
        ApplyLook(*made, row.look, row.color, row.cursor);
        made->SetCaption(FirstCaption(row.caption, row.name));
        if (auto* image = dynamic_cast<Image*>(made); image && row.picture) LoadEmbeddedPicture(*image, row.picture);
        if (auto* group = dynamic_cast<RadioGroup*>(made)) {
            group->items = Items(row.items);
            group->columns = row.columns;
            group->SetItemIndex(row.selected);
        }
        if (auto* list = dynamic_cast<DropDownList*>(made)) list->SetItems(Items(row.items));
        if (auto* button = dynamic_cast<Button*>(made)) button->modalResult = row.modalResult;
        if (auto* timer = dynamic_cast<Timer*>(made)) timer->interval = row.interval;
        if (row.click) {
            auto handler = [&form, click = row.click] { (form.*click)(); };
            if (auto* timer = dynamic_cast<Timer*>(made))
                timer->onTimer = handler;
            else
                made->onClick = handler;
        }
    }
    // What refers to other controls, once they all exist.
    for (const ControlDef<F>& row : rows) {
        std::vector<Control*> labels;
        for (Label* F::*label : row.namedAfter)
            if (label) labels.push_back(form.*label);
        if (!labels.empty()) ControlOf(form, row)->NameAfter(std::move(labels));
    }
    for (const Field<F>& field : tabOrder)
        form.tabOrder.push_back(std::visit([&](auto member) -> Control* { return form.*member; }, field));
    LayOut(form, def, rows);
    form.layOut = [&form, def, rows] { LayOut(form, def, rows); };
}

} // namespace vrk::ui
