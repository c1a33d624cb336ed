#pragma once
// Plain values the controls are described with.
#include <cstdint>
#include <string>

namespace vrk::ui {

// 0x00RRGGBB, or a system colour: kSystemColor | the system's colour index.
using Color = std::uint32_t;
inline constexpr Color kSystemColor = 0xFF000000u;
inline constexpr Color kColorWindowText = kSystemColor | 8; // COLOR_WINDOWTEXT
inline constexpr Color kColor3DLight = kSystemColor | 22;   // COLOR_3DLIGHT
inline constexpr Color kColorInfoText = kSystemColor | 23;  // COLOR_INFOTEXT
inline constexpr Color kColorBtnFace = kSystemColor | 15;   // COLOR_BTNFACE
inline constexpr Color kColorWindow = kSystemColor | 5;     // COLOR_WINDOW
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kCream = 0xFFFBF0;
inline constexpr Color kGrayText = 0x808080;

// A colour of a window definition: a decimal number whose bytes read blue,
// green, red from high to low.
constexpr Color FromBgr(std::uint32_t bgr) { return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF); }

struct Font {
    std::string name = "MS Sans Serif";
    int height = 11; // character height in pixels
    bool bold = false;
    bool italic = false;
    bool underline = false;
    Color color = kColorWindowText;
    bool fixedPitch = false;
    bool operator==(const Font&) const = default;
};

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// Which of the application's two cursor slots a control shows (the skin
// replaces both), or the system's own arrow; kParent shows its parent's
// cursor.
enum class Cursor { kParent, kArrow, kHand, kSystemArrow };

enum class Align { kLeft, kCentre, kRight };

enum class Kind {
    kForm,
    kLabel,
    kImage,
    kAnimatedImage,
    kPanel,
    kShape,
    kRadioGroup,
    kCheckBox,
    kDropDownList,
    kEdit,
    kMemo,
    kButton,
    kTimer,
};

const char* KindName(Kind kind);

} // namespace vrk::ui
