#pragma once
// The main window of the control panel: its controls under the names of its
// window definition, its state record and its handlers. Its parts, each a
// file of ui/: the definition (vrk_definition.cpp), the life cycle, settings,
// skin, language and tabs (vrk.cpp), the servers, the status poll, stop-all,
// autorun and the purge (vrk_servers.cpp), the looks of the links and of the
// start/stop controls (vrk_looks.cpp), the launchers (vrk_launchers.cpp) and
// the information panel (vrk_information.cpp). What it knows of the servers
// without any window is control/'s catalogue.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "RunState.h"
#include "Settings.h"
#include "Catalogue.h"
#include "Application.h"
#include "Control.h"
#include "Definition.h"

namespace vrk {

class TOptionsDialog;

class Tvrk_form : public ui::Form {
public:
    // Builds the window definition. `programFile` is the full path of the
    // program's own file (the installation root is its folder).
    Tvrk_form(ui::Application& app, std::string programFile);
    ~Tvrk_form() override;

    // --- controls: window header ---------------------------------------------------
    ui::Image* imgVRKIcon;
    ui::Label* VRKTitle;
    ui::Image* btnMinimize;
    ui::Image* btnExit;
    // tool bar
    ui::Image *imgStartPage, *imgVRKFolder, *imgVORLAN, *imgServicesManager, *imgTaskManager, *imgSystemMonitor,
        *imgGroupPolicy, *imgOptions;
    ui::Label *lbl_vrkStart, *lbl_vrkFolder, *lbl_vorlan, *lbl_srvmgr, *lbl_taskmgr, *lbl_spm, *lbl_grp_police,
        *lbl_options;
    // server list
    ui::Image *imgApacheRun, *imgMySQLRun, *imgPgSQLRun, *imgMongoDBRun, *imgFTPRun;
    ui::AnimatedImage *frmGif, *myGif, *pgGif, *mongoGif, *ftpGif;
    ui::Label *lbl_apache_title, *lbl_mysql_title, *lbl_pgsql_title, *lbl_mongoDB_title, *lbl_ftp_title;
    // tab strip
    ui::Image *imgTabVRK, *imgTabApache, *imgTabDB, *imgTabFTP, *imgTabFeedback, *imgTabMySQL, *imgTabPgSQL;
    ui::Timer* Timer1;
    // panels
    ui::Panel *PanelVRKInformation, *PanelPgSQL, *PanelFTP, *PanelDB, *PanelVRK, *PanelFeedback, *PanelMySQL,
        *PanelApache;
    // PanelVRK
    ui::Image* imgVORLANLogo;
    ui::Label *lbl_welcome_title, *lbl_welcome_subtitle, *lbl_welcome_row1;
    // PanelVRKInformation
    ui::Shape* Shape5;
    ui::Label *lbl_VRKInfo_title, *lbl_InfoApacheVersion, *lbl_InfoNginxVersion, *lbl_InfoPerlVersion,
        *lbl_InfoPHPVersion, *lbl_InfoMySQLVersion, *lbl_InfoPgSQLVersion, *lbl_InfoMongoDBVersion, *lbl_InfoFTPVersion;
    ui::Label *strApacheVersion, *strNginxVersion, *strPerlVersion, *strPHPVersion, *strMySQLVersion, *strPgSQLVersion,
        *strMongoDBVersion, *strFTPVersion, *strCubridVersion;
    // PanelApache
    ui::Image* imgLogoApache;
    ui::RadioGroup* rgp_PHPVersions;
    ui::Image *imgApacheRunStop, *imgWFMRun, *imgLogoMemcache, *imgMemcacheRunStop, *imgMemAdminRun;
    ui::Label *lbl_ApacheRunStop, *lbl_WFMRun, *lbl_MemcacheRunStop, *lbl_MemAdminRun;
    ui::Shape *Shape2, *Shape6;
    // PanelDB
    ui::Image* imgLogoMySQL;
    ui::RadioGroup* rgp_MySQLVersions;
    ui::Image *imgMySQLRunStop, *imgPhpMyAdminRun, *imgLogoPgSQL, *imgPgSQLRunStop, *imgPhpPgAdminRun,
        *imgPgWinAdminRun, *imgLogoMongoDB, *imgMongoDBRunStop, *imgMongoDBAdminRun;
    ui::Label *lbl_MySQLRunStop, *lbl_PhpMyAdminRun, *lbl_PgSQLRunStop, *lbl_PhpPgAdminRun, *lbl_PgWinAdminRun,
        *lbl_MongoDBRunStop, *lbl_MongoDBAdminRun;
    ui::Shape *Shape7, *Shape8;
    // PanelFTP
    ui::Image *imgFTPRunStop, *imgFTPAdmin;
    ui::Label *lbl_FTPRunStop, *lbl_ftpAdmin, *lbl_ftp_title2;
    ui::Shape* Shape4;
    // PanelMySQL, PanelPgSQL
    ui::Shape *Shape1, *Shape3;
    ui::Label *lbl_mysql_title2, *lbl_pgsql_title2;
    // PanelFeedback
    ui::Label *lbl_feedback_title, *lbl_feedback_descript, *lbl_feedback_fullname, *lbl_feedback_email,
        *lbl_feedback_msg, *lbl_email_sent;
    ui::Edit *ed_feedback_fullname, *ed_feedback_email;
    ui::Memo* ed_feedback_msg;
    ui::Image* imgMailSend;

