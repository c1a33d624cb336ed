// Broken, huge and strange files: the panel reports a clear error, stays up
// and loses nothing.
#include "VrkFormFixture.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>

#include <jpeglib.h>

#include "IniText.h"
#include "Picture.h"
#include "Error.h"

namespace vrk::testing {
namespace {

std::string RandomBytes(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string s(n, '\0');
    for (char& c : s) c = static_cast<char>(random());
    return s;
}

class BadInputTest : public VrkFormTest {};

TEST_F(BadInputTest, BinarySettingsAndStateFilesStartWithDefaultsAndKeepTheirBytes) {
    const std::string binary = RandomBytes(20000, 1);
    WriteSettings(binary);
    os.WriteFile(Path("vrk\\tmp\\run.ini"), binary);
    Tvrk_form& f = Start();
    EXPECT_TRUE(backend.errors.empty()) << backend.errors.front();
    EXPECT_TRUE(f.LoadingGif) << "every step ran";
    const std::string run = os.FileContent(Path("vrk\\tmp\\run.ini"));
    EXPECT_EQ(IniLookup(run, "gui", "version"), "1.3.22");
    EXPECT_EQ(run.substr(0, binary.size()), binary) << "what was there stays";
}

TEST_F(BadInputTest, HugeLinesAndFilesWithoutLineEnds) {
    WriteSettings("[vrk]\r\nlanguage=Deutsch\r\nnoise=" + std::string(3 << 20, 'n') + "\r\nssae=1");
    WriteLanguage("Deutsch", std::string("\xEF\xBB\xBF") + "[gui]\rStart=Los\rStop=Halt");
    Tvrk_form& f = Start();
    EXPECT_EQ(f.LanguageName, "Deutsch");
    EXPECT_TRUE(f.StopServicesAtExit);
    EXPECT_EQ(f.StrStart, "Los");
    EXPECT_EQ(f.StrStop, "Halt");
}

TEST_F(BadInputTest, AnEnormousSettingsFileIsNeitherReadNorOverwritten) {
    std::string big = "[vrk]\r\nlanguage=Deutsch\r\n" + std::string(kMaxIniFileBytes, 'x');
    WriteSettings(big);
    Tvrk_form& f = Start();
    EXPECT_EQ(f.LanguageName, "English") << "read as missing";
    EXPECT_THROW(f.SettingsIni->Write(setting::kLatestPhpVersion, 1), Error);
    EXPECT_EQ(os.FileContent(Path("vrk\\config\\settings.ini")).size(), big.size());
}

TEST_F(BadInputTest, AReadOnlyStateFileIsReportedAndTheWindowStaysUp) {
    os.WriteFile(Path("vrk\\tmp\\run.ini"), "[other]\r\nx=1\r\n");
    os.SetAttributes(Path("vrk\\tmp\\run.ini"), kAttrReadOnly);
    Tvrk_form& f = Start();
    ASSERT_EQ(backend.errors.size(), 1u);
    EXPECT_EQ(backend.errors[0], "Unable to write to C:\\VORLAN\\\\vrk\\tmp\\run.ini");
    EXPECT_TRUE(f.visible());
    EXPECT_EQ(os.FileContent(Path("vrk\\tmp\\run.ini")), "[other]\r\nx=1\r\n");
}

TEST_F(BadInputTest, ALockedSettingsFileReadsAsDefaultsAndIsNeverClobbered) {
    WriteSettings("[vrk]\r\nlanguage=Deutsch\r\n");
    os.unreadable = {"C:\\VORLAN\\\\vrk\\config\\settings.ini"};
    Tvrk_form& f = Start();
    EXPECT_EQ(f.LanguageName, "English");
    EXPECT_THROW(f.SettingsIni->Write(setting::kLatestPhpVersion, 2), Error);
    EXPECT_EQ(os.FileContent(Path("vrk\\config\\settings.ini")), "[vrk]\r\nlanguage=Deutsch\r\n");
}

struct BrokenPicture {
    const char* file;
    std::string content;
    const char* words; // what the message must say
};

TEST_F(BadInputTest, BrokenSkinFilesGiveAClearErrorNamingTheProblem) {
    std::string jpeg, gif, icon;
    os.ReadContent(Path("vrk\\skins\\default\\bg.jpg"), jpeg);
    os.ReadContent(Path("vrk\\skins\\default\\loading.gif"), gif);
    os.ReadContent(Path("vrk\\skins\\default\\close.ico"), icon);
    // A JPEG header that claims 60000 x 60000 pixels.
    std::string giant = jpeg;
    for (std::size_t i = 0; i + 8 < giant.size(); ++i)
        if (static_cast<unsigned char>(giant[i]) == 0xFF && (static_cast<unsigned char>(giant[i + 1]) & 0xF0) == 0xC0 &&
            static_cast<unsigned char>(giant[i + 1]) != 0xC4 && static_cast<unsigned char>(giant[i + 1]) != 0xCC) {
            giant[i + 5] = giant[i + 7] = static_cast<char>(0xEA);
            giant[i + 6] = giant[i + 8] = static_cast<char>(0x60);
            break;
        }
    std::string wild = icon;
    wild[18] = wild[19] = static_cast<char>(0x7F); // an image claiming to lie far beyond the file
    const BrokenPicture cases[] = {
        {"close.ico", "", "icon"},
        {"close.ico", icon.substr(0, 30), "icon"},
        {"close.ico", wild, "icon"},
        {"close.ico", jpeg, "icon"},
        {"bg.jpg", "", "JPEG"},
        {"bg.jpg", jpeg.substr(0, 200), "JPEG"},
        {"bg.jpg", gif, "JPEG"},
        {"bg.jpg", giant, "JPEG"},
        {"loading.gif", gif.substr(0, 40), "GIF"},
        {"loading.gif", jpeg, "GIF"},
    };
    for (const auto& c : cases) {
        const std::string file = std::string("C:\\VORLAN\\vrk\\skins\\default\\") + c.file;
        std::string original;
        os.ReadContent(file, original);
        os.WriteFile(file, c.content);
        backend.errors.clear();
        Start();
        ASSERT_EQ(backend.errors.size(), 1u) << c.file;
        EXPECT_NE(backend.errors[0].find(c.words), std::string::npos) << c.file << ": " << backend.errors[0];
        EXPECT_TRUE(form->visible());
        // Whole again, the file loads, and its next failure is news.
        os.WriteFile(file, original);
        backend.errors.clear();
        Start();
        ASSERT_TRUE(backend.errors.empty()) << c.file;
    }
}

// --- pictures built byte by byte ------------------------------------------------

std::string Le16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF)}; }
std::string Le32(std::uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
std::string Be32(std::uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16 & 0xFF), static_cast<char>(v >> 8 & 0xFF),
            static_cast<char>(v & 0xFF)};
}

