// The main window's start-up, settings, language, skin, tabs and close.
#include "VrkFormFixture.h"

#include "IniText.h"
#include "Text.h"
#include "WriteNames.h"

namespace vrk::testing {
namespace {

TEST_F(VrkFormTest, StartsWithDefaultsWhenThereIsNoSettingsFile) {
    RemoveFile("vrk\\config\\settings.ini");
    Tvrk_form& f = Start();
    EXPECT_TRUE(backend.errors.empty()) << backend.errors.front();
    EXPECT_EQ(f.AppPath, "C:\\VORLAN\\");
    EXPECT_EQ(f.LanguageName, "English");
    EXPECT_EQ(f.SkinName, "default");
    EXPECT_EQ(f.SkinPath, "C:\\VORLAN\\\\vrk\\skins\\default");
    EXPECT_EQ(f.PgSQLBinPath, "C:\\VORLAN\\\\servers\\pgsql\\91\\bin");
    EXPECT_EQ(f.PgSQLDataPath, "C:\\VORLAN\\\\data\\pgsql");
    EXPECT_FALSE(f.StopServicesAtExit);
    EXPECT_FALSE(f.ClearTempFiles);
    EXPECT_FALSE(f.AutorunEnabled);
    EXPECT_EQ(f.rgp_PHPVersions->itemIndex(), 0);
    EXPECT_EQ(f.StrStart, "Start");
    EXPECT_EQ(f.StrStop, "Stop");
    EXPECT_EQ(f.VRKTitle->caption(), "VORLAN WEB SERVER - Control Panel 1.3.22");
    EXPECT_EQ(f.lbl_VRKInfo_title->caption(), "Control Panel version ") << "the blank waits for the version";
    EXPECT_TRUE(os.Commands().empty()) << "no server command without autorun";
}

// A write cut short by a crash leaves its temporary file in the folder it
// wrote in: the next start removes such files there, and nothing else (not
// what a link of such a name leads to).
TEST_F(VrkFormTest, TheStartRemovesWhatInterruptedWritesLeftBehind) {
    const std::string left = TemporaryWriteName(0x1234abcd);
    os.WriteFile(Path("vrk\\tmp\\" + left), "[servers]\r\n");
    os.WriteFile(Path("vrk\\config\\" + left), "[vrk]\r\n");
    os.WriteFile(Path("vrk\\config\\" + TemporaryWriteName(7)), "[vrk]\r\n");
    os.SetAttributes(Path("vrk\\config\\" + TemporaryWriteName(7)), kAttrHidden);
    os.WriteFile("C:\\outside\\keep.ini", "keep");
    std::filesystem::create_symlink(os.HostPath("C:\\outside\\keep.ini"),
                                    os.HostPath(Path("vrk\\tmp\\" + TemporaryWriteName(9))));
    os.WriteFile(Path("vrk\\tmp\\note.vrkwrite"), "not ours");
    os.WriteFile(Path("tmp\\php\\" + left), "not a folder we write in");

    Start();

    EXPECT_FALSE(os.FileExists(Path("vrk\\tmp\\" + left)));
    EXPECT_FALSE(os.FileExists(Path("vrk\\config\\" + left)));
    EXPECT_FALSE(os.FileExists(Path("vrk\\config\\" + TemporaryWriteName(7)))) << "hidden as the file it was for";
    EXPECT_EQ(os.FileContent("C:\\outside\\keep.ini"), "keep");
    EXPECT_TRUE(os.FileExists(Path("vrk\\tmp\\note.vrkwrite")));
    EXPECT_TRUE(os.FileExists(Path("tmp\\php\\" + left)));
    EXPECT_EQ(os.FileContent(Path("vrk\\tmp\\run.ini")).substr(0, 5), "[gui]") << "and the start went on";
}

TEST_F(VrkFormTest, LatestPhpChoiceIsClampedToTheRadioGroup) {
    for (const auto& [stored, expected] : std::vector<std::pair<const char*, int>>{
             {"7", 2}, {"-1", -1}, {"-3", -1}, {"1", 1}, {"0x2", 2}, {"word", 0}}) {
        WriteSettings(std::string("[latest]\r\nphp=") + stored + "\r\n");
        Start();
        EXPECT_EQ(form->rgp_PHPVersions->itemIndex(), expected) << "php=" << stored;
    }
}

TEST_F(VrkFormTest, LoadsEverySkinPictureIntoItsImage) {
    Tvrk_form& f = Start();
    ASSERT_TRUE(backend.errors.empty()) << backend.errors.front();
    const std::string skin = "C:\\VORLAN\\\\vrk\\skins\\default";
    EXPECT_EQ(f.btnExit->pictureFile(), skin + "\\close.ico");
    EXPECT_EQ(f.imgTabDB->pictureFile(), skin + "\\database.ico");
    EXPECT_EQ(f.imgMongoDBRun->pictureFile(), skin + "\\ok.ico");
    EXPECT_EQ(f.imgLogoMongoDB->pictureFile(), skin + "\\mongodb_logo.ico");
    EXPECT_EQ(f.imgApacheRunStop->pictureFile(), skin + "\\run.ico") << "no service runs";
    EXPECT_EQ(f.imgFTPAdmin->pictureFile(), skin + "\\user_off.ico");
    ASSERT_TRUE(f.BgJpeg);
    EXPECT_GE(f.BgJpeg->width, 797);
    for (auto* busy : {f.frmGif, f.myGif, f.pgGif, f.mongoGif, f.ftpGif}) {
        ASSERT_TRUE(busy->picture());
        EXPECT_GT(busy->picture()->frames.size(), 1u) << "an animation";
        EXPECT_FALSE(busy->visible());
    }
    EXPECT_EQ(backend.cursorFiles[static_cast<int>(ui::Cursor::kHand)], skin + "\\hand.cur");
}

// A picture that cannot be opened is reported with the system's reason for
// the error met: a missing file, a missing skin folder, a refused read.
TEST_F(VrkFormTest, APictureThatCannotBeOpenedIsReportedWithTheSystemsReason) {
    const std::string bg = "C:\\VORLAN\\\\vrk\\skins\\default\\bg.jpg";
    RemoveFile("vrk\\skins\\default\\bg.jpg");
    Start();
    EXPECT_EQ(backend.errors,
              std::vector<std::string>{"Cannot open file \"" + bg + "\". The system cannot find the file specified"});
    os.unreadable = {bg};
    backend.errors.clear();
    Start();
    EXPECT_EQ(backend.errors, std::vector<std::string>{"Cannot open file \"" + bg + "\". Access is denied"});
    os.unreadable.clear();
    WriteSettings("[vrk]\r\nskin=Gone\r\n");
    backend.errors.clear();
    Start();
    ASSERT_FALSE(backend.errors.empty());
    EXPECT_NE(backend.errors[0].find("Gone\\minimize.ico"), std::string::npos) << backend.errors[0];
    for (const std::string& error : backend.errors)
        EXPECT_TRUE(error.ends_with("\". The system cannot find the path specified")) << error;
}

TEST_F(VrkFormTest, MissingCursorsFallBackToTheSystemArrowWithoutAnError) {
    RemoveFile("vrk\\skins\\default\\pointer.cur");
    RemoveFile("vrk\\skins\\default\\hand.cur");
    Start();
    EXPECT_TRUE(backend.errors.empty());
    EXPECT_EQ(backend.cursorFiles[static_cast<int>(ui::Cursor::kArrow)], "");
    EXPECT_EQ(backend.cursorFiles[static_cast<int>(ui::Cursor::kHand)], "");
}

TEST_F(VrkFormTest, StartUpNeedsOnlyTheHomeIconNotItsOffVariant) {
    RemoveFile("vrk\\skins\\default\\home_off.ico");
    Start();
    EXPECT_TRUE(backend.errors.empty());
}

TEST_F(VrkFormTest, ACorruptIconIsReportedWithTheDecodersMessage) {
    os.WriteFile(Path("vrk\\skins\\default\\folder.ico"), "not an icon at all");
    Start();
    ASSERT_EQ(backend.errors.size(), 1u);
    EXPECT_NE(backend.errors[0].find("icon"), std::string::npos) << backend.errors[0];
}

TEST_F(VrkFormTest, LanguageNamesOfAnyCaseAndPaddedOrLongValues) {
    const std::string longText(3000, 'x');
    WriteLanguage("Test", "[GUI]\r\nvrkcontrolpanel=  Panel  \r\nSTART=Go\r\nStop=\"Halt\"\r\n"
                          "[Welcome]\r\nRow1=" +
                              longText + "\r\n");
    WriteSettings("[vrk]\r\nlanguage=Test\r\n");
    Tvrk_form& f = Start();
    EXPECT_EQ(f.VRKTitle->caption(), "VORLAN WEB SERVER - Panel 1.3.22");
    EXPECT_EQ(f.StrStart, "Go");
    EXPECT_EQ(f.StrStop, "Halt");
    EXPECT_EQ(f.lbl_welcome_row1->caption(), longText.substr(0, 2047));
    EXPECT_EQ(f.lbl_feedback_title->caption(), "") << "a missing section leaves its captions empty";
    EXPECT_EQ(f.lbl_vorlan->caption(), "VORLAN CMS") << "a fixed caption";
    EXPECT_EQ(f.rgp_PHPVersions->items[2], "PHP 5.4");
}

TEST_F(VrkFormTest, AMissingLanguageFileEmptiesEveryCaptionButTheFixedOnes) {
    WriteSettings("[vrk]\r\nlanguage=Klingon\r\n");
    Tvrk_form& f = Start();
    EXPECT_EQ(f.VRKTitle->caption(), "VORLAN WEB SERVER -  1.3.22");
    EXPECT_EQ(f.lbl_options->caption(), "");
    EXPECT_EQ(f.lbl_mysql_title2->caption(), "");
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "") << "the start word is empty too";
    EXPECT_EQ(f.lbl_VRKInfo_title->caption(), " ") << "the title and one blank before the version";
    EXPECT_TRUE(backend.errors.empty()) << "nothing is reported";
}

TEST_F(VrkFormTest, ALanguageWithoutFeedbackStillSetsEverythingElse) {
    std::string text;
    os.ReadContent(Path("vrk\\langs\\English.ini"), text);
    const auto at = text.find("[feedback]");
    ASSERT_NE(at, std::string::npos);
    WriteLanguage("NoFeedback", text.substr(0, at) + text.substr(text.find("[options]")));
    WriteSettings("[vrk]\r\nlanguage=NoFeedback\r\n");
    Tvrk_form& f = Start();
    EXPECT_EQ(f.lbl_feedback_msg->caption(), "");
    EXPECT_EQ(f.lbl_options->caption(), "Options");
    EXPECT_EQ(f.lbl_welcome_title->caption(), IniLookup(text, "welcome", "WelcomeTitle"));
}

// A translator's editor may save a language file as UTF-8 with a byte-order
// mark: it reads as the same captions as the file in the system's code page.
TEST_F(VrkFormTest, ALanguageFileInUtf8WithAByteOrderMarkGivesTheSameCaptions) {
    WriteSettings("[vrk]\r\nlanguage=Fran\xe7"
                  "ais\r\n");
    auto captions = [&] {
        const Tvrk_form& f = Start();
        return std::vector<std::string>{f.VRKTitle->caption(), f.StrStart, f.lbl_welcome_row1->caption(),
                                        f.lbl_VRKInfo_title->caption()};
    };
    const std::vector<std::string> fromAnsi = captions();
    EXPECT_EQ(fromAnsi[0], "VORLAN WEB SERVER - Panneau de contrôle 1.3.22");
    EXPECT_EQ(fromAnsi[1], "Démarrer");
    const std::string ansi = os.FileContent(Path("vrk\\langs\\Français.ini"));
    ASSERT_NE(ansi.find("contr\xF4le"), std::string::npos);
    WriteLanguage("Français", "\xEF\xBB\xBF" + Utf8FromCp1252(ansi));
    EXPECT_EQ(captions(), fromAnsi);
}

TEST_F(VrkFormTest, EachStartWritesVersionAndCreatorWithoutDuplicates) {
    os.WriteFile(Path("vrk\\tmp\\run.ini"), "[servers]\r\napache=1\r\n[other]\r\nkept=yes\r\n");
    Start();
    Start();
    const std::string run = os.FileContent(Path("vrk\\tmp\\run.ini"));
    EXPECT_EQ(
        run,
        "[servers]\r\napache=1\r\n[other]\r\nkept=yes\r\n[gui]\r\nversion=1.3.22\r\n[credit]\r\ncreator=Malverin\r\n");
}

TEST_F(VrkFormTest, TabsShowOnePanelAndTheWelcomeNeverComesBack) {
    Tvrk_form& f = Start();
    auto visiblePanels = [&] {
        std::vector<std::string> names;
        for (auto* p : {f.PanelVRKInformation, f.PanelPgSQL, f.PanelFTP, f.PanelDB, f.PanelVRK, f.PanelFeedback,
                        f.PanelMySQL, f.PanelApache})
            if (p->visible()) names.push_back(p->name);
        return names;
    };
    EXPECT_EQ(visiblePanels(), std::vector<std::string>{"PanelVRK"});
    ASSERT_TRUE(backend.Click(*f.imgTabVRK));
    EXPECT_EQ(visiblePanels(), std::vector<std::string>{"PanelVRKInformation"});
    backend.Click(*f.imgTabApache);
    EXPECT_EQ(visiblePanels(), std::vector<std::string>{"PanelApache"});
    backend.Click(*f.imgTabVRK);
    EXPECT_EQ(visiblePanels(), std::vector<std::string>{"PanelVRKInformation"});
    backend.Click(*f.imgTabFTP);
    EXPECT_EQ(visiblePanels(), std::vector<std::string>{"PanelFTP"});
    backend.Click(*f.imgTabDB);
    EXPECT_TRUE(f.PanelDB->visible());
    EXPECT_FALSE(backend.Click(*f.imgTabMySQL)) << "a hidden tab cannot be clicked";
    EXPECT_FALSE(backend.Click(*f.imgTabFeedback));
    f.imgTabApache->SetEnabled(false);
    EXPECT_FALSE(backend.Click(*f.imgTabApache)) << "a disabled tab ignores clicks";
    EXPECT_TRUE(f.PanelDB->visible());
    EXPECT_FALSE(f.PanelVRK->visible());
}

TEST_F(VrkFormTest, TabFollowsTheWindowsReadingOrderOverWhatCanBeReached) {
    Tvrk_form& f = Start();
    using ui::Key;
    auto focusName = [&] { return backend.focus ? backend.focus->name : std::string("-"); };
    auto tabs = [&](int count, bool shift = false) {
        std::string names;
        for (int i = 0; i < count; ++i) {
            backend.Press(f, Key::kTab, shift);
            names += (names.empty() ? "" : " ") + focusName();
        }
        return names;
    };
    EXPECT_FALSE(f.focusShown()) << "nothing is marked before the keyboard is used";
    // Apache is stopped, so the start page is skipped; the welcome panel has
    // no stops; the hidden tabs are skipped; the order wraps both ways.
    EXPECT_EQ(tabs(14), "imgVRKFolder imgVORLAN imgServicesManager imgTaskManager imgSystemMonitor imgGroupPolicy "
                        "imgOptions btnMinimize btnExit imgTabVRK imgTabApache imgTabDB imgTabFTP imgVRKFolder");
    EXPECT_TRUE(f.focusShown());
    EXPECT_EQ(tabs(1, true), "imgTabFTP");
    EXPECT_EQ(tabs(2, true), "imgTabDB imgTabApache");

    // Space on a tab shows its panel and leaves the focus on the tab; then the
    // panel's controls follow, the disabled links skipped.
    EXPECT_TRUE(backend.Press(f, Key::kSpace));
    EXPECT_TRUE(f.PanelApache->visible());
    EXPECT_EQ(focusName(), "imgTabApache");
    EXPECT_EQ(tabs(5), "imgTabDB imgTabFTP rgp_PHPVersions imgApacheRunStop imgMemcacheRunStop");
    EXPECT_EQ(tabs(2, true), "imgApacheRunStop rgp_PHPVersions");
    // The arrows move the version choice round the group.
    const int first = f.rgp_PHPVersions->itemIndex();
    backend.Press(f, Key::kRight);
    EXPECT_EQ(f.rgp_PHPVersions->itemIndex(), (first + 1) % 3);
    backend.Press(f, Key::kLeft);
    backend.Press(f, Key::kUp);
    EXPECT_EQ(f.rgp_PHPVersions->itemIndex(), (first + 2) % 3);
    EXPECT_FALSE(backend.Press(f, Key::kReturn)) << "Return does not act on a radio group";

    // A click gives the focus to the stop it belongs to, a label's to its
    // image; a panel switch by a click leaves it on the tab that was used.
    backend.Click(*f.lbl_MemcacheRunStop);
    EXPECT_EQ(focusName(), "imgMemcacheRunStop");
    backend.Click(*f.imgTabFTP);
    EXPECT_EQ(focusName(), "imgTabFTP");
    EXPECT_EQ(tabs(2), "imgFTPRunStop imgVRKFolder");

    // The focused link disabled under it (the poll, once Apache has gone):
    // the focus goes on to the next stop.
    os.services = {{"Apache2.2", 4}};
    f.Timer1Timer();
    EXPECT_EQ(tabs(1, true), "imgStartPage") << "enabled now that Apache runs";
    os.services.clear();
    f.Timer1Timer();
    EXPECT_EQ(focusName(), "imgVRKFolder");
}

TEST_F(VrkFormTest, ControlsStartAsTheirServicesStand) {
    os.services = {{"Apache2.2", 4}, {"MySQL", 4}, {"postgresql-9.1", 4}, {"MongoDB", 1}};
    Tvrk_form& f = Start();
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Stop");
    EXPECT_FALSE(f.rgp_PHPVersions->enabled());
    EXPECT_TRUE(f.imgWFMRun->enabled());
    EXPECT_TRUE(f.imgPhpMyAdminRun->enabled());
    EXPECT_FALSE(f.rgp_MySQLVersions->enabled());
    EXPECT_TRUE(f.lbl_PgWinAdminRun->enabled());
    EXPECT_TRUE(f.imgPhpPgAdminRun->enabled());
    EXPECT_EQ(f.lbl_MongoDBRunStop->caption(), "Start");
    EXPECT_FALSE(f.imgMongoDBRun->visible());
    EXPECT_FALSE(f.imgMongoDBAdminRun->enabled());

    os.services = {{"MySQL", 4}, {"postgresql-9.1", 4}};
    Start();
    EXPECT_FALSE(form->imgPhpMyAdminRun->enabled()) << "web administration needs Apache";
    EXPECT_FALSE(form->lbl_PhpPgAdminRun->enabled());
    EXPECT_TRUE(form->imgPgWinAdminRun->enabled()) << "pgAdmin III needs only PostgreSQL";
    EXPECT_FALSE(form->imgStartPage->enabled());
    EXPECT_FALSE(form->lbl_WFMRun->enabled());
}

TEST_F(VrkFormTest, ClosingWithoutStopAtExitOrPurgeRunsNothing) {
    os.services = {{"Apache2.2", 4}};
    os.WriteFile(Path("tmp\\php\\sess_1"), "x");
    Tvrk_form& f = Start();
    os.log.clear();
    f.CloseApplication();
    EXPECT_TRUE(os.Commands().empty());
    EXPECT_TRUE(os.FileExists(Path("tmp\\php\\sess_1")));
    EXPECT_FALSE(f.SettingsIni);
    EXPECT_FALSE(f.RunIni);
    EXPECT_TRUE(backend.quit);
}

TEST_F(VrkFormTest, TheMinimiseImageMinimises) {
    Tvrk_form& f = Start();
    backend.Click(*f.btnMinimize);
    EXPECT_TRUE(backend.minimized);
    EXPECT_FALSE(backend.quit);
}

TEST_F(VrkFormTest, TheWindowIsLaidOutAtTheDisplaysScaleAndAgainWhenItMoves) {
    // The same window built on a 100 % display, for every control's place.
    Tvrk_form designed(app, std::string(kRoot) + "vrk.exe");
    backend.dpi = 144;
    Tvrk_form& f = Start();
    EXPECT_EQ(f.dpi(), 144);
    EXPECT_EQ(f.clientWidth, 1196); // 797 x 1.5 = 1195.5, rounded up
    EXPECT_EQ(f.clientHeight, 729);
    // Places and sizes round alike; a negative place as a positive one; a
    // one-pixel line stays one pixel; font heights scale as well.
    EXPECT_EQ(f.btnExit->bounds(), (ui::Rect{1125, 18, 48, 48}));
    EXPECT_EQ(f.imgVORLANLogo->bounds(), (ui::Rect{140, -24, 375, 188}));
    EXPECT_EQ(f.Shape2->bounds(), (ui::Rect{15, 225, 623, 1}));
    EXPECT_EQ(f.lbl_apache_title->font().height, 24);
    EXPECT_EQ(f.PanelApache->font().height, 17);
    EXPECT_EQ(f.Shape2->font(), f.PanelApache->font()); // kept from its panel

    // Moved to a 200 % display: lines grow by whole pixels.
    f.SetDpi(192);
    EXPECT_EQ(f.Shape2->bounds(), (ui::Rect{20, 300, 830, 2}));
    EXPECT_EQ(f.Shape2->font().height, 22);
    // And back to 100 %: every control is where the design puts it.
    f.SetDpi(96);
    EXPECT_EQ(f.clientWidth, 797);
    for (const auto& control : designed.owned()) {
        const ui::Control* now = f.Find(control->name);
        ASSERT_NE(now, nullptr);
        EXPECT_EQ(now->bounds(), control->bounds()) << control->name;
        EXPECT_EQ(now->font(), control->font()) << control->name;
    }
}

} // namespace
} // namespace vrk::testing