    // --- state record ---------------------------------------------------------------
    std::string AppPath;
    std::string AppVersion;
    std::string StrStart;
    std::string StrStop;
    std::string PgSQLBinPath;
    std::string PgSQLDataPath;
    std::unique_ptr<RunState> RunIni;
    std::unique_ptr<Settings> SettingsIni;
    bool ApacheBusy = false;
    bool MySQLBusy = false, PgSQLBusy = false, FTPBusy = false, MongoDBBusy = false, MemcacheBusy = false;
    bool StopAllBusy = false;
    bool AutorunApache = false, AutorunMySQL = false, AutorunPgSQL = false, AutorunMongoDB = false, AutorunFTP = false;
    std::int32_t AutorunPHPIndex = 0;
    std::int32_t AutorunMySQLIndex = 0;
    std::string LanguageName;
    std::shared_ptr<const Picture> LoadingGif;
    bool StopServicesAtExit = false;
    bool AutorunEnabled = false;
    bool AutorunDone = false;
    bool ClearTempFiles = false;
    std::string AppTitle;
    std::string SkinName;
    std::string SkinPath;
    std::shared_ptr<const Picture> BgJpeg; // the decoded background; the backend paints it as the tiled brush
    std::shared_ptr<const Picture> Background() const override { return BgJpeg; }
    // Set once FormClose has released the files: nothing may touch them after.
    bool Released = false;

    // --- handlers ------------------------------------------------------------------
    void FormCreate();
    // What the program's entry does once both windows exist: the first
    // status poll, then the autorun pass when it is on.
    void FinishStartup();
    void FormClose(ui::CloseAction& action);
    // Told when the close begins, before its stop-all and purge: from then
    // on a new start of the program waits for this one to end.
    std::function<void()> closeBegins;
    void ReadSettings();
    std::string GetSkinPath() const;
    void LoadSkinIcons();
    void LoadSkinCursors();
    void LoadBackground(const std::string& fileName, std::uint8_t quality);
    void ApplyLanguage();
    // The information panel's title: the language's, one blank and the
    // panel's version.
    void ShowInformationTitle();
    void imgTabVRKClick();
    void imgTabApacheClick();
    void imgTabDBClick();
    void imgTabFTPClick();
    void imgTabMySQLClick();
    void imgTabPgSQLClick();
    void imgMailSendClick();
    void MinimizeApplication();
    void CloseApplication();