// A GIF screen of `side` pixels with two colours (black, white); `frames`
// are whole records (extensions and images).
std::string Gif(int side, const std::string& records) {
    return "GIF89a" + Le16(side) + Le16(side) + std::string("\x80\x00\x00\x00\x00\x00\xff\xff\xff", 9) + records + ";";
}
// One image of 1 x 1 pixel at (x, 0), colour index 0 or 1.
std::string GifPixel(int x, int index) {
    return "\x2c" + Le16(x) + Le16(0) + Le16(1) + Le16(1) + std::string("\x00\x02\x02", 3) +
           (index ? std::string("\x4c\x01\x00", 3) : std::string("\x44\x01\x00", 3));
}
std::string GifControl(int delay, int transparent) {
    return "\x21\xf9\x04" + std::string(1, static_cast<char>(transparent >= 0 ? 1 : 0)) + Le16(delay) +
           std::string(1, static_cast<char>(transparent >= 0 ? transparent : 0)) + std::string(1, '\0');
}
std::string GifComment(const std::string& text) {
    std::string out = "\x21\xfe";
    for (std::size_t at = 0; at < text.size(); at += 255) {
        const std::string part = text.substr(at, 255);
        out += static_cast<char>(part.size()) + part;
    }
    return out + '\0';
}

