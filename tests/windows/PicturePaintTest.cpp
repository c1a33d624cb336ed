// Pictures on real windows: grown with the display's scale only while they
// fit the pixel limit at it, and a picture that cannot be made reported
// once, from inside the paint, without ending it or the program; a picture
// file that cannot be opened reported with the system's reason.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "Picture.h"
#include "Win32Backend.h"
#include "Win32Platform.h"
#include "Window.h"
#include "helpers/TestSupport.h"

namespace vrk::ui {
namespace {

// The real backend, with its error box replaced by a list.
class RecordingBackend : public Win32Backend {
public:
    std::vector<std::string> errors;
    void ShowError(const std::string&, const std::string& message) override { errors.push_back(message); }
};

std::shared_ptr<Picture> Jpeg(int width, int height, bool withPixels = true) {
    auto picture = std::make_shared<Picture>();
    picture->kind = Picture::Kind::kJpeg;
    picture->width = width;
    picture->height = height;
    Frame& frame = picture->frames.emplace_back();
    frame.width = width;
    frame.height = height;
    if (withPixels) frame.pixels.assign(static_cast<std::size_t>(width) * height, 0xFF336699u);
    return picture;
}

class BackgroundForm : public Form {
public:
    using Form::Form;
    std::shared_ptr<const Picture> picture;
    std::shared_ptr<const Picture> Background() const override { return picture; }
};

class PicturePaintTest : public ::testing::Test {
protected:
    Win32Platform os;
    RecordingBackend backend;
    Application app{backend, os};
};

TEST_F(PicturePaintTest, ABackgroundGrowsWithTheScaleOnlyWhileItFitsThePixelLimit) {
    BackgroundForm form("form", app);
    // 5.2 Mi pixels: 11.8 Mi at 150 %, 21 Mi at 200 %.
    form.picture = Jpeg(2560, 2048);
    const std::pair<int, int> widths[] = {{96, 2560}, {144, 3840}, {192, 2560}, {288, 2560}, {72, 1920}};
    for (const auto& [dpi, width] : widths) {
        form.SetDpi(dpi);
        const win32::Bitmap* bitmap = backend.BackgroundOf(form);
        ASSERT_TRUE(bitmap) << dpi;
        EXPECT_EQ(bitmap->width(), width) << dpi;
    }
    EXPECT_TRUE(backend.errors.empty());
}

TEST_F(PicturePaintTest, APictureTheSystemWillNotMakeIsReportedOnceAndPaintingGoesOn) {
    Form form("form", app);
    form.clientWidth = 200;
    form.clientHeight = 100;
    form.SetBounds({0, 0, 200, 100});
    // Within no limit: too big for any bitmap the system makes.
    const std::shared_ptr<const Picture> giant = Jpeg(60000, 60000, false);
    Image* first = form.Make<Image>("first", &form);
    Image* second = form.Make<Image>("second", &form);
    first->SetBounds({0, 0, 100, 100});
    second->SetBounds({100, 0, 100, 100});
    first->SetPicture(giant, "giant.jpg");
    form.Create();
    ASSERT_NO_THROW(form.Show());
    EXPECT_EQ(backend.errors, std::vector<std::string>{"Out of memory"});

    // Not tried again for every paint, and the other image's failure, of the
    // same cause, is not news.
    second->SetPicture(giant, "giant.jpg");
    for (Image* image : {first, second}) {
        HWND hwnd = Win32Backend::WindowOf(image)->hwnd;
        InvalidateRect(hwnd, nullptr, FALSE);
        ASSERT_NO_THROW(UpdateWindow(hwnd));
        EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
    }
    EXPECT_EQ(backend.errors.size(), 1u);
}

// What the system says for a code, as one sentence of a message.
std::string SystemText(DWORD code) {
    wchar_t text[512] = {};
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 512,
                             nullptr);
    while (n && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ' || text[n - 1] == L'.')) --n;
    return Utf8(std::wstring_view(text, n));
}

TEST_F(PicturePaintTest, APictureFileThatCannotBeOpenedIsReportedWithTheSystemsReason) {
    const testing::TempFolder folder("reasons");
    const std::string held = folder / "held.ico";
    ASSERT_TRUE(testing::WriteBytes(held, "icon"));
    // Another program holds the file and shares nothing.
    const HANDLE holder =
        CreateFileW(Wide(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const std::pair<std::string, DWORD> cases[] = {
        {folder / "missing.ico", ERROR_FILE_NOT_FOUND},
        {folder / "no skin\\close.ico", ERROR_PATH_NOT_FOUND},
        {held, ERROR_SHARING_VIOLATION},
    };
    for (const auto& [path, code] : cases) {
        ASSERT_FALSE(SystemText(code).empty()) << code;
        try {
            LoadPicture(os, path);
            ADD_FAILURE() << path << " loaded";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + path + "\". " + SystemText(code));
        }
    }
    CloseHandle(holder);
}

} // namespace
} // namespace vrk::ui
