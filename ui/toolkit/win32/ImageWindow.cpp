// An image: its picture at its natural size, scaled as the window is, from
// the top-left corner, over what lies behind it. An icon shows the image of
// its file made for that size, drawn by the system; a file without one has
// the nearest image scaled smoothly, as are JPEG and GIF frames.
// An animated image plays its frames on a timer of its own while it can be
// seen, with its own copy of the frames.
#include <algorithm>
#include <vector>

#include "TestHooks.h"
#include "Paint.h"
#include "Win32Backend.h"
#include "Window.h"

namespace vrk::ui::win32 {
namespace {

constexpr UINT_PTR kFrameTimer = 1;

class ImageWindow : public Window {
public:
    ImageWindow(Win32Backend& backend, Image& image) : Window(backend, image), image_(image) {}
    ~ImageWindow() override { Release(); }

    void Create(HWND parent) override {
        CreateOwn(image_.kind == Kind::kAnimatedImage ? L"VrkAnimatedImage" : L"VrkImage", parent,
                  WS_CHILD | WS_CLIPSIBLINGS);
        Load();
        ShowingChanged();
    }

    void Apply() override {
        if (image_.picture() != shown_) {
            Load();
            ShowingChanged();
        } else if (prepared_ && preparedDpi_ != scale().dpi) {
            Release(); // the window has moved to a display of another scale
            prepared_ = false;
        }
        ApplyCommon();
        Invalidate();
    }

    // Around and under its picture the parent shows, as for any image.
    bool SeeThrough() const override { return true; }

    void Paint(HDC dc, const RECT& client) override {
        PaintBackdrop(dc, client);
        PaintContent(dc, client);
    }

    void PaintContent(HDC dc, const RECT& client) override {
        Prepare();
        // A disabled image shows its picture as it is: the skin has its own
        // pictures for links that are not available.
        if (icon_) {
            DrawIconEx(dc, 0, 0, icon_.get(), iconWidth_, iconHeight_, 0, nullptr, DI_NORMAL);
        } else if (!frames_.empty()) {
            const std::size_t frame = Animated() ? frame_ % frames_.size() : 0;
            frames_[frame].Draw(dc, 0, 0, shown_->kind != Picture::Kind::kJpeg);
        }
        // Around the picture, over the margin the skin's icons leave.
        if (image_.FocusMarked()) DrawFocusMark(dc, client);
    }

    void ShowingChanged() override {
        const bool play = Animated() && image_.Showing();
        if (play && !playing_) {
            playing_ = true;
            SetTimer(hwnd, kFrameTimer, Delay(), nullptr);
        } else if (!play && playing_) {
            playing_ = false;
            KillTimer(hwnd, kFrameTimer);
        }
    }

    void Tick(UINT_PTR id) override {
        if (id != kFrameTimer || !playing_ || !shown_ || shown_->frames.empty()) return;
        frame_ = (frame_ + 1) % shown_->frames.size();
        static_cast<AnimatedImage&>(image_).frame = frame_;
        // Every frame has its own delay.
        SetTimer(hwnd, kFrameTimer, Delay(), nullptr);
        InvalidateRect(hwnd, nullptr, FALSE);
    }

private:
    bool Animated() const {
        return image_.kind == Kind::kAnimatedImage && static_cast<const AnimatedImage&>(image_).animate && shown_ &&
               shown_->frames.size() > 1;
    }

    UINT Delay() const {
        const int delay = shown_ && frame_ < shown_->frames.size() ? shown_->frames[frame_].delayMs : 100;
        return static_cast<UINT>(delay > 10 ? delay : 10);
    }

    void Release() {
        icon_.reset();
        frames_.clear();
    }

    // Takes the control's picture.
    void Load() {
        Release();
        shown_ = image_.picture();
        prepared_ = false;
        frame_ = 0;
        if (image_.kind == Kind::kAnimatedImage) static_cast<AnimatedImage&>(image_).frame = 0;
        SetPictureProperty(image_.pictureFile());
    }

    // Makes what the picture is drawn with, when it is first drawn: a
    // picture that is never seen (a hidden indicator) costs nothing.
    // A picture that cannot be made (no memory for it) shows nothing, and is
    // not tried again until it changes or the scale does.
    void Prepare() {
        if (prepared_ || !shown_) return;
        prepared_ = true;
        const Scale scale = this->scale();
        preparedDpi_ = scale.dpi;
        try {
            switch (shown_->kind) {
            case Picture::Kind::kIcon:
            case Picture::Kind::kCursor: PrepareIcon(scale); break;
            case Picture::Kind::kJpeg:
            case Picture::Kind::kGif:
                // Frames that would not all fit the pixel limit at the scale
                // are drawn at their own size.
                PrepareFrames(FitsAtScale(*shown_, scale.dpi) ? scale : Scale{});
                break;
            }
        } catch (...) {
            Release();
            throw;
        }
    }

    void PrepareFrames(const Scale& scale) {
        const Alpha alpha = shown_->kind == Picture::Kind::kGif ? Alpha::kStraight : Alpha::kNone;
        frames_.reserve(shown_->frames.size());
        for (const Frame& frame : shown_->frames)
            frames_.emplace_back(frame, alpha, scale(frame.width), scale(frame.height));
    }

    void PrepareIcon(const Scale& scale) {
        // The image the design shows in a control of this size, and its size
        // at this scale.
        const Rect& b = image_.bounds();
        const int designSide = b.width && b.height ? std::max(1, scale.Design(std::min(b.width, b.height))) : 32;
        const IconImage* design = BestIconImage(*shown_, designSide);
        if (!design) return;
        const int width = scale(design->width), height = scale(design->height);
        const IconImage* best = BestIconImage(*shown_, std::max(width, height));
        if (best->width == width && best->height == height) {
            // The file has an image made for this size: the system draws it.
            icon_.reset(MakeIcon(*shown_, *best));
            iconWidth_ = width;
            iconHeight_ = height;
            return;
        }
        // Otherwise the nearest bigger one (or the biggest), scaled smoothly.
        const OwnedIcon source(MakeIcon(*shown_, *best));
        if (source)
            frames_.emplace_back(IconFrame(source.get(), best->width, best->height), Alpha::kPremultiplied, width,
                                 height);
    }

    Image& image_;
    std::shared_ptr<const Picture> shown_;
    OwnedIcon icon_;
    int iconWidth_ = 0, iconHeight_ = 0;
    std::vector<Bitmap> frames_;
    std::size_t frame_ = 0;
    bool prepared_ = false;
    int preparedDpi_ = 0;
    bool playing_ = false;
};

} // namespace

std::unique_ptr<Window> MakeImageWindow(Win32Backend& backend, Image& image) {
    return std::make_unique<ImageWindow>(backend, image);
}

} // namespace vrk::ui::win32