// An icon file of one image: `image` is its bytes (a PNG or a DIB).
std::string IconOf(int entrySide, const std::string& image) {
    return Le16(0) + Le16(1) + Le16(1) + std::string(2, static_cast<char>(entrySide & 0xFF)) + std::string(2, '\0') +
           Le16(1) + Le16(32) + Le32(static_cast<std::uint32_t>(image.size())) + Le32(22) + image;
}
std::string PngHeader(std::uint32_t width, std::uint32_t height) {
    return "\x89PNG\r\n\x1a\n" + Be32(13) + "IHDR" + Be32(width) + Be32(height) + std::string(40, '\0');
}
std::string DibHeader(std::int32_t width, std::int32_t height) {
    return Le32(40) + Le32(static_cast<std::uint32_t>(width)) + Le32(static_cast<std::uint32_t>(2 * height)) + Le16(1) +
           Le16(32) + std::string(24, '\0');
}

// A grey JPEG of 64 x 64 pixels in the scans given, or in the encoder's
// usual progressive script.
std::string GreyJpeg(const std::vector<jpeg_scan_info>& scans = {}) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = info.image_height = 64;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_simple_progression(&info);
    if (!scans.empty()) {
        info.scan_info = scans.data();
        info.num_scans = static_cast<int>(scans.size());
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(64);
    while (info.next_scanline < 64) {
        for (int x = 0; x < 64; ++x) row[x] = static_cast<unsigned char>(x * 4 ^ info.next_scanline * 4);
        unsigned char* rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const std::string bytes(reinterpret_cast<const char*>(out), size);
    std::free(out);
    return bytes;
}

// Every refusal is the decoder's own error, naming what is wrong.
void ExpectRefused(const std::function<void()>& decode, const std::string& words) {
    try {
        decode();
        ADD_FAILURE() << "decoded; expected: " << words;
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
    }
}

TEST(PictureLimits, DecodersRefuseWhatWouldTakeTooMuchMemory) {
    // A GIF whose screen is 8000 x 8000 with many frames would need gigabytes.
    std::string gif = "GIF89a";
    gif += std::string("\x40\x1f\x40\x1f\x00\x00\x00", 7);
    for (int i = 0; i < 4; ++i)
        gif += std::string("\x2c\x00\x00\x00\x00\x40\x1f\x40\x1f\x80\x00\x00\x00\xff\xff\xff\x02\x02\x44\x01\x00", 21);
    gif += ";";
    EXPECT_THROW(DecodeGif(gif), Error);
}

// A GIF frame keeps its own timing and transparency among the metadata that
// is read and let go; no frame carries more extension blocks, or more of
// their bytes, than a real animation.
TEST(PictureLimits, GifExtensionsAreBoundedAndOnlyTheFramesControlIsKept) {
    const std::string looping("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    const auto picture = DecodeGif(Gif(2, looping + GifComment("made by hand") + GifControl(7, -1) + GifPixel(0, 1) +
                                              GifComment(std::string(3000, 'x')) + GifControl(25, 1) +
                                              GifComment("second") + GifPixel(1, 1)));
    ASSERT_EQ(picture->frames.size(), 2u);
    EXPECT_EQ(picture->frames[0].delayMs, 70);
    EXPECT_EQ(picture->frames[1].delayMs, 250);
    EXPECT_EQ(picture->transparentIndex, -1) << "the first frame's";
    EXPECT_EQ(picture->frames[0].pixels[0], 0xFFFFFFFFu);
    EXPECT_EQ(picture->frames[1].pixels[0], 0xFFFFFFFFu) << "the first frame stays under the second";
    EXPECT_EQ(picture->frames[1].pixels[1], 0u) << "white is the second frame's transparent colour";

    std::string many;
    for (int i = 0; i <= kMaxGifExtensionsPerFrame; ++i) many += GifComment("x");
    ExpectRefused([&] { DecodeGif(Gif(2, many + GifPixel(0, 0))); }, "GIF error: too many extension blocks");
    ExpectRefused([&] { DecodeGif(Gif(2, GifPixel(0, 0) + many)); }, "GIF error: too many extension blocks");
    const std::string huge = GifComment(std::string(kMaxGifExtensionBytesPerFrame / 2 + 1, 'x'));
    ExpectRefused([&] { DecodeGif(Gif(2, huge + huge + GifPixel(0, 0))); }, "GIF error: extension blocks too long");
}

