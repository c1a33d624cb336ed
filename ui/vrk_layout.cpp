// The main window's definition: every control at its place, with its font,
// colours and click handler, as it is when the window is created.
#include "ui/vrk.h"

namespace vrk {
using namespace ui;

namespace {

const Color kLinkGreen = FromBgr(3719326);   // link and button captions
const Color kPanelBlue = FromBgr(5654586);   // panels and radio groups
const Color kMySQLItems = FromBgr(14409944); // MySQL version items
const Color kLineGreen = FromBgr(2059096);   // separator lines

Font MakeFont(const char* name, int height, Color color, bool bold = false) {
    Font f;
    f.name = name;
    f.height = height;
    f.color = color;
    f.bold = bold;
    return f;
}

} // namespace

void Tvrk_form::BuildLayout() {
    auto label = [this](const char* name, Control* parent, Rect r, const Font& font, bool transparent = true) {
        auto* l = Make<Label>(name, parent);
        l->SetBounds(r);
        l->SetFont(font);
        l->SetTransparent(transparent);
        l->SetCaption(name);
        return l;
    };
    auto image = [this](const char* name, Control* parent, int x, int y, int size = 32, Cursor cursor = Cursor::kHand) {
        auto* i = Make<Image>(name, parent);
        i->SetBounds({x, y, size, size});
        i->SetCursor(cursor);
        return i;
    };
    auto line = [this](const char* name, Control* parent, int x, int y, Color pen) {
        auto* s = Make<Shape>(name, parent);
        s->SetBounds({x, y, 415, 1});
        s->penColor = pen;
        return s;
    };
    auto handler = [this](void (Tvrk_form::*method)()) { return [this, method] { (this->*method)(); }; };

    // --- the window ---------------------------------------------------------------
    SetCaption("VORLAN Web Server");
    clientWidth = 797;
    clientHeight = 486;
    SetBounds({0, 0, 797, 486});
    captionButtons = false;
    fixedFrame = true;
    centred = true;
    alpha = 255;
    iconResource = "MAINICON";
    SetColor(kColor3DLight);
    SetFont(MakeFont("MS Sans Serif", 11, kColorWindowText));
    SetCursor(Cursor::kArrow);

    // --- window header ---------------------------------------------------------------
    imgVRKIcon = image("imgVRKIcon", this, 10, 12, 32, Cursor::kArrow);
    imgVRKIcon->SetTransparent(true);
    imgVRKIcon->LoadFromResource("VRKICON", Picture::Kind::kIcon);
    VRKTitle = label("VRKTitle", this, {50, 13, 104, 30}, MakeFont("Arial Black", 21, kWhite, true));
    VRKTitle->autoSize = true;
    VRKTitle->SetCursor(Cursor::kArrow);
    btnMinimize = image("btnMinimize", this, 720, 12);
    btnMinimize->onClick = handler(&Tvrk_form::MinimizeApplication);
    btnExit = image("btnExit", this, 750, 12);
    btnExit->onClick = handler(&Tvrk_form::CloseApplication);

    // --- tool bar --------------------------------------------------------------------
    const Font linkFont = MakeFont("MS Sans Serif", 12, kLinkGreen, true);
    struct Link {
        Image** image;
        const char* imageName;
        int imageX;
        Label** label;
        const char* labelName;
        int labelX, labelWidth;
    };
    const Link links[] = {
        {&imgStartPage, "imgStartPage", 34, &lbl_vrkStart, "lbl_vrkStart", 10, 80},
        {&imgVRKFolder, "imgVRKFolder", 124, &lbl_vrkFolder, "lbl_vrkFolder", 100, 84},
        {&imgVORLAN, "imgVORLAN", 224, &lbl_vorlan, "lbl_vorlan", 200, 84},
        {&imgServicesManager, "imgServicesManager", 374, &lbl_srvmgr, "lbl_srvmgr", 350, 80},
        {&imgTaskManager, "imgTaskManager", 464, &lbl_taskmgr, "lbl_taskmgr", 440, 80},
        {&imgSystemMonitor, "imgSystemMonitor", 554, &lbl_spm, "lbl_spm", 530, 80},
        {&imgGroupPolicy, "imgGroupPolicy", 644, &lbl_grp_police, "lbl_grp_police", 620, 80},
        {&imgOptions, "imgOptions", 733, &lbl_options, "lbl_options", 710, 80},
    };
    for (const auto& link : links) {
        *link.image = image(link.imageName, this, link.imageX, 60);
        *link.label = label(link.labelName, this, {link.labelX, 90, link.labelWidth, 13}, linkFont);
        (*link.label)->alignment = Align::kCenter;
        (*link.label)->SetCursor(Cursor::kHand);
    }
    lbl_vorlan->SetCaption("VORLAN CMS");

    // --- server list ------------------------------------------------------------------
    const Font titleFont = MakeFont("Arial", 16, kWhite, true);
    struct Row {
        Image** run;
        const char* runName;
        AnimatedImage** busy;
        const char* busyName;
        int y;
        Label** title;
        const char* titleName;
        int titleWidth;
    };
    const Row rows[] = {
        {&imgApacheRun, "imgApacheRun", &frmGif, "frmGif", 172, &lbl_apache_title, "lbl_apache_title", 200},
        {&imgMySQLRun, "imgMySQLRun", &myGif, "myGif", 209, &lbl_mysql_title, "lbl_mysql_title", 200},
        {&imgPgSQLRun, "imgPgSQLRun", &pgGif, "pgGif", 246, &lbl_pgsql_title, "lbl_pgsql_title", 200},
        {&imgMongoDBRun, "imgMongoDBRun", &mongoGif, "mongoGif", 283, &lbl_mongoDB_title, "lbl_mongoDB_title", 220},
        {&imgFTPRun, "imgFTPRun", &ftpGif, "ftpGif", 320, &lbl_ftp_title, "lbl_ftp_title", 200},
    };
    for (const auto& row : rows) {
        *row.run = image(row.runName, this, 10, row.y, 32, Cursor::kParent);
        (*row.run)->SetTransparent(true);
        (*row.run)->SetVisible(false);
        *row.busy = Make<AnimatedImage>(row.busyName, this);
        (*row.busy)->SetBounds({10, row.y, 32, 32});
        (*row.busy)->SetTransparent(true);
        (*row.busy)->SetVisible(false);
        *row.title = label(row.titleName, this, {50, row.y + 7, row.titleWidth, 19}, titleFont);
        (*row.title)->SetCursor(Cursor::kArrow);
    }

    // --- tab strip ----------------------------------------------------------------------
    imgTabVRK = image("imgTabVRK", this, 286, 135);
    imgTabVRK->onClick = handler(&Tvrk_form::imgTabVRKClick);
    imgTabApache = image("imgTabApache", this, 286, 172);
    imgTabApache->onClick = handler(&Tvrk_form::imgTabApacheClick);
    imgTabDB = image("imgTabDB", this, 286, 209);
    imgTabDB->onClick = handler(&Tvrk_form::imgTabDBClick);
    imgTabFTP = image("imgTabFTP", this, 286, 246);
    imgTabFTP->onClick = handler(&Tvrk_form::imgTabFTPClick);
    imgTabFeedback = image("imgTabFeedback", this, 286, 380);
    imgTabFeedback->SetVisible(false);
    imgTabFeedback->SetEnabled(false);
    imgTabMySQL = image("imgTabMySQL", this, 382, 441);
    imgTabMySQL->SetVisible(false);
    imgTabMySQL->onClick = handler(&Tvrk_form::imgTabMySQLClick);
    imgTabPgSQL = image("imgTabPgSQL", this, 342, 446);
    imgTabPgSQL->SetVisible(false);
    imgTabPgSQL->onClick = handler(&Tvrk_form::imgTabPgSQLClick);

    Timer1 = Make<Timer>("Timer1", this);
    Timer1->interval = 1000;
    Timer1->onTimer = handler(&Tvrk_form::Timer1Timer);

    // --- panels, bottom to top ---------------------------------------------------------
    auto panel = [this](const char* name, int top) {
        auto* p = Make<Panel>(name, this);
        p->SetBounds({330, top, 435, 302});
        p->SetColor(kPanelBlue);
        p->SetCursor(Cursor::kArrow);
        p->SetVisible(false);
        return p;
    };
    PanelVRKInformation = panel("PanelVRKInformation", 130);
    PanelPgSQL = panel("PanelPgSQL", 125);
    PanelFTP = panel("PanelFTP", 125);
    PanelDB = panel("PanelDB", 125);
    PanelVRK = panel("PanelVRK", 125);
    PanelFeedback = panel("PanelFeedback", 125);
    PanelMySQL = panel("PanelMySQL", 125);
    PanelApache = panel("PanelApache", 125);
    PanelVRK->SetVisible(true);

    // --- PanelVRK: welcome ----------------------------------------------------------------
    PanelVRK->SetFont(MakeFont("MS Sans Serif", 11, kColorWindowText));
    imgVORLANLogo = image("imgVORLANLogo", PanelVRK, 93, -16, 0, Cursor::kParent);
    imgVORLANLogo->SetBounds({93, -16, 250, 125});
    imgVORLANLogo->LoadFromResource("WELCOMELOGO", Picture::Kind::kJpeg);
    lbl_welcome_title = label("lbl_welcome_title", PanelVRK, {3, 100, 429, 20}, MakeFont("Arial Black", 16, kCream, true), false);
    lbl_welcome_title->alignment = Align::kCenter;
    lbl_welcome_title->SetColor(kPanelBlue);
    Font welcomeText = MakeFont("Arial", 13, kWhite);
    welcomeText.fixedPitch = true;
    lbl_welcome_subtitle = label("lbl_welcome_subtitle", PanelVRK, {3, 135, 429, 30}, welcomeText);
    lbl_welcome_subtitle->alignment = Align::kCenter;
    lbl_welcome_subtitle->centreVertically = true;
    lbl_welcome_subtitle->wordWrap = true;
    welcomeText.color = kColor3DLight;
    lbl_welcome_row1 = label("lbl_welcome_row1", PanelVRK, {6, 180, 423, 110}, welcomeText);
    lbl_welcome_row1->alignment = Align::kCenter;
    lbl_welcome_row1->wordWrap = true;

    // --- PanelVRKInformation ---------------------------------------------------------------
    Shape5 = line("Shape5", PanelVRKInformation, 10, 40, kBlack);
    lbl_VRKInfo_title = label("lbl_VRKInfo_title", PanelVRKInformation, {10, 10, 415, 19}, MakeFont("Arial", 16, kWhite, true));
    lbl_VRKInfo_title->autoSize = true;
    lbl_VRKInfo_title->alignment = Align::kCenter;
    struct InfoRow {
        Label** name;
        const char* nameName;
        Label** value;
        const char* valueName;
        int y;
    };
    const InfoRow info[] = {
        {&lbl_InfoApacheVersion, "lbl_InfoApacheVersion", &strApacheVersion, "strApacheVersion", 55},
        {&lbl_InfoNginxVersion, "lbl_InfoNginxVersion", &strNginxVersion, "strNginxVersion", 80},
        {&lbl_InfoPerlVersion, "lbl_InfoPerlVersion", &strPerlVersion, "strPerlVersion", 105},
        {&lbl_InfoPHPVersion, "lbl_InfoPHPVersion", &strPHPVersion, "strPHPVersion", 130},
        {&lbl_InfoMySQLVersion, "lbl_InfoMySQLVersion", &strMySQLVersion, "strMySQLVersion", 155},
        {&lbl_InfoPgSQLVersion, "lbl_InfoPgSQLVersion", &strPgSQLVersion, "strPgSQLVersion", 180},
        {&lbl_InfoMongoDBVersion, "lbl_InfoMongoDBVersion", &strMongoDBVersion, "strMongoDBVersion", 205},
        {&lbl_InfoFTPVersion, "lbl_InfoFTPVersion", &strFTPVersion, "strFTPVersion", 255},
    };
    for (const auto& row : info) {
        *row.name = label(row.nameName, PanelVRKInformation, {10, row.y, 100, 20},
                          MakeFont("MS Sans Serif", 13, kWhite, true), false);
        (*row.name)->SetColor(kPanelBlue);
        *row.value = label(row.valueName, PanelVRKInformation, {120, row.y, 300, 18}, MakeFont("Arial", 15, kCream), false);
        (*row.value)->autoSize = true;
        (*row.value)->SetColor(kPanelBlue);
        (*row.value)->SetCaption("");
    }
    lbl_InfoNginxVersion->SetTransparent(true);
    strCubridVersion = label("strCubridVersion", PanelVRKInformation, {120, 280, 300, 18}, MakeFont("Arial", 15, kCream), false);
    strCubridVersion->SetColor(kPanelBlue);
    strCubridVersion->SetCaption("");
    strCubridVersion->SetVisible(false);
    strCubridVersion->SetEnabled(false);

    // --- PanelApache ------------------------------------------------------------------------
    PanelApache->SetFont(MakeFont("MS Sans Serif", 11, kColorWindowText));
    auto actionLabel = [&](const char* name, Control* parent, int x, int y, int width) {
        auto* l = label(name, parent, {x, y, width, 13}, linkFont);
        l->alignment = Align::kCenter;
        l->SetCursor(Cursor::kHand);
        return l;
    };
    auto radio = [this](const char* name, Control* parent, Rect r, std::vector<std::string> items, const Font& font) {
        auto* g = Make<RadioGroup>(name, parent);
        g->SetBounds(r);
        g->items = std::move(items);
        g->columns = 3;
        g->SetItemIndex(0);
        g->SetColor(kPanelBlue);
        g->SetFont(font);
        g->SetCaption(name);
        return g;
    };
    imgLogoApache = image("imgLogoApache", PanelApache, 10, 10, 64, Cursor::kParent);
    rgp_PHPVersions = radio("rgp_PHPVersions", PanelApache, {100, 10, 325, 60}, {"PHP 5.2", "PHP 5.3", "PHP 5.4"},
                            MakeFont("Arial", 13, kWhite));
    imgApacheRunStop = image("imgApacheRunStop", PanelApache, 124, 80);
    lbl_ApacheRunStop = actionLabel("lbl_ApacheRunStop", PanelApache, 100, 110, 80);
    imgWFMRun = image("imgWFMRun", PanelApache, 254, 80);
    imgWFMRun->SetEnabled(false);
    lbl_WFMRun = actionLabel("lbl_WFMRun", PanelApache, 200, 110, 140);
    lbl_WFMRun->SetEnabled(false);
    Shape2 = line("Shape2", PanelApache, 10, 150, kLineGreen);
    imgLogoMemcache = image("imgLogoMemcache", PanelApache, 10, 160, 64, Cursor::kParent);
    imgMemcacheRunStop = image("imgMemcacheRunStop", PanelApache, 124, 170);
    lbl_MemcacheRunStop = actionLabel("lbl_MemcacheRunStop", PanelApache, 100, 200, 80);
    imgMemAdminRun = image("imgMemAdminRun", PanelApache, 254, 170);
    imgMemAdminRun->SetEnabled(false);
    lbl_MemAdminRun = actionLabel("lbl_MemAdminRun", PanelApache, 200, 200, 140);
    lbl_MemAdminRun->SetEnabled(false);
    Shape6 = line("Shape6", PanelApache, 10, 230, kLineGreen);

    // --- PanelDB --------------------------------------------------------------------------------
    imgLogoMySQL = image("imgLogoMySQL", PanelDB, 10, 5, 64, Cursor::kParent);
    rgp_MySQLVersions = radio("rgp_MySQLVersions", PanelDB, {100, 5, 321, 60}, {"5.1", "5.5", "5.6"},
                              MakeFont("Arial", 13, kMySQLItems, true));
    imgMySQLRunStop = image("imgMySQLRunStop", PanelDB, 124, 80);
    lbl_MySQLRunStop = actionLabel("lbl_MySQLRunStop", PanelDB, 100, 110, 80);
    imgPhpMyAdminRun = image("imgPhpMyAdminRun", PanelDB, 224, 80);
    lbl_PhpMyAdminRun = actionLabel("lbl_PhpMyAdminRun", PanelDB, 200, 110, 80);
    lbl_PhpMyAdminRun->SetEnabled(false);
    Shape7 = line("Shape7", PanelDB, 10, 150, kLineGreen);
    imgLogoPgSQL = image("imgLogoPgSQL", PanelDB, 10, 158, 64, Cursor::kParent);
    imgPgSQLRunStop = image("imgPgSQLRunStop", PanelDB, 124, 170);
    imgPgSQLRunStop->SetTransparent(true);
    lbl_PgSQLRunStop = actionLabel("lbl_PgSQLRunStop", PanelDB, 100, 200, 80);
    imgPhpPgAdminRun = image("imgPhpPgAdminRun", PanelDB, 224, 170);
    imgPhpPgAdminRun->SetTransparent(true);
    imgPhpPgAdminRun->SetEnabled(false);
    lbl_PhpPgAdminRun = actionLabel("lbl_PhpPgAdminRun", PanelDB, 190, 200, 100);
    lbl_PhpPgAdminRun->SetEnabled(false);
    imgPgWinAdminRun = image("imgPgWinAdminRun", PanelDB, 324, 170);
    imgPgWinAdminRun->SetTransparent(true);
    imgPgWinAdminRun->SetEnabled(false);
    lbl_PgWinAdminRun = actionLabel("lbl_PgWinAdminRun", PanelDB, 300, 200, 80);
    lbl_PgWinAdminRun->SetEnabled(false);
    Shape8 = line("Shape8", PanelDB, 10, 230, kLineGreen);
    imgLogoMongoDB = image("imgLogoMongoDB", PanelDB, 10, 236, 64, Cursor::kParent);
    imgMongoDBRunStop = image("imgMongoDBRunStop", PanelDB, 124, 242);
    lbl_MongoDBRunStop = actionLabel("lbl_MongoDBRunStop", PanelDB, 100, 280, 80);
    imgMongoDBAdminRun = image("imgMongoDBAdminRun", PanelDB, 224, 242);
    imgMongoDBAdminRun->SetTransparent(true);
    imgMongoDBAdminRun->SetEnabled(false);
    lbl_MongoDBAdminRun = actionLabel("lbl_MongoDBAdminRun", PanelDB, 200, 280, 80);
    lbl_MongoDBAdminRun->SetEnabled(false);

    // --- PanelFTP ----------------------------------------------------------------------------------
    imgFTPRunStop = image("imgFTPRunStop", PanelFTP, 34, 10);
    lbl_FTPRunStop = actionLabel("lbl_FTPRunStop", PanelFTP, 10, 40, 80);
    imgFTPAdmin = image("imgFTPAdmin", PanelFTP, 124, 10);
    imgFTPAdmin->SetTransparent(true);
    imgFTPAdmin->SetEnabled(false);
    lbl_ftpAdmin = actionLabel("lbl_ftpAdmin", PanelFTP, 100, 40, 80);
    lbl_ftpAdmin->SetEnabled(false);
    Shape4 = line("Shape4", PanelFTP, 10, 70, kBlack);
    lbl_ftp_title2 = label("lbl_ftp_title2", PanelFTP, {10, 280, 415, 19}, titleFont);
    lbl_ftp_title2->alignment = Align::kRight;
    lbl_ftp_title2->SetCursor(Cursor::kArrow);

    // --- PanelMySQL, PanelPgSQL ---------------------------------------------------------------------
    Shape1 = line("Shape1", PanelMySQL, 10, 70, kBlack);
    Font italicTitle = titleFont;
    italicTitle.italic = true;
    italicTitle.fixedPitch = true;
    lbl_mysql_title2 = label("lbl_mysql_title2", PanelMySQL, {310, 280, 117, 18}, italicTitle);
    lbl_mysql_title2->autoSize = true;
    lbl_mysql_title2->alignment = Align::kRight;
    Shape3 = line("Shape3", PanelPgSQL, 10, 70, kBlack);
    lbl_pgsql_title2 = label("lbl_pgsql_title2", PanelPgSQL, {10, 280, 415, 19}, titleFont);
    lbl_pgsql_title2->alignment = Align::kRight;

    // --- PanelFeedback --------------------------------------------------------------------------------
    PanelFeedback->SetFont(MakeFont("MS Sans Serif", 11, kColorWindowText));
    lbl_feedback_title = label("lbl_feedback_title", PanelFeedback, {3, 5, 429, 24}, MakeFont("Arial Black", 16, kCream, true), false);
    lbl_feedback_title->alignment = Align::kCenter;
    lbl_feedback_title->SetColor(kPanelBlue);
    Font feedbackText = MakeFont("Arial", 13, kWhite);
    feedbackText.fixedPitch = true;
    lbl_feedback_descript = label("lbl_feedback_descript", PanelFeedback, {3, 35, 429, 35}, feedbackText);
    lbl_feedback_descript->alignment = Align::kCenter;
    lbl_feedback_descript->centreVertically = true;
    lbl_feedback_descript->wordWrap = true;
    const Font fieldLabel = MakeFont("Arial", 11, kLinkGreen);
    const Font fieldText = MakeFont("Arial", 15, kColorInfoText, true);
    auto edit = [&](auto* control, Rect r) {
        control->SetBounds(r);
        control->border = false;
        control->SetColor(kLinkGreen);
        control->SetFont(fieldText);
        control->SetCaption("");
        return control;
    };
    lbl_feedback_fullname = label("lbl_feedback_fullname", PanelFeedback, {10, 82, 120, 13}, fieldLabel, false);
    lbl_feedback_fullname->SetColor(kPanelBlue);
    ed_feedback_fullname = edit(Make<Edit>("ed_feedback_fullname", PanelFeedback), {135, 80, 290, 21});
    lbl_feedback_email = label("lbl_feedback_email", PanelFeedback, {10, 112, 120, 13}, fieldLabel, false);
    lbl_feedback_email->SetColor(kPanelBlue);
    ed_feedback_email = edit(Make<Edit>("ed_feedback_email", PanelFeedback), {135, 110, 290, 21});
    lbl_feedback_msg = label("lbl_feedback_msg", PanelFeedback, {10, 142, 120, 13}, fieldLabel, false);
    lbl_feedback_msg->SetColor(kPanelBlue);
    ed_feedback_msg = edit(Make<Memo>("ed_feedback_msg", PanelFeedback), {135, 140, 290, 100});
    ed_feedback_msg->verticalScrollBar = true;
    imgMailSend = image("imgMailSend", PanelFeedback, 370, 250, 48);
    imgMailSend->SetTransparent(true);
    imgMailSend->onClick = handler(&Tvrk_form::imgMailSendClick);
    lbl_email_sent = label("lbl_email_sent", PanelFeedback, {16, 272, 0, 19}, MakeFont("Arial", 16, kCream, true), false);
    lbl_email_sent->autoSize = true;
    lbl_email_sent->SetColor(kPanelBlue);
    lbl_email_sent->SetCaption("");

    // Start/stop images and labels run their server's handler (bound by the
    // server control); links run their launchers.
}

} // namespace vrk
