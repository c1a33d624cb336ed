// The main window's start-up, settings, language, skin, tabs and close.
#include "vrk_form_fixture.h"

#include "IniText.h"

namespace vrk::testing {
namespace {

TEST_F(VrkFormTest, StartsWithDefaultsWhenThereIsNoSettingsFile) {
    removeFile("vrk\\config\\settings.ini");
    Tvrk_form& f = start();
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
    EXPECT_EQ(f.rgp_PHPVersions->ItemIndex(), 0);
    EXPECT_EQ(f.StrStart, "Start");
    EXPECT_EQ(f.StrStop, "Stop");
    EXPECT_EQ(f.VRKTitle->Caption(), "VORLAN WEB SERVER - Control Panel 1.3.22");
    EXPECT_TRUE(f.startupComplete);
    EXPECT_TRUE(os.commands().empty()) << "no server command without autorun";
}

TEST_F(VrkFormTest, LatestPhpChoiceIsClampedToTheRadioGroup) {
    for (const auto& [stored, expected] : std::vector<std::pair<const char*, int>>{
             {"7", 2}, {"-1", -1}, {"-3", -1}, {"1", 1}, {"0x2", 2}, {"word", 0}}) {
        settings(std::string("[latest]\r\nphp=") + stored + "\r\n");
        start();
        EXPECT_EQ(form->rgp_PHPVersions->ItemIndex(), expected) << "php=" << stored;
    }
}

TEST_F(VrkFormTest, LoadsEverySkinPictureIntoItsImage) {
    Tvrk_form& f = start();
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
        EXPECT_FALSE(busy->Visible());
    }
    EXPECT_EQ(backend.cursorFiles[static_cast<int>(ui::Cursor::kHand)], skin + "\\hand.cur");
}

TEST_F(VrkFormTest, AMissingBackgroundIsReportedOnceAndLaterStepsAreSkipped) {
    removeFile("vrk\\skins\\default\\bg.jpg");
    Tvrk_form& f = start();
    ASSERT_EQ(backend.errors.size(), 1u);
    EXPECT_NE(backend.errors[0].find("Cannot open file \"C:\\VORLAN\\\\vrk\\skins\\default\\bg.jpg\""), std::string::npos)
        << backend.errors[0];
    EXPECT_FALSE(f.runIniReady);
    EXPECT_FALSE(f.startupComplete);
    EXPECT_FALSE(os.fileExists(path("vrk\\tmp\\run.ini"))) << "the step after the background never ran";
    EXPECT_TRUE(f.Visible()) << "the window is shown all the same";
    ui::CloseAction action = ui::CloseAction::kFree;
    f.FormClose(action);
    EXPECT_TRUE(backend.quit);
    EXPECT_EQ(backend.errors.size(), 1u);
}

TEST_F(VrkFormTest, MissingCursorsFallBackToTheSystemArrowWithoutAnError) {
    removeFile("vrk\\skins\\default\\pointer.cur");
    removeFile("vrk\\skins\\default\\hand.cur");
    start();
    EXPECT_TRUE(backend.errors.empty());
    EXPECT_EQ(backend.cursorFiles[static_cast<int>(ui::Cursor::kArrow)], "");
    EXPECT_EQ(backend.cursorFiles[static_cast<int>(ui::Cursor::kHand)], "");
    EXPECT_TRUE(form->startupComplete);
}

TEST_F(VrkFormTest, StartUpNeedsOnlyTheHomeIconNotItsOffVariant) {
    removeFile("vrk\\skins\\default\\home_off.ico");
    start();
    EXPECT_TRUE(backend.errors.empty());
    EXPECT_TRUE(form->startupComplete);
}

TEST_F(VrkFormTest, ACorruptIconIsReportedWithTheDecodersMessage) {
    os.writeFile(path("vrk\\skins\\default\\folder.ico"), "not an icon at all");
    start();
    ASSERT_EQ(backend.errors.size(), 1u);
    EXPECT_NE(backend.errors[0].find("icon"), std::string::npos) << backend.errors[0];
    EXPECT_FALSE(form->runIniReady);
}

TEST_F(VrkFormTest, LanguageNamesOfAnyCaseAndPaddedOrLongValues) {
    const std::string longText(3000, 'x');
    language("Test", "[GUI]\r\nvrkcontrolpanel=  Panel  \r\nSTART=Go\r\nStop=\"Halt\"\r\n"
                     "[Welcome]\r\nRow1=" + longText + "\r\n");
    settings("[vrk]\r\nlanguage=Test\r\n");
    Tvrk_form& f = start();
    EXPECT_EQ(f.VRKTitle->Caption(), "VORLAN WEB SERVER - Panel 1.3.22");
    EXPECT_EQ(f.StrStart, "Go");
    EXPECT_EQ(f.StrStop, "Halt");
    EXPECT_EQ(f.lbl_welcome_row1->Caption(), longText.substr(0, 2047));
    EXPECT_EQ(f.lbl_feedback_title->Caption(), "") << "a missing section leaves its captions empty";
    EXPECT_EQ(f.lbl_vorlan->Caption(), "VORLAN CMS") << "a fixed caption";
    EXPECT_EQ(f.rgp_PHPVersions->items[2], "PHP 5.4");
}

TEST_F(VrkFormTest, AMissingLanguageFileEmptiesEveryCaptionButTheFixedOnes) {
    settings("[vrk]\r\nlanguage=Klingon\r\n");
    Tvrk_form& f = start();
    EXPECT_EQ(f.VRKTitle->Caption(), "VORLAN WEB SERVER -  1.3.22");
    EXPECT_EQ(f.lbl_options->Caption(), "");
    EXPECT_EQ(f.lbl_mysql_title2->Caption(), "");
    EXPECT_EQ(f.lbl_ApacheRunStop->Caption(), "") << "the start word is empty too";
    EXPECT_EQ(f.lbl_VRKInfo_title->Caption(), " ") << "the title and one blank before the version";
    EXPECT_TRUE(backend.errors.empty()) << "nothing is reported";
}

TEST_F(VrkFormTest, ALanguageWithoutFeedbackStillSetsEverythingElse) {
    std::string text;
    os.readFile(path("vrk\\langs\\English.ini"), text);
    const auto at = text.find("[feedback]");
    ASSERT_NE(at, std::string::npos);
    language("NoFeedback", text.substr(0, at) + text.substr(text.find("[options]")));
    settings("[vrk]\r\nlanguage=NoFeedback\r\n");
    Tvrk_form& f = start();
    EXPECT_EQ(f.lbl_feedback_msg->Caption(), "");
    EXPECT_EQ(f.lbl_options->Caption(), "Options");
    EXPECT_EQ(f.lbl_welcome_title->Caption(), IniLookup(text, "welcome", "WelcomeTitle"));
}

TEST_F(VrkFormTest, EachStartWritesVersionAndCreatorWithoutDuplicates) {
    os.writeFile(path("vrk\\tmp\\run.ini"), "[servers]\r\napache=1\r\n[other]\r\nkept=yes\r\n");
    start();
    start();
    const std::string run = os.fileContent(path("vrk\\tmp\\run.ini"));
    EXPECT_EQ(run, "[servers]\r\napache=1\r\n[other]\r\nkept=yes\r\n[gui]\r\nversion=1.3.22\r\n[credit]\r\ncreator=Malverin\r\n");
}

TEST_F(VrkFormTest, ARunStateFileThatCannotBeWrittenStopsTheStartUpThere) {
    os.failingWrites = {"C:\\VORLAN\\\\vrk\\tmp\\run.ini"};
    start();
    ASSERT_EQ(backend.errors.size(), 1u);
    EXPECT_EQ(backend.errors[0], "Unable to write to C:\\VORLAN\\\\vrk\\tmp\\run.ini");
    EXPECT_FALSE(form->runIniReady);
    EXPECT_FALSE(form->LoadingGif) << "no later step ran";
}

TEST_F(VrkFormTest, TabsShowOnePanelAndTheWelcomeNeverComesBack) {
    Tvrk_form& f = start();
    auto visiblePanels = [&] {
        std::vector<std::string> names;
        for (auto* p : {f.PanelVRKInformation, f.PanelPgSQL, f.PanelFTP, f.PanelDB, f.PanelVRK, f.PanelFeedback,
                        f.PanelMySQL, f.PanelApache})
            if (p->Visible()) names.push_back(p->name);
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
    EXPECT_TRUE(f.PanelDB->Visible());
    EXPECT_FALSE(backend.Click(*f.imgTabMySQL)) << "a hidden tab cannot be clicked";
    EXPECT_FALSE(backend.Click(*f.imgTabFeedback));
    f.imgTabApache->SetEnabled(false);
    EXPECT_FALSE(backend.Click(*f.imgTabApache)) << "a disabled tab ignores clicks";
    EXPECT_TRUE(f.PanelDB->Visible());
    EXPECT_FALSE(f.PanelVRK->Visible());
}

TEST_F(VrkFormTest, ControlsStartAsTheirServicesStand) {
    os.services = {{"Apache2.2", 4}, {"MySQL", 4}, {"postgresql-9.1", 4}, {"MongoDB", 1}};
    Tvrk_form& f = start();
    EXPECT_EQ(f.lbl_ApacheRunStop->Caption(), "Stop");
    EXPECT_FALSE(f.rgp_PHPVersions->Enabled());
    EXPECT_TRUE(f.imgWFMRun->Enabled());
    EXPECT_TRUE(f.imgPhpMyAdminRun->Enabled());
    EXPECT_FALSE(f.rgp_MySQLVersions->Enabled());
    EXPECT_TRUE(f.lbl_PgWinAdminRun->Enabled());
    EXPECT_TRUE(f.imgPhpPgAdminRun->Enabled());
    EXPECT_EQ(f.lbl_MongoDBRunStop->Caption(), "Start");
    EXPECT_FALSE(f.imgMongoDBRun->Visible());
    EXPECT_FALSE(f.imgMongoDBAdminRun->Enabled());

    os.services = {{"MySQL", 4}, {"postgresql-9.1", 4}};
    start();
    EXPECT_FALSE(form->imgPhpMyAdminRun->Enabled()) << "web administration needs Apache";
    EXPECT_FALSE(form->lbl_PhpPgAdminRun->Enabled());
    EXPECT_TRUE(form->imgPgWinAdminRun->Enabled()) << "pgAdmin III needs only PostgreSQL";
    EXPECT_FALSE(form->imgStartPage->Enabled());
    EXPECT_FALSE(form->lbl_WFMRun->Enabled());
}

TEST_F(VrkFormTest, ClosingWithoutStopAtExitOrPurgeRunsNothing) {
    os.services = {{"Apache2.2", 4}};
    os.writeFile(path("tmp\\php\\sess_1"), "x");
    Tvrk_form& f = start();
    os.log.clear();
    f.CloseApplication();
    EXPECT_TRUE(os.commands().empty());
    EXPECT_TRUE(os.fileExists(path("tmp\\php\\sess_1")));
    EXPECT_FALSE(f.SettingsIni);
    EXPECT_FALSE(f.RunIni);
    EXPECT_TRUE(backend.quit);
}

TEST_F(VrkFormTest, TheMinimiseImageMinimises) {
    Tvrk_form& f = start();
    backend.Click(*f.btnMinimize);
    EXPECT_TRUE(backend.minimized);
    EXPECT_FALSE(backend.quit);
}

} // namespace
} // namespace vrk::testing
