// The main window's life cycle: start-up, settings, skin, tabs and close.
#include "ui/vrk.h"

#include "config/InstallTree.h"
#include "config/Version.h"
#include "host/VRKLibrary.h"

namespace vrk {
using namespace ui;

Tvrk_form::Tvrk_form(Application& app, std::string programFile)
    : Form("vrk_form", app), programFile_(std::move(programFile)) {
    BuildLayout();
    BindServerHandlers();
    BindLaunchers();
    onCreate = [this] { FormCreate(); };
    onClose = [this](CloseAction& action) { FormClose(action); };
}

Tvrk_form::~Tvrk_form() = default;

void Tvrk_form::FormCreate() {
    // 1-3: names and paths
    AppTitle = "VORLAN WEB SERVER";
    AutorunDone = false;
    AppPath = programFile_.substr(0, programFile_.find_last_of("\\/") + 1);
    PgSQLBinPath = AppPath + tree::kPgSQLBin;
    PgSQLDataPath = AppPath + tree::kPgSQLData;
    // 4-5: settings and language
    SettingsIni = std::make_unique<Settings>(os(), AppPath + tree::kSettingsFile, &app());
    ReadSettings();
    settingsReady = true;
    // 6-8: skin
    LoadSkinIcons();
    LoadSkinCursors();
    LoadBackground(SkinPath + "\\bg.jpg", 100);
    // 9: the runtime state file
    RunIni = std::make_unique<RunState>(os(), AppPath + tree::kRunFile, &app());
    RunIni->WriteIdentity();
    runIniReady = true;
    // 10: the loading animation, one copy per busy indicator
    LoadingGif = LoadPicture(os(), AppPath + tree::kSkinsFolder + SkinName + tree::kLoadingGif);
    for (AnimatedImage* busy : {frmGif, pgGif, ftpGif, myGif, mongoGif}) {
        busy->SetPicture(LoadingGif, AppPath + tree::kSkinsFolder + SkinName + tree::kLoadingGif);
        busy->SetTransparent(true);
        busy->animate = true;
    }
    loadingGifReady = true;
    // 11: logos
    imgLogoApache->LoadFromFile(SkinPath + "\\apache_logo.ico");
    imgLogoMemcache->LoadFromFile(SkinPath + "\\memcached_logo.ico");
    imgLogoMySQL->LoadFromFile(SkinPath + "\\mysql_logo.ico");
    imgLogoPgSQL->LoadFromFile(SkinPath + "\\postgresql_logo.ico");
    imgLogoMongoDB->LoadFromFile(SkinPath + "\\mongodb_logo.ico");
    // 12: autorun starts from a clean slate
    AutorunEnabled = SettingsIni->Read(setting::kAutorun);
    if (AutorunEnabled) StopAllServers();
    // 13-15
    SetServerControlsFromServices();
    ShowComponentVersions();
    lbl_VRKInfo_title->SetCaption(lbl_VRKInfo_title->Caption() + " " + AppVersion);
    startupComplete = true;
}

void Tvrk_form::FinishStartup() {
    if (app().Terminated()) return;
    // A start-up that stopped early has not made what the poll and the
    // autorun pass work on; they are then left out, and the window stays up
    // with the error it has shown.
    if (runIniReady) app().Guard([this] { Timer1Timer(); });
    if (!AutorunEnabled || app().Terminated()) return;
    if (startupComplete) {
        app().Guard([this] { AutorunServers(); });
    } else {
        // The start-up's stop-all has disabled the exit, and the poll gives
        // it back only once the pass is done: without a pass it would stay
        // disabled for the whole run.
        AutorunDone = true;
        btnExit->SetEnabled(true);
    }
}

void Tvrk_form::ReadSettings() {
    StopServicesAtExit = SettingsIni->Read(setting::kStopServicesAtExit);
    ClearTempFiles = SettingsIni->Read(setting::kClearTempFiles);
    LanguageName = SettingsIni->Read(setting::kLanguage);
    SkinName = SettingsIni->Read(setting::kSkin);
    rgp_PHPVersions->SetItemIndex(SettingsIni->Read(setting::kLatestPhpVersion));
    SkinPath = GetSkinPath();
    ApplyLanguage();
}

std::string Tvrk_form::GetSkinPath() const { return AppPath + tree::kSkinsFolder + SkinName; }

void Tvrk_form::LoadSkinIcons() {
    const std::pair<Image*, const char*> icons[] = {
        {btnMinimize, "\\minimize.ico"},   {btnExit, "\\close.ico"},         {imgStartPage, "\\home.ico"},
        {imgVRKFolder, "\\folder.ico"},    {imgVORLAN, "\\web.ico"},         {imgServicesManager, "\\services.ico"},
        {imgTaskManager, "\\tasks.ico"},   {imgSystemMonitor, "\\monitor.ico"}, {imgGroupPolicy, "\\groups.ico"},
        {imgOptions, "\\options.ico"},     {imgTabVRK, "\\vrk.ico"},         {imgTabApache, "\\apache.ico"},
        {imgTabMySQL, "\\mysql.ico"},      {imgTabPgSQL, "\\pgsql.ico"},     {imgTabFTP, "\\ftp.ico"},
        {imgTabFeedback, "\\comment.ico"}, {imgTabDB, "\\database.ico"},     {imgApacheRun, "\\ok.ico"},
        {imgMySQLRun, "\\ok.ico"},         {imgPgSQLRun, "\\ok.ico"},        {imgFTPRun, "\\ok.ico"},
        {imgMongoDBRun, "\\ok.ico"},       {imgMailSend, "\\mail_send.ico"},
    };
    for (const auto& [image, file] : icons) image->LoadFromFile(SkinPath + file);
}

void Tvrk_form::LoadSkinCursors() {
    app().LoadCursorSlot(Cursor::kArrow, SkinPath + "\\pointer.cur");
    app().LoadCursorSlot(Cursor::kHand, SkinPath + "\\hand.cur");
}

void Tvrk_form::LoadBackground(const std::string& fileName, std::uint8_t /*quality: encoding only*/) {
    auto picture = LoadPicture(os(), fileName);
    BgJpeg = std::move(picture);
    Changed(); // the window's brush is now the picture
}

void Tvrk_form::ApplyLanguage() {
    const IniFile language(os(), AppPath + tree::kLanguagesFolder + LanguageName + tree::kLanguageExtension);
    auto text = [&](const char* section, const char* key) { return language.ReadString(section, key, ""); };
    VRKTitle->SetCaption(AppTitle + " - " + text("gui", "VRKControlPanel") + " " + kPanelVersion);
    StrStart = text("gui", "Start");
    StrStop = text("gui", "Stop");
    const std::tuple<Control*, const char*, const char*> captions[] = {
        {lbl_vrkStart, "gui", "StartPage"},
        {lbl_vrkFolder, "gui", "VRKFolder"},
        {lbl_srvmgr, "gui", "ServicesManager"},
        {lbl_taskmgr, "gui", "TaskManager"},
        {lbl_spm, "gui", "SystemMonitor"},
        {lbl_grp_police, "gui", "GroupPolicies"},
        {lbl_options, "gui", "Options"},
        {lbl_VRKInfo_title, "info", "VRKInfoTitle"},
        {lbl_InfoApacheVersion, "info", "ApacheVersion"},
        {lbl_InfoNginxVersion, "info", "NginxVersion"},
        {lbl_InfoPerlVersion, "info", "PerlVersion"},
        {lbl_InfoPHPVersion, "info", "PHPVersion"},
        {lbl_InfoMySQLVersion, "info", "MYSQLVersion"},
        {lbl_InfoPgSQLVersion, "info", "PGSQLVersion"},
        {lbl_InfoFTPVersion, "info", "FILEZILLAVersion"},
        {lbl_InfoMongoDBVersion, "info", "MONGODBVersion"},
        {lbl_apache_title, "gui", "ApacheServer"},
        {rgp_PHPVersions, "gui", "SelectPHPVersion"},
        {lbl_WFMRun, "gui", "FileManager"},
        {lbl_MemAdminRun, "memcache", "ButtonMemcacheAdmin"},
        {lbl_mysql_title, "gui", "MySQLDatabase"},
        {lbl_mysql_title2, "gui", "MySQLDatabase"},
        {rgp_MySQLVersions, "gui", "SelectMySQLVersion"},
        {lbl_PhpMyAdminRun, "mysql", "PhpMyAdmin"},
        {lbl_pgsql_title, "gui", "PostgreDatabase"},
        {lbl_pgsql_title2, "gui", "PostgreDatabase"},
        {lbl_PhpPgAdminRun, "postgresql", "PhpPgAdmin"},
        {lbl_PgWinAdminRun, "postgresql", "PgWinAdmin"},
        {lbl_mongoDB_title, "gui", "MongoDBDatabase"},
        {lbl_MongoDBAdminRun, "mongodb", "ButtonMongoDBAdmin"},
        {lbl_ftp_title, "gui", "FilezillaFTPServer"},
        {lbl_ftp_title2, "gui", "FilezillaFTPServer"},
        {lbl_ftpAdmin, "ftp", "ButtonFTPAdmin"},
        {lbl_welcome_title, "welcome", "WelcomeTitle"},
        {lbl_welcome_subtitle, "welcome", "WelcomeSubtitle"},
        {lbl_welcome_row1, "welcome", "Row1"},
        {lbl_feedback_title, "feedback", "FeedbackTitle"},
        {lbl_feedback_descript, "feedback", "FeedbackDescription"},
        {lbl_feedback_fullname, "feedback", "FeedbackFullname"},
        {lbl_feedback_email, "feedback", "FeedbackEmail"},
        {lbl_feedback_msg, "feedback", "FeedbackMessage"},
    };
    for (const auto& [control, section, key] : captions) control->SetCaption(text(section, key));
}

void Tvrk_form::SetServerControlsFromServices() {
    auto running = [this](const char* service) { return ServiceRunning(os(), "", service); };
    auto show = [this](Image* image, const char* file) { image->LoadFromFile(SkinPath + file); };
    auto enable = [](std::initializer_list<Control*> controls, bool on) {
        for (Control* c : controls) c->SetEnabled(on);
    };

    if (running("FileZilla Server")) {
        show(imgFTPRunStop, "\\stop.ico");
        show(imgFTPAdmin, "\\user.ico");
        lbl_FTPRunStop->SetCaption(StrStop);
    } else {
        show(imgFTPRunStop, "\\run.ico");
        show(imgFTPAdmin, "\\user_off.ico");
        lbl_FTPRunStop->SetCaption(StrStart);
    }

    if (running("memcached Server")) {
        show(imgMemcacheRunStop, "\\stop.ico");
        lbl_MemcacheRunStop->SetCaption(StrStop);
        const bool apache = running("Apache2.2");
        show(imgMemAdminRun, apache ? "\\wfm.ico" : "\\wfm_off.ico");
        enable({lbl_MemAdminRun, imgMemAdminRun}, apache);
    } else {
        show(imgMemcacheRunStop, "\\run.ico");
        lbl_MemcacheRunStop->SetCaption(StrStart);
        show(imgMemAdminRun, "\\wfm_off.ico");
        enable({lbl_MemAdminRun, imgMemAdminRun}, false);
    }

    if (running("MySQL")) {
        show(imgMySQLRunStop, "\\stop.ico");
        lbl_MySQLRunStop->SetCaption(StrStop);
        rgp_MySQLVersions->SetEnabled(false);
        const bool apache = running("Apache2.2");
        show(imgPhpMyAdminRun, apache ? "\\database.ico" : "\\database_off.ico");
        enable({imgPhpMyAdminRun, lbl_PhpMyAdminRun}, apache);
    } else {
        show(imgMySQLRunStop, "\\run.ico");
        show(imgPhpMyAdminRun, "\\database_off.ico");
        enable({imgPhpMyAdminRun, lbl_PhpMyAdminRun}, false);
        lbl_MySQLRunStop->SetCaption(StrStart);
        rgp_MySQLVersions->SetEnabled(true);
    }

    if (running("postgresql-9.1")) {
        show(imgPgSQLRunStop, "\\stop.ico");
        show(imgPgWinAdminRun, "\\database.ico");
        imgPgWinAdminRun->SetEnabled(true);
        const bool apache = running("Apache2.2");
        show(imgPhpPgAdminRun, apache ? "\\database.ico" : "\\database_off.ico");
        enable({lbl_PhpPgAdminRun, imgPhpPgAdminRun}, apache);
        lbl_PgWinAdminRun->SetEnabled(true);
        lbl_PgSQLRunStop->SetCaption(StrStop);
    } else {
        show(imgPgSQLRunStop, "\\run.ico");
        show(imgPhpPgAdminRun, "\\database_off.ico");
        show(imgPgWinAdminRun, "\\database_off.ico");
        enable({imgPhpPgAdminRun, imgPgWinAdminRun, lbl_PhpPgAdminRun, lbl_PgWinAdminRun}, false);
        lbl_PgSQLRunStop->SetCaption(StrStart);
    }

    if (running("Apache2.2")) {
        show(imgApacheRunStop, "\\stop.ico");
        lbl_ApacheRunStop->SetCaption(StrStop);
        show(imgWFMRun, "\\wfm.ico");
        enable({lbl_WFMRun, imgWFMRun}, true);
        rgp_PHPVersions->SetEnabled(false);
    } else {
        show(imgApacheRunStop, "\\run.ico");
        lbl_ApacheRunStop->SetCaption(StrStart);
        show(imgWFMRun, "\\wfm_off.ico");
        enable({lbl_WFMRun, imgWFMRun}, false);
        rgp_PHPVersions->SetEnabled(true);
        imgStartPage->SetEnabled(false);
    }

    if (running("MongoDB")) {
        show(imgMongoDBRunStop, "\\stop.ico");
        const bool apache = running("Apache2.2");
        show(imgMongoDBAdminRun, apache ? "\\database.ico" : "\\database_off.ico");
        enable({lbl_MongoDBAdminRun, imgMongoDBAdminRun}, apache);
        imgMongoDBRun->SetVisible(true);
        lbl_MongoDBRunStop->SetCaption(StrStop);
    } else {
        show(imgMongoDBRunStop, "\\run.ico");
        show(imgMongoDBAdminRun, "\\database_off.ico");
        enable({imgMongoDBAdminRun, lbl_MongoDBAdminRun}, false);
        imgMongoDBRun->SetVisible(false);
        lbl_MongoDBRunStop->SetCaption(StrStart);
    }
}

void Tvrk_form::FormClose(CloseAction&) {
    // A close request handled inside the stop-all below must not start a
    // second close.
    if (Closing) return;
    Closing = true;
    // The close always ends the program: a step that fails is reported and
    // the close goes on. Only what the start-up has set up is used: a
    // start-up that failed early leaves nothing to stop.
    if (StopServicesAtExit && runIniReady) app().Guard([this] { StopAllServers(); }, Origin::kUser);
    if (ClearTempFiles && !AppPath.empty()) app().Guard([this] { PurgeTempFiles(); }, Origin::kUser);
    BgJpeg.reset();
    LoadingGif.reset();
    Released = true;
    SettingsIni.reset();
    RunIni.reset();
    // The window goes at once; the program ends when the waits still
    // outstanding (a handler inside a command) have returned.
    Hide();
    app().Terminate();
}

void Tvrk_form::ShowOnly(Panel* panel, std::initializer_list<Panel*> hide) {
    for (Panel* p : hide) p->SetVisible(false);
    panel->SetVisible(true);
}

void Tvrk_form::imgTabVRKClick() {
    ShowOnly(PanelVRKInformation, {PanelMySQL, PanelPgSQL, PanelFTP, PanelApache, PanelFeedback, PanelVRK, PanelDB});
}
void Tvrk_form::imgTabApacheClick() {
    ShowOnly(PanelApache, {PanelVRK, PanelVRKInformation, PanelMySQL, PanelPgSQL, PanelFTP, PanelFeedback, PanelDB});
}
void Tvrk_form::imgTabDBClick() {
    ShowOnly(PanelDB, {PanelVRK, PanelVRKInformation, PanelApache, PanelMySQL, PanelPgSQL, PanelFeedback});
}
void Tvrk_form::imgTabFTPClick() {
    ShowOnly(PanelFTP, {PanelVRK, PanelVRKInformation, PanelApache, PanelMySQL, PanelPgSQL, PanelFeedback, PanelDB});
}
void Tvrk_form::imgTabMySQLClick() {
    ShowOnly(PanelMySQL, {PanelVRK, PanelVRKInformation, PanelPgSQL, PanelFTP, PanelApache, PanelFeedback, PanelDB});
}
void Tvrk_form::imgTabPgSQLClick() {
    ShowOnly(PanelPgSQL, {PanelVRK, PanelVRKInformation, PanelApache, PanelMySQL, PanelFTP, PanelFeedback, PanelDB});
}

void Tvrk_form::imgMailSendClick() {}

void Tvrk_form::MinimizeApplication() { Minimize(); }

void Tvrk_form::CloseApplication() { Close(); }

} // namespace vrk
