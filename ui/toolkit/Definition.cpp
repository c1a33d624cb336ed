#include "Definition.h"

namespace vrk::ui {

namespace {

Font ToFont(const FontDef& def, const Scale& scale) {
    Font font;
    font.name = def.name;
    font.height = scale(def.height);
    font.color = def.color;
    font.bold = def.style & kBold;
    font.italic = def.style & kItalic;
    font.underline = def.style & kUnderline;
    font.fixedPitch = def.style & kFixedPitch;
    return font;
}

} // namespace

void ApplyFormDef(Form& form, const FormDef& def) {
    form.SetCaption(def.caption);
    form.captionButtons = def.captionButtons;
    form.fixedFrame = true;
    form.centred = def.centred;
    form.iconResource = def.icon;
    form.SetColor(def.color);
    form.SetCursor(def.cursor);
}

void LayOutForm(Form& form, const FormDef& def) {
    const Scale scale = form.scale();
    form.clientWidth = scale(def.clientWidth);
    form.clientHeight = scale(def.clientHeight);
    form.SetBounds({0, 0, form.clientWidth, form.clientHeight});
    form.SetFont(ToFont(def.font, scale));
}

void LayOutControl(Control& control, const Rect& at, const FontDef& font) {
    const Scale scale = control.form()->scale();
    if (font.name)
        control.SetFont(ToFont(font, scale));
    else if (control.parent())
        control.SetFont(control.parent()->font());
    control.SetBounds(scale(at));
    if (auto* list = dynamic_cast<DropDownList*>(&control)) list->itemHeight = scale(DropDownList::kItemHeight);
}

void ApplyLook(Control& control, unsigned look, Color color, Cursor cursor) {
    if (look & kHidden) control.SetVisible(false);
    if (look & kDisabled) control.SetEnabled(false);
    if (look & kTransparent) control.SetTransparent(true);
    if (look & kCentred) control.alignment = Align::kCentre;
    if (look & kRightAligned) control.alignment = Align::kRight;
    control.centreVertically = look & kMiddle;
    control.wordWrap = look & kWordWrap;
    control.autoSize = look & kAutoSize;
    if (auto* edit = dynamic_cast<Edit*>(&control)) {
        edit->border = !(look & kNoBorder);
        edit->verticalScrollBar = look & kScrollBar;
        edit->readOnly = look & kReadOnly;
        if (look & kPassword) edit->passwordChar = '*';
    }
    if (auto* list = dynamic_cast<DropDownList*>(&control)) list->withEditField = look & kEditField;
    if (auto* panel = dynamic_cast<Panel*>(&control)) panel->raisedBevel = look & kRaisedBevel;
    auto* shape = dynamic_cast<Shape*>(&control);
    if (shape) shape->filled = look & kFilled;

    if (color != kNoColor) {
        if (shape)
            shape->penColor = color;
        else
            control.SetColor(color);
    }
    if (cursor != Cursor::kParent) control.SetCursor(cursor);
}

std::string FirstCaption(const CaptionDef& caption, const char* name) {
    switch (caption.kind) {
    case CaptionDef::kNone: return {};
    case CaptionDef::kText: return caption.text;
    default: return name;
    }
}

std::vector<std::string> Items(const std::array<const char*, 3>& items) {
    std::vector<std::string> out;
    for (const char* item : items)
        if (item) out.emplace_back(item);
    return out;
}

void ApplyCaption(Control& control, const CaptionDef& caption, const CaptionDef& subject, const CaptionTexts& texts) {
    auto text = [&](const char* key) { return texts.text(caption.text, key); };
    switch (caption.kind) {
    case CaptionDef::kLanguage: control.SetCaption(text(caption.key)); break;
    case CaptionDef::kLanguagePair: control.SetCaption(text(caption.key) + " " + text(caption.key2)); break;
    case CaptionDef::kTitle: control.SetCaption(texts.product + " - " + text(caption.key) + " " + texts.version); break;
    case CaptionDef::kNone:
    case CaptionDef::kText:
    case CaptionDef::kProgram: break;
    }
    if (subject.kind == CaptionDef::kLanguage) control.SetSubject(texts.text(subject.text, subject.key));
}

void LoadEmbeddedPicture(Image& image, const char* picture) {
    if (picture[0] == '=') image.LoadFromResource(picture + 1);
}

} // namespace vrk::ui
