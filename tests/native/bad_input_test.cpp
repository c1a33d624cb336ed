// Broken, huge and strange files: the panel reports a clear error, stays up
// and loses nothing.
#include "vrk_form_fixture.h"

#include <random>

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
    EXPECT_TRUE(f.startupComplete);
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

TEST(PictureLimits, DecodersRefuseWhatWouldTakeTooMuchMemory) {
    // A GIF whose screen is 8000 x 8000 with many frames would need gigabytes.
    std::string gif = "GIF89a";
    gif += std::string("\x40\x1f\x40\x1f\x00\x00\x00", 7);
    for (int i = 0; i < 4; ++i)
        gif += std::string("\x2c\x00\x00\x00\x00\x40\x1f\x40\x1f\x80\x00\x00\x00\xff\xff\xff\x02\x02\x44\x01\x00", 21);
    gif += ";";
    EXPECT_THROW(DecodeGif(gif), Error);
}

} // namespace
} // namespace vrk::testing
