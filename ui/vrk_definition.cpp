// The main window's definition: the window, then every control in the
// order that stacks them, region by region, as the window is created.
// Captions marked SetByProgram are the start/stop words and the version
// texts; the state pictures of the start/stop and link images are set from
// the servers' states, not here. An image that acts has a caption of its own
// that is never shown: the name a screen reader announces, the caption of
// the labels it is named after and the server it acts on, or for the two
// window buttons their own. The images that act and the version choices
// take the keyboard focus, in the tab order at the end.
#include "vrk.h"

#include "Definition.h"

namespace vrk {
using namespace ui;

namespace {

using T = Tvrk_form;
#define FIELD(control) .field = &T::control, .name = #control

const Color kLinkGreen = FromBgr(3719326);   // link and button captions
const Color kPanelBlue = FromBgr(5654586);   // panels and radio groups
const Color kMySQLItems = FromBgr(14409944); // MySQL version items
const Color kLineGreen = FromBgr(2059096);   // separator lines

constexpr FontDef kWindowFont{"MS Sans Serif", 11, kColorWindowText};
constexpr FontDef kTitleFont{"Arial Black", 21, kWhite, kBold};
constexpr FontDef kLinkFont{"MS Sans Serif", 12, kLinkGreen, kBold};
constexpr FontDef kServerTitleFont{"Arial", 16, kWhite, kBold};
constexpr FontDef kBannerFont{"Arial Black", 16, kCream, kBold};
constexpr FontDef kWelcomeFont{"Arial", 13, kWhite, kFixedPitch};
constexpr FontDef kInfoNameFont{"MS Sans Serif", 13, kWhite, kBold};
constexpr FontDef kInfoValueFont{"Arial", 15, kCream};
constexpr FontDef kFieldLabelFont{"Arial", 11, kLinkGreen};
constexpr FontDef kFieldFont{"Arial", 15, kColorInfoText, kBold};

// A link or start/stop caption under its image.
constexpr unsigned kLink = kTransparent | kCentred;

const FormDef kWindow{
    .caption = "VORLAN Web Server",
    .clientWidth = 797,
    .clientHeight = 486,
    .captionButtons = false,
    .centred = true,
    .icon = "MAINICON",
    .color = kColor3DLight,
    .font = kWindowFont,
    .cursor = Cursor::kArrow,
};

const ControlDef<T> kControls[] = {
    // --- window header -------------------------------------------------------------------------
    {FIELD(imgVRKIcon), .at = {10, 12, 32, 32}, .look = kTransparent, .cursor = Cursor::kArrow, .picture = "=VRKICON"},
    {FIELD(VRKTitle), .at = {50, 13, 104, 30}, .look = kTransparent | kAutoSize, .font = kTitleFont,
     .cursor = Cursor::kArrow, .caption = Title("gui", "VRKControlPanel")},
    {FIELD(btnMinimize), .at = {720, 12, 32, 32}, .cursor = Cursor::kHand, .picture = "\\minimize.ico",
     .caption = Language("gui", "Minimize"), .click = &T::MinimizeApplication},
    {FIELD(btnExit), .at = {750, 12, 32, 32}, .cursor = Cursor::kHand, .picture = "\\close.ico",
     .caption = Language("gui", "Exit"), .click = &T::CloseApplication},

    // --- tool bar: each image with its caption below it, both running the same launcher ---------
    {FIELD(imgStartPage), .at = {34, 60, 32, 32}, .cursor = Cursor::kHand, .picture = "\\home.ico",
     .click = &T::OpenVRKStartPage, .namedAfter = {&T::lbl_vrkStart}},
    {FIELD(lbl_vrkStart), .at = {10, 90, 80, 13}, .look = kLink, .font = kLinkFont, .cursor = Cursor::kHand,
     .caption = Language("gui", "StartPage"), .click = &T::OpenVRKStartPage},
    {FIELD(imgVRKFolder), .at = {124, 60, 32, 32}, .cursor = Cursor::kHand, .picture = "\\folder.ico",
     .click = &T::OpenVRKFolder, .namedAfter = {&T::lbl_vrkFolder}},
    {FIELD(lbl_vrkFolder), .at = {100, 90, 84, 13}, .look = kLink, .font = kLinkFont, .cursor = Cursor::kHand,
     .caption = Language("gui", "VRKFolder"), .click = &T::OpenVRKFolder},
    {FIELD(imgVORLAN), .at = {224, 60, 32, 32}, .cursor = Cursor::kHand, .picture = "\\web.ico",
     .click = &T::OpenVORLANWebPage, .namedAfter = {&T::lbl_vorlan}},
    {FIELD(lbl_vorlan), .at = {200, 90, 84, 13}, .look = kLink, .font = kLinkFont, .cursor = Cursor::kHand,
     .caption = Text("VORLAN CMS"), .click = &T::OpenVORLANWebPage},
    {FIELD(imgServicesManager), .at = {374, 60, 32, 32}, .cursor = Cursor::kHand, .picture = "\\services.ico",
     .click = &T::OpenServicesManager, .namedAfter = {&T::lbl_srvmgr}},
    {FIELD(lbl_srvmgr), .at = {350, 90, 80, 13}, .look = kLink, .font = kLinkFont, .cursor = Cursor::kHand,
     .caption = Language("gui", "ServicesManager"), .click = &T::OpenServicesManager},
    {FIELD(imgTaskManager), .at = {464, 60, 32, 32}, .cursor = Cursor::kHand, .picture = "\\tasks.ico",
     .click = &T::OpenTaskManager, .namedAfter = {&T::lbl_taskmgr}},
    {FIELD(lbl_taskmgr), .at = {440, 90, 80, 13}, .look = kLink, .font = kLinkFont, .cursor = Cursor::kHand,
     .caption = Language("gui", "TaskManager"), .click = &T::OpenTaskManager},
    {FIELD(imgSystemMonitor), .at = {554, 60, 32, 32}, .cursor = Cursor::kHand, .picture = "\\monitor.ico",
     .click = &T::OpenSPMDialog, .namedAfter = {&T::lbl_spm}},
    {FIELD(lbl_spm), .at = {530, 90, 80, 13}, .look = kLink, .font = kLinkFont, .cursor = Cursor::kHand,
     .caption = Language("gui", "SystemMonitor"), .click = &T::OpenSPMDialog},
    {FIELD(imgGroupPolicy), .at = {644, 60, 32, 32}, .cursor = Cursor::kHand, .picture = "\\groups.ico",
     .click = &T::OpenGroupPolicyDialog, .namedAfter = {&T::lbl_grp_police}},
    {FIELD(lbl_grp_police), .at = {620, 90, 80, 13}, .look = kLink, .font = kLinkFont, .cursor = Cursor::kHand,
     .caption = Language("gui", "GroupPolicies"), .click = &T::OpenGroupPolicyDialog},
    {FIELD(imgOptions), .at = {733, 60, 32, 32}, .cursor = Cursor::kHand, .picture = "\\options.ico",
     .click = &T::OpenOptionsDialog, .namedAfter = {&T::lbl_options}},
    {FIELD(lbl_options), .at = {710, 90, 80, 13}, .look = kLink, .font = kLinkFont, .cursor = Cursor::kHand,
     .caption = Language("gui", "Options"), .click = &T::OpenOptionsDialog},

    // --- server list: per server its running and busy indicators on one slot, and its title ----
    {FIELD(imgApacheRun), .at = {10, 172, 32, 32}, .look = kTransparent | kHidden, .picture = "\\ok.ico"},
    {FIELD(frmGif), .at = {10, 172, 32, 32}, .look = kTransparent | kHidden},
    {FIELD(lbl_apache_title), .at = {50, 179, 200, 19}, .look = kTransparent, .font = kServerTitleFont,
     .cursor = Cursor::kArrow, .caption = Language("gui", "ApacheServer")},
    {FIELD(imgMySQLRun), .at = {10, 209, 32, 32}, .look = kTransparent | kHidden, .picture = "\\ok.ico"},
    {FIELD(myGif), .at = {10, 209, 32, 32}, .look = kTransparent | kHidden},
    {FIELD(lbl_mysql_title), .at = {50, 216, 200, 19}, .look = kTransparent, .font = kServerTitleFont,
     .cursor = Cursor::kArrow, .caption = Language("gui", "MySQLDatabase")},
    {FIELD(imgPgSQLRun), .at = {10, 246, 32, 32}, .look = kTransparent | kHidden, .picture = "\\ok.ico"},
    {FIELD(pgGif), .at = {10, 246, 32, 32}, .look = kTransparent | kHidden},
    {FIELD(lbl_pgsql_title), .at = {50, 253, 200, 19}, .look = kTransparent, .font = kServerTitleFont,
     .cursor = Cursor::kArrow, .caption = Language("gui", "PostgreDatabase")},
    {FIELD(imgMongoDBRun), .at = {10, 283, 32, 32}, .look = kTransparent | kHidden, .picture = "\\ok.ico"},
    {FIELD(mongoGif), .at = {10, 283, 32, 32}, .look = kTransparent | kHidden},
    {FIELD(lbl_mongoDB_title), .at = {50, 290, 220, 19}, .look = kTransparent, .font = kServerTitleFont,
     .cursor = Cursor::kArrow, .caption = Language("gui", "MongoDBDatabase")},
    {FIELD(imgFTPRun), .at = {10, 320, 32, 32}, .look = kTransparent | kHidden, .picture = "\\ok.ico"},
    {FIELD(ftpGif), .at = {10, 320, 32, 32}, .look = kTransparent | kHidden},
    {FIELD(lbl_ftp_title), .at = {50, 327, 200, 19}, .look = kTransparent, .font = kServerTitleFont,
     .cursor = Cursor::kArrow, .caption = Language("gui", "FilezillaFTPServer")},

    // --- tab strip ------------------------------------------------------------------------------
    {FIELD(imgTabVRK), .at = {286, 135, 32, 32}, .cursor = Cursor::kHand, .picture = "\\vrk.ico",
     .click = &T::imgTabVRKClick, .namedAfter = {&T::lbl_VRKInfo_title}},
    {FIELD(imgTabApache), .at = {286, 172, 32, 32}, .cursor = Cursor::kHand, .picture = "\\apache.ico",
     .click = &T::imgTabApacheClick, .namedAfter = {&T::lbl_apache_title}},
    {FIELD(imgTabDB), .at = {286, 209, 32, 32}, .cursor = Cursor::kHand, .picture = "\\database.ico",
     .click = &T::imgTabDBClick, .namedAfter = {&T::lbl_mysql_title, &T::lbl_pgsql_title, &T::lbl_mongoDB_title}},
    {FIELD(imgTabFTP), .at = {286, 246, 32, 32}, .cursor = Cursor::kHand, .picture = "\\ftp.ico",
     .click = &T::imgTabFTPClick, .namedAfter = {&T::lbl_ftp_title}},
    {FIELD(imgTabFeedback), .at = {286, 380, 32, 32}, .look = kHidden | kDisabled, .cursor = Cursor::kHand,
     .picture = "\\comment.ico"},
    {FIELD(imgTabMySQL), .at = {382, 441, 32, 32}, .look = kHidden, .cursor = Cursor::kHand, .picture = "\\mysql.ico",
     .click = &T::imgTabMySQLClick, .namedAfter = {&T::lbl_mysql_title2}},
    {FIELD(imgTabPgSQL), .at = {342, 446, 32, 32}, .look = kHidden, .cursor = Cursor::kHand, .picture = "\\pgsql.ico",
     .click = &T::imgTabPgSQLClick, .namedAfter = {&T::lbl_pgsql_title2}},

    {FIELD(Timer1), .click = &T::Timer1Timer, .interval = 1000},

    // --- panels, bottom to top; only the welcome panel shows at first -----------------------------
    {FIELD(PanelVRKInformation), .at = {330, 130, 435, 302}, .look = kHidden, .color = kPanelBlue,
     .cursor = Cursor::kArrow},
    {FIELD(PanelPgSQL), .at = {330, 125, 435, 302}, .look = kHidden, .color = kPanelBlue, .cursor = Cursor::kArrow},
    {FIELD(PanelFTP), .at = {330, 125, 435, 302}, .look = kHidden, .color = kPanelBlue, .cursor = Cursor::kArrow},
    {FIELD(PanelDB), .at = {330, 125, 435, 302}, .look = kHidden, .color = kPanelBlue, .cursor = Cursor::kArrow},
    {FIELD(PanelVRK), .at = {330, 125, 435, 302}, .font = kWindowFont, .color = kPanelBlue, .cursor = Cursor::kArrow},
    {FIELD(PanelFeedback), .at = {330, 125, 435, 302}, .look = kHidden, .font = kWindowFont, .color = kPanelBlue,
     .cursor = Cursor::kArrow},
    {FIELD(PanelMySQL), .at = {330, 125, 435, 302}, .look = kHidden, .color = kPanelBlue, .cursor = Cursor::kArrow},
    {FIELD(PanelApache), .at = {330, 125, 435, 302}, .look = kHidden, .font = kWindowFont, .color = kPanelBlue,
     .cursor = Cursor::kArrow},

    // --- PanelVRK: welcome ------------------------------------------------------------------------
    // The logo's top 16 pixels lie above the panel and are cut off.
    {FIELD(imgVORLANLogo), .parent = &T::PanelVRK, .at = {93, -16, 250, 125}, .picture = "=WELCOMELOGO"},
    {FIELD(lbl_welcome_title), .parent = &T::PanelVRK, .at = {3, 100, 429, 20}, .look = kCentred, .font = kBannerFont,
     .color = kPanelBlue, .caption = Language("welcome", "WelcomeTitle")},
    {FIELD(lbl_welcome_subtitle), .parent = &T::PanelVRK, .at = {3, 135, 429, 30},
     .look = kTransparent | kCentred | kMiddle | kWordWrap, .font = kWelcomeFont,
     .caption = Language("welcome", "WelcomeSubtitle")},
    {FIELD(lbl_welcome_row1), .parent = &T::PanelVRK, .at = {6, 180, 423, 110},
     .look = kTransparent | kCentred | kWordWrap, .font = {"Arial", 13, kColor3DLight, kFixedPitch},
     .caption = Language("welcome", "Row1")},

    // --- PanelVRKInformation: a name and a version text per component ------------------------------
    {FIELD(Shape5), .parent = &T::PanelVRKInformation, .at = {10, 40, 415, 1}, .color = kBlack},
    {FIELD(lbl_VRKInfo_title), .parent = &T::PanelVRKInformation, .at = {10, 10, 415, 19},
     .look = kTransparent | kAutoSize | kCentred, .font = kServerTitleFont,
     .caption = Language("info", "VRKInfoTitle")},
    {FIELD(lbl_InfoApacheVersion), .parent = &T::PanelVRKInformation, .at = {10, 55, 100, 20}, .font = kInfoNameFont,
     .color = kPanelBlue, .caption = Language("info", "ApacheVersion")},
    {FIELD(strApacheVersion), .parent = &T::PanelVRKInformation, .at = {120, 55, 300, 18}, .look = kAutoSize,
     .font = kInfoValueFont, .color = kPanelBlue},
    {FIELD(lbl_InfoNginxVersion), .parent = &T::PanelVRKInformation, .at = {10, 80, 100, 20}, .look = kTransparent,
     .font = kInfoNameFont, .color = kPanelBlue, .caption = Language("info", "NginxVersion")},
    {FIELD(strNginxVersion), .parent = &T::PanelVRKInformation, .at = {120, 80, 300, 18}, .look = kAutoSize,
     .font = kInfoValueFont, .color = kPanelBlue},
    {FIELD(lbl_InfoPerlVersion), .parent = &T::PanelVRKInformation, .at = {10, 105, 100, 20}, .font = kInfoNameFont,
     .color = kPanelBlue, .caption = Language("info", "PerlVersion")},
    {FIELD(strPerlVersion), .parent = &T::PanelVRKInformation, .at = {120, 105, 300, 18}, .look = kAutoSize,
     .font = kInfoValueFont, .color = kPanelBlue},
    {FIELD(lbl_InfoPHPVersion), .parent = &T::PanelVRKInformation, .at = {10, 130, 100, 20}, .font = kInfoNameFont,
     .color = kPanelBlue, .caption = Language("info", "PHPVersion")},
    {FIELD(strPHPVersion), .parent = &T::PanelVRKInformation, .at = {120, 130, 300, 18}, .look = kAutoSize,
     .font = kInfoValueFont, .color = kPanelBlue},
    {FIELD(lbl_InfoMySQLVersion), .parent = &T::PanelVRKInformation, .at = {10, 155, 100, 20}, .font = kInfoNameFont,
     .color = kPanelBlue, .caption = Language("info", "MYSQLVersion")},
    {FIELD(strMySQLVersion), .parent = &T::PanelVRKInformation, .at = {120, 155, 300, 18}, .look = kAutoSize,
     .font = kInfoValueFont, .color = kPanelBlue},
    {FIELD(lbl_InfoPgSQLVersion), .parent = &T::PanelVRKInformation, .at = {10, 180, 100, 20}, .font = kInfoNameFont,
     .color = kPanelBlue, .caption = Language("info", "PGSQLVersion")},
    {FIELD(strPgSQLVersion), .parent = &T::PanelVRKInformation, .at = {120, 180, 300, 18}, .look = kAutoSize,
     .font = kInfoValueFont, .color = kPanelBlue},
    {FIELD(lbl_InfoMongoDBVersion), .parent = &T::PanelVRKInformation, .at = {10, 205, 100, 20}, .font = kInfoNameFont,
     .color = kPanelBlue, .caption = Language("info", "MONGODBVersion")},
    {FIELD(strMongoDBVersion), .parent = &T::PanelVRKInformation, .at = {120, 205, 300, 18}, .look = kAutoSize,
     .font = kInfoValueFont, .color = kPanelBlue},
    {FIELD(lbl_InfoFTPVersion), .parent = &T::PanelVRKInformation, .at = {10, 255, 100, 20}, .font = kInfoNameFont,
     .color = kPanelBlue, .caption = Language("info", "FILEZILLAVersion")},
    {FIELD(strFTPVersion), .parent = &T::PanelVRKInformation, .at = {120, 255, 300, 18}, .look = kAutoSize,
     .font = kInfoValueFont, .color = kPanelBlue},
    {FIELD(strCubridVersion), .parent = &T::PanelVRKInformation, .at = {120, 280, 300, 18}, .look = kHidden | kDisabled,
     .font = kInfoValueFont, .color = kPanelBlue},

    // --- PanelApache: Apache with its PHP choice, and memcached ---------------------------------------
    {FIELD(imgLogoApache), .parent = &T::PanelApache, .at = {10, 10, 64, 64}, .picture = "\\apache_logo.ico"},
    {FIELD(rgp_PHPVersions), .parent = &T::PanelApache, .at = {100, 10, 325, 60}, .font = {"Arial", 13, kWhite},
     .color = kPanelBlue, .caption = Language("gui", "SelectPHPVersion"), .items = {"PHP 5.2", "PHP 5.3", "PHP 5.4"},
     .columns = 3, .selected = 0},
    {FIELD(imgApacheRunStop), .parent = &T::PanelApache, .at = {124, 80, 32, 32}, .cursor = Cursor::kHand,
     .click = &T::ServerApacheRun, .namedAfter = {&T::lbl_ApacheRunStop}, .subject = Language("gui", "ApacheServer")},
    {FIELD(lbl_ApacheRunStop), .parent = &T::PanelApache, .at = {100, 110, 80, 13}, .look = kLink, .font = kLinkFont,
     .cursor = Cursor::kHand, .caption = SetByProgram(), .click = &T::ServerApacheRun},
    {FIELD(imgWFMRun), .parent = &T::PanelApache, .at = {254, 80, 32, 32}, .look = kDisabled, .cursor = Cursor::kHand,
     .click = &T::OpenWFMApplication, .namedAfter = {&T::lbl_WFMRun}, .subject = Language("gui", "ApacheServer")},
    {FIELD(lbl_WFMRun), .parent = &T::PanelApache, .at = {200, 110, 140, 13}, .look = kLink | kDisabled,
     .font = kLinkFont, .cursor = Cursor::kHand, .caption = Language("gui", "FileManager"),
     .click = &T::OpenWFMApplication},
    {FIELD(Shape2), .parent = &T::PanelApache, .at = {10, 150, 415, 1}, .color = kLineGreen},
    {FIELD(imgLogoMemcache), .parent = &T::PanelApache, .at = {10, 160, 64, 64}, .picture = "\\memcached_logo.ico"},
    {FIELD(imgMemcacheRunStop), .parent = &T::PanelApache, .at = {124, 170, 32, 32}, .cursor = Cursor::kHand,
     .click = &T::ServerMemcacheRun, .namedAfter = {&T::lbl_MemcacheRunStop},
     .subject = Language("gui", "MemcachedServer")},
    {FIELD(lbl_MemcacheRunStop), .parent = &T::PanelApache, .at = {100, 200, 80, 13}, .look = kLink, .font = kLinkFont,
     .cursor = Cursor::kHand, .caption = SetByProgram(), .click = &T::ServerMemcacheRun},
    {FIELD(imgMemAdminRun), .parent = &T::PanelApache, .at = {254, 170, 32, 32}, .look = kDisabled,
     .cursor = Cursor::kHand, .click = &T::OpenMemAdminApplication, .namedAfter = {&T::lbl_MemAdminRun},
     .subject = Language("gui", "MemcachedServer")},
    {FIELD(lbl_MemAdminRun), .parent = &T::PanelApache, .at = {200, 200, 140, 13}, .look = kLink | kDisabled,
     .font = kLinkFont, .cursor = Cursor::kHand, .caption = Language("memcache", "ButtonMemcacheAdmin"),
     .click = &T::OpenMemAdminApplication},
    {FIELD(Shape6), .parent = &T::PanelApache, .at = {10, 230, 415, 1}, .color = kLineGreen},

    // --- PanelDB: MySQL with its version choice, PostgreSQL, MongoDB -------------------------------------
    {FIELD(imgLogoMySQL), .parent = &T::PanelDB, .at = {10, 5, 64, 64}, .picture = "\\mysql_logo.ico"},
    {FIELD(rgp_MySQLVersions), .parent = &T::PanelDB, .at = {100, 5, 321, 60},
     .font = {"Arial", 13, kMySQLItems, kBold}, .color = kPanelBlue, .caption = Language("gui", "SelectMySQLVersion"),
     .items = {"5.1", "5.5", "5.6"}, .columns = 3, .selected = 0},
    {FIELD(imgMySQLRunStop), .parent = &T::PanelDB, .at = {124, 80, 32, 32}, .cursor = Cursor::kHand,
     .click = &T::ServerMYSQLRun, .namedAfter = {&T::lbl_MySQLRunStop}, .subject = Language("gui", "MySQLDatabase")},
    {FIELD(lbl_MySQLRunStop), .parent = &T::PanelDB, .at = {100, 110, 80, 13}, .look = kLink, .font = kLinkFont,
     .cursor = Cursor::kHand, .caption = SetByProgram(), .click = &T::ServerMYSQLRun},
    {FIELD(imgPhpMyAdminRun), .parent = &T::PanelDB, .at = {224, 80, 32, 32}, .cursor = Cursor::kHand,
     .click = &T::OpenPhpMyAdminDialog, .namedAfter = {&T::lbl_PhpMyAdminRun},
     .subject = Language("gui", "MySQLDatabase")},
    {FIELD(lbl_PhpMyAdminRun), .parent = &T::PanelDB, .at = {200, 110, 80, 13}, .look = kLink | kDisabled,
     .font = kLinkFont, .cursor = Cursor::kHand, .caption = Language("mysql", "PhpMyAdmin"),
     .click = &T::OpenPhpMyAdminDialog},
    {FIELD(Shape7), .parent = &T::PanelDB, .at = {10, 150, 415, 1}, .color = kLineGreen},
    {FIELD(imgLogoPgSQL), .parent = &T::PanelDB, .at = {10, 158, 64, 64}, .picture = "\\postgresql_logo.ico"},
    {FIELD(imgPgSQLRunStop), .parent = &T::PanelDB, .at = {124, 170, 32, 32}, .look = kTransparent,
     .cursor = Cursor::kHand, .click = &T::ServerPGSQLRun, .namedAfter = {&T::lbl_PgSQLRunStop},
     .subject = Language("gui", "PostgreDatabase")},
    {FIELD(lbl_PgSQLRunStop), .parent = &T::PanelDB, .at = {100, 200, 80, 13}, .look = kLink, .font = kLinkFont,
     .cursor = Cursor::kHand, .caption = SetByProgram(), .click = &T::ServerPGSQLRun},
    {FIELD(imgPhpPgAdminRun), .parent = &T::PanelDB, .at = {224, 170, 32, 32}, .look = kTransparent | kDisabled,
     .cursor = Cursor::kHand, .click = &T::OpenPhpPGAdmin, .namedAfter = {&T::lbl_PhpPgAdminRun},
     .subject = Language("gui", "PostgreDatabase")},
    {FIELD(lbl_PhpPgAdminRun), .parent = &T::PanelDB, .at = {190, 200, 100, 13}, .look = kLink | kDisabled,
     .font = kLinkFont, .cursor = Cursor::kHand, .caption = Language("postgresql", "PhpPgAdmin"),
     .click = &T::OpenPhpPGAdmin},
    {FIELD(imgPgWinAdminRun), .parent = &T::PanelDB, .at = {324, 170, 32, 32}, .look = kTransparent | kDisabled,
     .cursor = Cursor::kHand, .click = &T::OpenPgAdmin3Application, .namedAfter = {&T::lbl_PgWinAdminRun},
     .subject = Language("gui", "PostgreDatabase")},
    {FIELD(lbl_PgWinAdminRun), .parent = &T::PanelDB, .at = {300, 200, 80, 13}, .look = kLink | kDisabled,
     .font = kLinkFont, .cursor = Cursor::kHand, .caption = Language("postgresql", "PgWinAdmin"),
     .click = &T::OpenPgAdmin3Application},
    {FIELD(Shape8), .parent = &T::PanelDB, .at = {10, 230, 415, 1}, .color = kLineGreen},
    {FIELD(imgLogoMongoDB), .parent = &T::PanelDB, .at = {10, 236, 64, 64}, .picture = "\\mongodb_logo.ico"},
    {FIELD(imgMongoDBRunStop), .parent = &T::PanelDB, .at = {124, 242, 32, 32}, .cursor = Cursor::kHand,
     .click = &T::ServerMongoDBRun, .namedAfter = {&T::lbl_MongoDBRunStop},
     .subject = Language("gui", "MongoDBDatabase")},
    {FIELD(lbl_MongoDBRunStop), .parent = &T::PanelDB, .at = {100, 280, 80, 13}, .look = kLink, .font = kLinkFont,
     .cursor = Cursor::kHand, .caption = SetByProgram(), .click = &T::ServerMongoDBRun},
    {FIELD(imgMongoDBAdminRun), .parent = &T::PanelDB, .at = {224, 242, 32, 32}, .look = kTransparent | kDisabled,
     .cursor = Cursor::kHand, .click = &T::OpenMongoDBAdminDialog, .namedAfter = {&T::lbl_MongoDBAdminRun},
     .subject = Language("gui", "MongoDBDatabase")},
    {FIELD(lbl_MongoDBAdminRun), .parent = &T::PanelDB, .at = {200, 280, 80, 13}, .look = kLink | kDisabled,
     .font = kLinkFont, .cursor = Cursor::kHand, .caption = Language("mongodb", "ButtonMongoDBAdmin"),
     .click = &T::OpenMongoDBAdminDialog},

    // --- PanelFTP ----------------------------------------------------------------------------------------
    {FIELD(imgFTPRunStop), .parent = &T::PanelFTP, .at = {34, 10, 32, 32}, .cursor = Cursor::kHand,
     .click = &T::ServerFTPRun, .namedAfter = {&T::lbl_FTPRunStop}, .subject = Language("gui", "FilezillaFTPServer")},
    {FIELD(lbl_FTPRunStop), .parent = &T::PanelFTP, .at = {10, 40, 80, 13}, .look = kLink, .font = kLinkFont,
     .cursor = Cursor::kHand, .caption = SetByProgram(), .click = &T::ServerFTPRun},
    {FIELD(imgFTPAdmin), .parent = &T::PanelFTP, .at = {124, 10, 32, 32}, .look = kTransparent | kDisabled,
     .cursor = Cursor::kHand, .click = &T::OpenFTPAdministration, .namedAfter = {&T::lbl_ftpAdmin},
     .subject = Language("gui", "FilezillaFTPServer")},
    {FIELD(lbl_ftpAdmin), .parent = &T::PanelFTP, .at = {100, 40, 80, 13}, .look = kLink | kDisabled, .font = kLinkFont,
     .cursor = Cursor::kHand, .caption = Language("ftp", "ButtonFTPAdmin"), .click = &T::OpenFTPAdministration},
    {FIELD(Shape4), .parent = &T::PanelFTP, .at = {10, 70, 415, 1}, .color = kBlack},
    {FIELD(lbl_ftp_title2), .parent = &T::PanelFTP, .at = {10, 280, 415, 19}, .look = kTransparent | kRightAligned,
     .font = kServerTitleFont, .cursor = Cursor::kArrow, .caption = Language("gui", "FilezillaFTPServer")},

    // --- PanelMySQL, PanelPgSQL: no control shows them --------------------------------------------------
    {FIELD(Shape1), .parent = &T::PanelMySQL, .at = {10, 70, 415, 1}, .color = kBlack},
    {FIELD(lbl_mysql_title2), .parent = &T::PanelMySQL, .at = {310, 280, 117, 18},
     .look = kTransparent | kAutoSize | kRightAligned, .font = {"Arial", 16, kWhite, kBold | kItalic | kFixedPitch},
     .caption = Language("gui", "MySQLDatabase")},
    {FIELD(Shape3), .parent = &T::PanelPgSQL, .at = {10, 70, 415, 1}, .color = kBlack},
    {FIELD(lbl_pgsql_title2), .parent = &T::PanelPgSQL, .at = {10, 280, 415, 19}, .look = kTransparent | kRightAligned,
     .font = kServerTitleFont, .caption = Language("gui", "PostgreDatabase")},

    // --- PanelFeedback: a feedback form no control shows ---------------------------------------------------
    {FIELD(lbl_feedback_title), .parent = &T::PanelFeedback, .at = {3, 5, 429, 24}, .look = kCentred,
     .font = kBannerFont, .color = kPanelBlue, .caption = Language("feedback", "FeedbackTitle")},
    {FIELD(lbl_feedback_descript), .parent = &T::PanelFeedback, .at = {3, 35, 429, 35},
     .look = kTransparent | kCentred | kMiddle | kWordWrap, .font = kWelcomeFont,
     .caption = Language("feedback", "FeedbackDescription")},
    {FIELD(lbl_feedback_fullname), .parent = &T::PanelFeedback, .at = {10, 82, 120, 13}, .font = kFieldLabelFont,
     .color = kPanelBlue, .caption = Language("feedback", "FeedbackFullname")},
    {FIELD(ed_feedback_fullname), .parent = &T::PanelFeedback, .at = {135, 80, 290, 21}, .look = kNoBorder,
     .font = kFieldFont, .color = kLinkGreen},
    {FIELD(lbl_feedback_email), .parent = &T::PanelFeedback, .at = {10, 112, 120, 13}, .font = kFieldLabelFont,
     .color = kPanelBlue, .caption = Language("feedback", "FeedbackEmail")},
    {FIELD(ed_feedback_email), .parent = &T::PanelFeedback, .at = {135, 110, 290, 21}, .look = kNoBorder,
     .font = kFieldFont, .color = kLinkGreen},
    {FIELD(lbl_feedback_msg), .parent = &T::PanelFeedback, .at = {10, 142, 120, 13}, .font = kFieldLabelFont,
     .color = kPanelBlue, .caption = Language("feedback", "FeedbackMessage")},
    {FIELD(ed_feedback_msg), .parent = &T::PanelFeedback, .at = {135, 140, 290, 100}, .look = kNoBorder | kScrollBar,
     .font = kFieldFont, .color = kLinkGreen},
    {FIELD(imgMailSend), .parent = &T::PanelFeedback, .at = {370, 250, 48, 48}, .look = kTransparent,
     .cursor = Cursor::kHand, .picture = "\\mail_send.ico", .click = &T::imgMailSendClick,
     .namedAfter = {&T::lbl_feedback_title}},
    {FIELD(lbl_email_sent), .parent = &T::PanelFeedback, .at = {16, 272, 0, 19}, .look = kAutoSize,
     .font = {"Arial", 16, kCream, kBold}, .color = kPanelBlue},
};

#undef FIELD

// The order in which Tab moves the focus, as the window reads: the tool bar
// from left to right, the two window buttons, the tabs from top to bottom,
// then each panel's controls from top to bottom and left to right. A label
// that acts is one stop with its image. What is hidden or disabled is
// skipped, so only the shown panel's controls are reached.
const Field<T> kTabOrder[] = {
    &T::imgStartPage,
    &T::imgVRKFolder,
    &T::imgVORLAN,
    &T::imgServicesManager,
    &T::imgTaskManager,
    &T::imgSystemMonitor,
    &T::imgGroupPolicy,
    &T::imgOptions,
    &T::btnMinimize,
    &T::btnExit,
    &T::imgTabVRK,
    &T::imgTabApache,
    &T::imgTabDB,
    &T::imgTabFTP,
    &T::imgTabMySQL,
    &T::imgTabPgSQL,
    // PanelApache
    &T::rgp_PHPVersions,
    &T::imgApacheRunStop,
    &T::imgWFMRun,
    &T::imgMemcacheRunStop,
    &T::imgMemAdminRun,
    // PanelDB
    &T::rgp_MySQLVersions,
    &T::imgMySQLRunStop,
    &T::imgPhpMyAdminRun,
    &T::imgPgSQLRunStop,
    &T::imgPhpPgAdminRun,
    &T::imgPgWinAdminRun,
    &T::imgMongoDBRunStop,
    &T::imgMongoDBAdminRun,
    // PanelFTP
    &T::imgFTPRunStop,
    &T::imgFTPAdmin,
    // PanelFeedback, which no control shows
    &T::ed_feedback_fullname,
    &T::ed_feedback_email,
    &T::ed_feedback_msg,
    &T::imgMailSend,
};

} // namespace

std::span<const ControlDef<Tvrk_form>> Tvrk_form::Definition() { return kControls; }

void Tvrk_form::BuildLayout() { Build<Tvrk_form>(*this, kWindow, kControls, kTabOrder); }

} // namespace vrk
