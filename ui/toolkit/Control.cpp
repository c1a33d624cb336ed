#include "Control.h"

#include <algorithm>

#include "Application.h"
#include "Error.h"

namespace vrk::ui {

const char* KindName(Kind kind) {
    switch (kind) {
    case Kind::kForm: return "form";
    case Kind::kLabel: return "label";
    case Kind::kImage: return "image";
    case Kind::kAnimatedImage: return "animated image";
    case Kind::kPanel: return "panel";
    case Kind::kShape: return "shape";
    case Kind::kRadioGroup: return "radio group";
    case Kind::kCheckBox: return "check box";
    case Kind::kDropDownList: return "drop-down list";
    case Kind::kEdit: return "edit";
    case Kind::kMemo: return "memo";
    case Kind::kButton: return "button";
    case Kind::kTimer: return "timer";
    }
    return "control";
}

Control::Control(Kind k, std::string n, Control* parent) : kind(k), name(std::move(n)), parent_(parent) {
    if (parent_) {
        parent_->children_.push_back(this);
        font_ = parent_->font_;
    }
}

Control::~Control() {
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

Form* Control::form() {
    Control* c = this;
    while (c->parent_) c = c->parent_;
    return c->kind == Kind::kForm ? static_cast<Form*>(c) : nullptr;
}

Application* Control::application() {
    Form* f = form();
    return f ? &f->app() : nullptr;
}

void Control::Changed() {
    if (native) application()->backend().Update(*this);
}

void Control::SetBounds(Rect r) {
    if (bounds_ == r) return;
    bounds_ = r;
    Changed();
}

void Control::SetVisible(bool v) {
    if (visible_ == v) return;
    Control* focused = v ? nullptr : FocusedWithin();
    visible_ = v;
    Changed();
    if (focused) PassFocusOn(*focused);
}

void Control::SetEnabled(bool e) {
    if (enabled_ == e) return;
    Control* focused = e ? nullptr : FocusedWithin();
    enabled_ = e;
    Changed();
    if (focused) PassFocusOn(*focused);
}

Control* Control::FocusedWithin() {
    Form* f = native ? form() : nullptr;
    Control* focused = f ? f->FocusedControl() : nullptr;
    for (const Control* c = focused; c; c = c->parent_)
        if (c == this) return focused;
    return nullptr;
}

void Control::PassFocusOn(Control& lost) {
    // The keyboard must not be left without a place: a handler that disables
    // the focused link, or hides its panel, sends the focus on in the order.
    if (lost.Reachable()) return;
    Form* f = form();
    Control* next = f->NextTabStop(&lost);
    f->Focus(next ? *next : *f);
}

bool Control::TakesFocus() const {
    switch (kind) {
    case Kind::kCheckBox:
    case Kind::kDropDownList:
    case Kind::kEdit:
    case Kind::kMemo:
    case Kind::kButton:
    case Kind::kRadioGroup: return true;
    case Kind::kImage: return static_cast<bool>(onClick);
    default: return false;
    }
}

Control* Control::FocusStop() {
    if (TakesFocus()) return this;
    // A label that acts is one stop with the image named after it.
    if (kind == Kind::kLabel && onClick)
        for (Control* image : named_)
            if (image->TakesFocus()) return image;
    return nullptr;
}

bool Control::FocusMarked() {
    Form* f = form();
    if (!f || !f->focusShown()) return false;
    Control* focused = f->FocusedControl();
    return focused && focused == FocusStop();
}

bool Control::Reachable() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_ || !c->enabled_) return false;
    return true;
}

bool Control::Showing() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

void Control::SetCaption(const std::string& c) {
    if (caption_ == c) return;
    caption_ = c;
    Changed();
    for (Control* image : named_) image->Rename();
}

void Control::NameAfter(std::vector<Control*> labels) {
    for (Control* label : labels)
        if (std::find(label->named_.begin(), label->named_.end(), this) == label->named_.end())
            label->named_.push_back(this);
    nameSources_ = std::move(labels);
    Rename();
}

void Control::SetSubject(const std::string& subject) {
    subject_ = subject;
    Rename();
}

void Control::Rename() {
    std::string name;
    for (const Control* label : nameSources_) name += (name.empty() ? "" : ", ") + label->caption();
    if (!subject_.empty()) name += (name.empty() ? "" : ", ") + subject_;
    SetCaption(name);
}

void Control::SetFont(const Font& f) {
    if (font_ == f) return;
    font_ = f;
    Changed();
}

void Control::SetColor(Color c) {
    if (color_ == c) return;
    color_ = c;
    Changed();
}

void Control::SetTransparent(bool t) {
    if (transparent_ == t) return;
    transparent_ = t;
    Changed();
}

Cursor Control::EffectiveCursor() const {
    for (const Control* c = this; c; c = c->parent_)
        if (c->cursor_ != Cursor::kParent) return c->cursor_;
    return Cursor::kArrow;
}

void Image::LoadFromFile(const std::string& path) {
    Application* app = application();
    std::shared_ptr<const Picture> loaded;
    try {
        loaded = LoadPicture(app->os(), path);
    } catch (const Error& e) {
        throw Error(e.what(), path);
    }
    app->SourceRecovered(path);
    SetPicture(std::move(loaded), path);
}

