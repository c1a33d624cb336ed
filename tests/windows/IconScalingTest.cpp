// An icon file without an image of the size a display scale asks for: its
// pixels as the system draws them, scaled smoothly and blended.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Paint.h"
#include "Picture.h"

namespace vrk::ui::win32 {
namespace {

void Put16(std::string& s, unsigned v) { s += static_cast<char>(v & 0xFF), s += static_cast<char>(v >> 8 & 0xFF); }
void Put32(std::string& s, std::uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

// A 32-pixel icon file with one 32-bit image (rows from the bottom, then the
// AND mask): each pixel 0xAARRGGBB from `pixel(x, y)`.
template <class F> std::string IconFile(F pixel) {
    const int side = 32;
    std::string image;
    Put32(image, 40), Put32(image, side), Put32(image, side * 2), Put16(image, 1), Put16(image, 32);
    for (int i = 0; i < 6; ++i) Put32(image, 0);
    for (int y = side - 1; y >= 0; --y)
        for (int x = 0; x < side; ++x) Put32(image, pixel(x, y));
    for (int y = side - 1; y >= 0; --y) {
        std::uint32_t mask = 0;
        for (int x = 0; x < side; ++x)
            if ((pixel(x, y) >> 24) == 0) mask |= 0x80000000u >> x;
        for (int b = 3; b >= 0; --b) image += static_cast<char>(mask >> (8 * b) & 0xFF);
    }
    std::string file;
    Put16(file, 0), Put16(file, 1), Put16(file, 1);
    file += static_cast<char>(side), file += static_cast<char>(side), file += '\0', file += '\0';
    Put16(file, 1), Put16(file, 32), Put32(file, static_cast<std::uint32_t>(image.size())), Put32(file, 22);
    return file + image;
}

TEST(IconScaling, AnIconOfOneSizeGrowsSmoothlyWithoutDarkEdges) {
    // Left half opaque red, right half see-through; one half-opaque white pixel.
    const auto picture = DecodeIcon(IconFile([](int x, int y) -> std::uint32_t {
                                        if (x == 20 && y == 20) return 0x80FFFFFF;
                                        return x < 16 ? 0xFFFF0000 : 0x00000000;
                                    }),
                                    false);
    ASSERT_TRUE(picture && picture->images.size() == 1);
    const OwnedIcon icon(MakeIcon(*picture, picture->images.front()));
    ASSERT_TRUE(icon);

    // As the system draws it: opacity kept, colour premultiplied.
    const Frame frame = IconFrame(icon.get(), 32, 32);
    ASSERT_EQ(frame.pixels.size(), 32u * 32u);
    EXPECT_EQ(frame.pixels[5 * 32 + 5], 0xFFFF0000u);
    EXPECT_EQ(frame.pixels[5 * 32 + 25], 0u);
    const std::uint32_t half = frame.pixels[20 * 32 + 20];
    EXPECT_NEAR(static_cast<int>(half >> 24), 128, 2);
    EXPECT_NEAR(static_cast<int>(half & 0xFF), 128, 2);

    // At 150 % over blue: red, then a soft edge of red and blue, then blue,
    // never darker than either (the edge mixes no black in).
    const Bitmap grown(frame, Alpha::kPremultiplied, 48, 48);
    ASSERT_EQ(grown.width(), 48);
    const MemoryDC dc(MadeGdi(CreateCompatibleDC(nullptr)));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 48, -48, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const GdiObject<HBITMAP> target(MadeGdi(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0)));
    ASSERT_TRUE(target);
    const HGDIOBJ old = SelectObject(dc.get(), target.get());
    FillSolid(dc.get(), RECT{0, 0, 48, 48}, RGB(0, 0, 255));
    grown.Draw(dc.get(), 0, 0, true);
    GdiFlush();
    const auto* row = static_cast<const std::uint32_t*>(bits) + 8 * 48;
    EXPECT_EQ(row[2] & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(row[45] & 0xFFFFFF, 0x0000FFu);
    bool softEdge = false;
    for (int x = 0; x < 48; ++x) {
        const int red = row[x] >> 16 & 0xFF, blue = row[x] & 0xFF;
        EXPECT_NEAR(red + blue, 255, 3) << "at " << x;
        softEdge |= red > 20 && blue > 20;
    }
    EXPECT_TRUE(softEdge);
    SelectObject(dc.get(), old);
}

} // namespace
} // namespace vrk::ui::win32
