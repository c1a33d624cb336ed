#include "Definition.h"

namespace vrk::ui {

namespace {

Font ToFont(const FontDef& def) {
    Font font;
    font.name = def.name;
    font.height = def.height;
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
    form.clientWidth = def.clientWidth;
    form.clientHeight = def.clientHeight;
    form.SetBounds({0, 0, def.clientWidth, def.clientHeight});
    form.captionButtons = def.captionButtons;
    form.fixedFrame = true;
    form.centred = def.centred;
    form.iconResource = def.icon;
    form.SetColor(def.color);
    form.SetFont(ToFont(def.font));
    form.SetCursor(def.cursor);
}

void ApplyLook(Control& control, unsigned look, const FontDef& font, Color color, Cursor cursor) {
    if (look & kHidden) control.SetVisible(false);
    if (look & kDisabled) control.SetEnabled(false);
    if (look & kTransparent) control.SetTransparent(true);
    if (look & kCentred) control.alignment = Align::kCenter;
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

    if (font.name) control.SetFont(ToFont(font));
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

void LoadEmbeddedPicture(Image& image, const char* picture) {
    if (picture[0] == '=') image.LoadFromResource(picture + 1);
}

} // namespace vrk::ui