void Image::LoadFromResource(const std::string& name) {
    const std::string bytes = application()->backend().ResourceBytes(name);
    if (bytes.empty()) return;
    // The program embeds icons and JPEG pictures; a JPEG starts FF D8.
    const bool jpeg = bytes.size() > 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                      static_cast<unsigned char>(bytes[1]) == 0xD8;
    SetPicture(jpeg ? DecodeJpeg(bytes) : DecodeIcon(bytes, false), "resource:" + name);
}

void Image::SetPicture(std::shared_ptr<const Picture> picture, const std::string& path) {
    // Pictures are read afresh on every load; an unchanged file on show is
    // not drawn again.
    const bool same = picture_ && picture && pictureFile_ == path && picture_->bytes == picture->bytes &&
                      picture_->kind == picture->kind && picture_->frames.size() == picture->frames.size() &&
                      picture_->kind != Picture::Kind::kJpeg;
    picture_ = std::move(picture);
    pictureFile_ = path;
    if (!same) Changed();
}

void RadioGroup::Choose(int index) {
    if (index == itemIndex_) return;
    SetItemIndex(index);
    if (onClick)
        if (Application* app = application()) app->Guard(onClick, Origin::kUser);
}

void RadioGroup::SetItemIndex(int index) {
    const int last = static_cast<int>(items.size()) - 1;
    if (index > last) index = last;
    if (index < -1) index = -1;
    if (itemIndex_ == index) return;
    itemIndex_ = index;
    Changed();
}

void CheckBox::SetChecked(bool c) {
    if (checked_ == c) return;
    checked_ = c;
    Changed();
}

void DropDownList::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    itemIndex_ = -1;
    text_.clear();
    Changed();
}

void DropDownList::SetItemIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
    if (itemIndex_ == index && text_ == SelectedText()) return;
    itemIndex_ = index;
    text_ = SelectedText();
    Changed();
}

void DropDownList::SetText(const std::string& text) {
    const auto it = std::find(items_.begin(), items_.end(), text);
    const int index = it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    if (text_ == text && itemIndex_ == index) return;
    text_ = text;
    itemIndex_ = index;
    Changed();
}

std::string DropDownList::SelectedText() const { return itemIndex_ >= 0 ? items_[itemIndex_] : std::string(); }

Form::Form(std::string n, Application& app) : Control(Kind::kForm, std::move(n), nullptr), app_(app) {
    visible_ = false;
}

Form::~Form() {
    if (native) app_.backend().Destroy(*this);
    // Children first, while their parents still exist.
    while (!owned_.empty()) owned_.pop_back();
}

Control* Form::Find(const std::string& wanted) {
    if (wanted == name) return this;
    for (const auto& c : owned_)
        if (c->name == wanted) return c.get();
    return nullptr;
}

void Form::Create() {
    app_.Guard(onCreate);
    app_.backend().Realize(*this);
}

void Form::Show() {
    visible_ = true;
    app_.backend().ShowForm(*this, true);
}

void Form::Hide() {
    visible_ = false;
    app_.backend().ShowForm(*this, false);
}

int Form::ShowModal() {
    modal = true;
    modalResult = 0;
    Show();
    app_.backend().RunModal(*this);
    return modalResult;
}

void Form::Close() {
    CloseAction action = modal ? CloseAction::kHide : CloseAction::kFree;
    if (onClose) app_.Guard([&] { onClose(action); }, Origin::kUser);
    if (modal) {
        modal = false;
        if (!modalResult) modalResult = kModalCancel;
        // The windows it kept from input get it back before it goes: hidden
        // while they were still disabled, it would leave the activation to
        // another program's window, and the panel behind that.
        app_.backend().EndModal(*this);
        Hide();
    }
}

void Form::EndSession() {
    sessionEnding_ = true;
    Close();
}

void Form::SetDpi(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    dpi_ = dpi;
    if (layOut) layOut();
}

void Form::Minimize() { app_.backend().MinimizeForm(*this); }

Control* Form::NextTabStop(const Control* from, bool backwards) const {
    const int count = static_cast<int>(tabOrder.size());
    const auto found = std::find(tabOrder.begin(), tabOrder.end(), from);
    const int at = found == tabOrder.end() ? (backwards ? count : -1) : static_cast<int>(found - tabOrder.begin());
    for (int step = 1; step <= count; ++step) {
        Control* control = tabOrder[((at + (backwards ? -step : step)) % count + count) % count];
        if (control->TakesFocus() && control->Reachable()) return control;
    }
    return nullptr;
}

Control* Form::FocusedControl() {
    Control* focused = native ? app_.backend().FocusedControl() : nullptr;
    return focused && focused != this && focused->form() == this ? focused : nullptr;
}

void Form::Focus(Control& control) { app_.backend().Focus(control); }

void Form::ShowFocus() {
    if (focusShown_) return;
    focusShown_ = true;
    // What has the focus now shows its mark: the stop, and its label.
    if (Control* focused = FocusedControl()) {
        focused->Changed();
        for (Control* label : focused->nameSources())
            if (label->FocusMarked()) label->Changed();
    }
}

} // namespace vrk::ui