// The system makes an icon's image at the size its own header gives: no
// image is larger than an icon image is ever made, whatever the directory
// says.
TEST(PictureLimits, AnIconsImagesAreBoundedByTheirOwnHeaders) {
    EXPECT_NO_THROW(DecodeIcon(IconOf(0, PngHeader(256, 256)), false));
    EXPECT_NO_THROW(DecodeIcon(IconOf(32, DibHeader(32, 32) + std::string(32 * 32 * 4 + 128, '\0')), false));
    for (const std::string& image : {PngHeader(60000, 60000), PngHeader(kMaxIconImageSide + 1, 16),
                                     PngHeader(16, 0x80000000u), DibHeader(60000, 32), DibHeader(32, -32)})
        ExpectRefused([&] { DecodeIcon(IconOf(32, image), false); }, "Invalid icon: bad image size");
    std::string notPng = PngHeader(16, 16);
    notPng.replace(12, 4, "IDAT");
    ExpectRefused([&] { DecodeIcon(IconOf(16, notPng), false); }, "Invalid icon: bad PNG image");
}

TEST(PictureLimits, AProgressiveJpegOfMoreScansThanAnyEncoderWritesIsRefused) {
    EXPECT_EQ(DecodeJpeg(GreyJpeg())->frames.front().pixels.size(), 64u * 64u) << "the usual script";
    // Every coefficient in a scan of its own, each bit in turn: 128 scans.
    std::vector<jpeg_scan_info> split{{1, {0}, 0, 0, 0, 1}, {1, {0}, 0, 0, 1, 0}};
    for (int bit : {1, 0})
        for (int k = 1; k < 64; ++k) split.push_back({1, {0}, k, k, bit ? 0 : 1, bit});
    ASSERT_GT(split.size(), static_cast<std::size_t>(kMaxJpegScans));
    ExpectRefused([&] { DecodeJpeg(GreyJpeg(split)); }, "JPEG error: more than");
}

// Drawn at the display's scale only while all frames together stay within
// the decoder's limit.
TEST(PictureLimits, APictureIsScaledOnlyWhileItsFramesFitTheLimit) {
    Picture background;
    background.frames.resize(1);
    background.frames[0].width = background.frames[0].height = 4096; // 16 Mi pixels
    EXPECT_TRUE(FitsAtScale(background, 96));
    EXPECT_FALSE(FitsAtScale(background, 97));
    EXPECT_TRUE(FitsAtScale(background, 72));

    Picture animation;
    animation.frames.resize(9);
    for (Frame& frame : animation.frames) frame.width = frame.height = 455; // 9 x 455 x 455 x 9 < 16 Mi
    EXPECT_TRUE(FitsAtScale(animation, 288));
    animation.frames.emplace_back(animation.frames.back());
    EXPECT_FALSE(FitsAtScale(animation, 288)) << "one more frame";
    EXPECT_TRUE(FitsAtScale(animation, 192));
}

} // namespace
} // namespace vrk::testing
