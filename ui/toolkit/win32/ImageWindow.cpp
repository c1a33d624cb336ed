// An image: its picture at its natural size from the top-left corner, over
// what lies behind it. Icons go through the system's icon drawing (the image
// of the file that best fits the control); JPEG and GIF frames are bitmaps.
// An animated image plays its frames on a timer of its own while it can be
// seen, with its own copy of the frames.
#include <vector>

#include "ObjectCount.h"
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
        CreateOwn(image_.kind == Kind::kAnimatedImage ? "VrkAnimatedImage" : "VrkImage", parent,
                  WS_CHILD | WS_CLIPSIBLINGS);
        Load();
        ShowingChanged();
    }

    void Apply() override {
        if (image_.picture() != shown_) {
            Load();
            ShowingChanged();
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

    void PaintContent(HDC dc, const RECT&) override {
        Prepare();
        // A disabled image shows its picture as it is: the skin has its own
        // pictures for links that are not available.
        if (icon_) {
            DrawIconEx(dc, 0, 0, icon_.get(), iconWidth_, iconHeight_, 0, nullptr, DI_NORMAL);
        } else if (!frames_.empty()) {
            const std::size_t frame = Animated() ? frame_ % frames_.size() : 0;
            frames_[frame].Draw(dc, 0, 0, shown_->kind == Picture::Kind::kGif);
        }
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
    void Prepare() {
        if (prepared_ || !shown_) return;
        prepared_ = true;
        const Rect& b = image_.bounds();
        switch (shown_->kind) {
        case Picture::Kind::kIcon:
        case Picture::Kind::kCursor:
            icon_.reset(MakeIcon(*shown_, b.width ? b.width : 32, b.height ? b.height : 32, &iconWidth_, &iconHeight_));
            break;
        case Picture::Kind::kJpeg:
        case Picture::Kind::kGif:
            frames_.reserve(shown_->frames.size());
            for (const Frame& frame : shown_->frames) frames_.emplace_back(frame, shown_->kind == Picture::Kind::kGif);
            break;
        }
    }

    Image& image_;
    std::shared_ptr<const Picture> shown_;
    OwnedIcon icon_;
    int iconWidth_ = 0, iconHeight_ = 0;
    std::vector<Bitmap> frames_;
    std::size_t frame_ = 0;
    bool prepared_ = false;
    bool playing_ = false;
};

} // namespace

std::unique_ptr<Window> MakeImageWindow(Win32Backend& backend, Image& image) {
    return std::make_unique<ImageWindow>(backend, image);
}

} // namespace vrk::ui::win32
