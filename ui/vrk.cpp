// The main window's life cycle: start-up, settings, skin, tabs and close.
#include "vrk.h"

#include "InstallTree.h"
#include "Language.h"
#include "Version.h"
#include "VRKLibrary.h"

namespace vrk {
using namespace ui;
namespace cat = catalogue;

Tvrk_form::Tvrk_form(Application& app, std::string programFile)
    : Form("vrk_form", app), programFile_(std::move(programFile)) {
    BuildLayout();
    onCreate = [this] { FormCreate(); };
    onClose = [this](CloseAction& action) { FormClose(action); };
}

Tvrk_form::~Tvrk_form() = default;

void Tvrk_form::FormCreate() {
    // Where everything is.
    AppTitle = "VORLAN WEB SERVER";
    AutorunDone = false;
    AppPath = tree::InstallationRoot(programFile_);
    PgSQLBinPath = AppPath + tree::kPgSQLBin;
    PgSQLDataPath = AppPath + tree::kPgSQLData;
    // What writes cut short by a crash left behind.
    for (const char* folder : tree::kWrittenFolders) RemoveInterruptedWrites(os(), AppPath, folder);
    // The settings, which also apply the language.
    SettingsIni = std::make_unique<Settings>(os(), AppPath + tree::kSettingsFile, &app());
    ReadSettings();
    // From here on each step stands on its own: one that fails is reported
    // (once per cause) and leaves out only what it would have made, no
    // background or no busy animation; the steps after it still run, and so
    // do the status poll, the autorun pass and the close.
    auto step = [this](const std::function<void()>& work) { app().Guard(work); };
    // The skin.
    step([this] { LoadSkinIcons(); });
    LoadSkinCursors();
    step([this] { LoadBackground(SkinPath + "\\bg.jpg", 100); });
    // The state file for other programs: who wrote it. The poll and stop-all
    // write to it also when this first write fails.
    RunIni = std::make_unique<RunState>(os(), AppPath + tree::kRunFile, &app());
    step([this] { RunIni->WriteIdentity(); });
    // The loading animation, one copy per busy indicator.
    step([this] {
        const std::string file = AppPath + tree::kSkinsFolder + SkinName + tree::kLoadingGif;
        LoadingGif = LoadPicture(os(), file);
        for (AnimatedImage* busy : {frmGif, pgGif, ftpGif, myGif, mongoGif}) {
            busy->SetPicture(LoadingGif, file);
            busy->SetTransparent(true);
            busy->animate = true;
        }
    });
    // The servers' logos.
    step([this] {
        for (Image* logo : {imgLogoApache, imgLogoMemcache, imgLogoMySQL, imgLogoPgSQL, imgLogoMongoDB})
            LoadDefinedPicture(logo);
    });
    // Autorun starts from a clean slate: every server stopped.
    AutorunEnabled = SettingsIni->Read(setting::kAutorun);
    if (AutorunEnabled) step([this] { StopAllServers(); });
    // The servers as they stand. The versions of the bundle wait until the
    // information panel is first shown: reading eleven version resources
    // takes a tenth of the start-up, for a panel few open.
    step([this] { SetServerControlsFromServices(); });
}

void Tvrk_form::FinishStartup() {
    if (app().terminated()) return;
    // Whatever the start-up could not make, the poll and the pass do their
    // work: each does without what is missing.
    app().Guard([this] { Timer1Timer(); });
    if (AutorunEnabled && !app().terminated()) app().Guard([this] { AutorunServers(); });
}

void Tvrk_form::ReadSettings() {
    const auto held = SettingsIni->Hold();
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
    // In the skin's own order: a picture that cannot be loaded stops the
    // loads after it.
    for (Image* image :
         {btnMinimize,    btnExit,          imgStartPage,   imgVRKFolder,   imgVORLAN,  imgServicesManager,
          imgTaskManager, imgSystemMonitor, imgGroupPolicy, imgOptions,     imgTabVRK,  imgTabApache,
          imgTabMySQL,    imgTabPgSQL,      imgTabFTP,      imgTabFeedback, imgTabDB,   imgApacheRun,
          imgMySQLRun,    imgPgSQLRun,      imgFTPRun,      imgMongoDBRun,  imgMailSend})
        LoadDefinedPicture(image);
}

void Tvrk_form::LoadDefinedPicture(Image* image) {
    image->LoadFromFile(SkinPath + RowOf(Definition(), *image).picture);
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
    const IniFile languageFile(os(), tree::LanguageFile(AppPath, LanguageName));
    const IniFile::Held held(languageFile);
    StrStart = LanguageText(languageFile, language::kStart);
    StrStop = LanguageText(languageFile, language::kStop);
    closingReason = LanguageText(languageFile, language::kStoppingServers);
    auto text = [&](const char* section, const char* key) { return languageFile.ReadString(section, key, ""); };
    ApplyCaptions(*this, Definition(), {text, AppTitle, kPanelVersion});
    infoTitle_ = lbl_VRKInfo_title->caption();
    ShowInformationTitle();
}

void Tvrk_form::ShowInformationTitle() {
    // Formed whole each time, from the language's title: it holds the
    // version once, with its blank, whether the versions have been read
    // (the version then) or not yet (the blank that waits for it).
    lbl_VRKInfo_title->SetCaption(infoTitle_ + " " + AppVersion);
}

void Tvrk_form::SetServerControlsFromServices() {
    // A picture that cannot be loaded leaves the captions and links of every
    // row set all the same. A web administration link needs Apache too.
    Attempts attempts(app());
    const bool ftp = ServerRuns(cat::kFTP);
    ShowStartStopPicture(cat::kFTP, ftp, &attempts);
    ShowLinkPicture(kFTPAdmin, ftp, &attempts);
    ShowStartStopCaption(cat::kFTP, ftp);

    const bool memcache = ServerRuns(cat::kMemcache);
    ShowStartStop(cat::kMemcache, memcache, &attempts);
    ShowLink(kMemAdmin, memcache && ServerRuns(cat::kApache), &attempts);

    const bool mysql = ServerRuns(cat::kMySQL);
    ShowStartStop(cat::kMySQL, mysql, &attempts);
    rgp_MySQLVersions->SetEnabled(!mysql);
    ShowLink(kPhpMyAdmin, mysql && ServerRuns(cat::kApache), &attempts);

    const bool pgsql = ServerRuns(cat::kPgSQL);
    ShowStartStop(cat::kPgSQL, pgsql, &attempts);
    ShowLink(kPgWinAdmin, pgsql, &attempts);
    ShowLink(kPhpPgAdmin, pgsql && ServerRuns(cat::kApache), &attempts);

    const bool apache = ServerRuns(cat::kApache);
    ShowStartStop(cat::kApache, apache, &attempts);
    ShowLink(kFileManager, apache, &attempts);
    rgp_PHPVersions->SetEnabled(!apache);
    if (!apache) imgStartPage->SetEnabled(false);

    const bool mongo = ServerRuns(cat::kMongoDB);
    ShowStartStop(cat::kMongoDB, mongo, &attempts);
    ShowLink(kMongoDBAdmin, mongo && ServerRuns(cat::kApache), &attempts);
    imgMongoDBRun->SetVisible(mongo);
    attempts.Report();
}

void Tvrk_form::FormClose(CloseAction&) {
    // A close request handled inside the stop-all below must not start a
    // second close; the end of the session must: the close it came into
    // cannot go on before the process is ended, so this one does the work.
    if (Closing && !sessionEnding()) return;
    Closing = true;
    if (closeBegins) closeBegins();
    // The close always ends the program: a step that fails is reported and
    // the close goes on.
    if (StopServicesAtExit)
        app().Guard(
            [this] {
                WaitForStartingServers();
                StopAllServers();
            },
            Origin::kUser);
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
    if (!versionsShown_) {
        versionsShown_ = true;
        ShowComponentVersions();
        ShowInformationTitle();
    }
    ShowOnly(PanelVRKInformation, {PanelMySQL, PanelPgSQL, PanelFTP, PanelApache, PanelFeedback, PanelVRK, PanelDB});
}
void Tvrk_form::imgTabApacheClick() {
    ShowOnly(PanelApache, {PanelVRK, PanelVRKInformation, PanelMySQL, PanelPgSQL, PanelFTP, PanelFeedback, PanelDB});
}
// The database tab leaves PanelFTP as it is, unlike every other tab: it
// is deliberate, as the panel has always done it; PanelDB is above PanelFTP
// in the stacking order and covers it whole.
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