    // The servers.
    void ServerApacheRun();
    void ServerMYSQLRun();
    void ServerPGSQLRun();
    void ServerFTPRun();
    void ServerMongoDBRun();
    void ServerMemcacheRun();
    void SwapIndicator(ui::Control* hidden, ui::Control* shown, std::int32_t delayMs);
    void StopAllServers();
    // At the close, before its stop-all: servers still starting are given a
    // few seconds to come up, so that the stop-all stops them too.
    void WaitForStartingServers();
    void AutorunServers();
    void PurgeTempFiles();
    void Timer1Timer();
    void ShowComponentVersions();
    // Each server's controls as its service stands.
    void SetServerControlsFromServices();

    // The administration links: an image and the label under it, which act
    // alike, with the skin's pictures for when they can be followed and when
    // not (vrk_looks.cpp).
    enum Link { kStartPage, kFileManager, kMemAdmin, kPhpMyAdmin, kPhpPgAdmin, kPgWinAdmin, kMongoDBAdmin, kFTPAdmin };

    // Launchers.
    void OpenVRKStartPage();
    void OpenWFMApplication();
    void OpenMemAdminApplication();
    void OpenPhpMyAdminDialog();
    void OpenPhpPGAdmin();
    void OpenMongoDBAdminDialog();
    void OpenVORLANWebPage();
    void OpenVRKFolder();
    void OpenServicesManager();
    void OpenTaskManager();
    void OpenSPMDialog();
    void OpenGroupPolicyDialog();
    void OpenPgAdmin3Application();
    void OpenFTPAdministration();
    void OpenOptionsDialog();
    // The options dialog, created by the program's entry after this window.
    TOptionsDialog* OptionsDialog = nullptr;

    Platform& os() { return app().os(); }
    const std::string& programFile() const { return programFile_; }

    // The window's definition, one row per control.
    static std::span<const ui::ControlDef<Tvrk_form>> Definition();

private:
    void BuildLayout();
    // Loads the skin file the definition names for the image.
    void LoadDefinedPicture(ui::Image* image);
    // Whose rights a shell call runs with: the signed-in user's (pages,
    // the folder) or the panel's own (the consoles).
    enum class Rights { kUser, kPanel };
    void Shell(Rights rights, const ShellCall& call);
    ShellCall Page(const std::string& address);
    ShellCall SystemProgram(const std::string& program, const std::string& parameters = {});
    // A console of the management console, by its file in the system folder.
    void OpenConsole(const char* console);
    // What the servers' commands are formed from.
    catalogue::Places Places();
    // Runs a server's command, hidden: waited for, or (NET) started through
    // the shell and not waited for. The exit code, 0 for the shell's.
    std::uint32_t RunCommand(const catalogue::Command& command);
    // Whether the server's service runs now (the catalogue's test).
    bool ServerRuns(catalogue::Server server);
    // The busy flag of the server's handler.
    bool Busy(catalogue::Server server) const;
    // Loads a picture of the skin into the image; with `attempts`, as one of
    // their parts, so that a missing picture keeps nothing else from being set.
    void ShowPicture(ui::Image* image, const char* file, ui::Attempts* attempts = nullptr);
    // The look of a link, in its parts: the picture for `on` (or off), then
    // the enabled state of its image and of its label.
    void ShowLink(Link link, bool on, ui::Attempts* attempts = nullptr);
    void ShowLinkPicture(Link link, bool on, ui::Attempts* attempts = nullptr);
    void EnableLink(Link link, bool on);
    // The look of a server's start/stop image and label, in its parts: the
    // picture that stops it while it runs (or starts it), then the word.
    void ShowStartStop(catalogue::Server server, bool running, ui::Attempts* attempts = nullptr);
    void ShowStartStopPicture(catalogue::Server server, bool running, ui::Attempts* attempts = nullptr);
    void ShowStartStopCaption(catalogue::Server server, bool running);
    bool Closing = false;
    void ShowOnly(ui::Panel* panel, std::initializer_list<ui::Panel*> hide);
    std::string programFile_;
    bool versionsShown_ = false;
    std::string infoTitle_; // the information title as the language has it
};

} // namespace vrk
