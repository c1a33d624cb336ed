#include "ui/OptionsDlg.h"

#include "config/IniFile.h"
#include "config/Settings.h"
#include "config/IniText.h"
#include "config/InstallTree.h"

namespace vrk {
using namespace ui;

namespace {

Font MakeFont(const char* name, int height, Color color = kColorWindowText, bool bold = false) {
    Font f;
    f.name = name;
    f.height = height;
    f.color = color;
    f.bold = bold;
    return f;
}

// Selects the item equal to the name, compared without case and whole;
// nothing when no item is.
void SelectByName(DropDownList* box, const std::string& name) {
    const auto& items = box->Items();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (IniNamesEqual(items[i], name)) {
            box->SetItemIndex(static_cast<int>(i));
            return;
        }
    box->SetItemIndex(-1);
}

const char* const kAboutText =
    "VORLAN Web Server puts a complete web stack on your own computer: the Apache web server with PHP 5.2, 5.3 "
    "and 5.4, MySQL, PostgreSQL, MongoDB, memcached and a FileZilla FTP server, each run as a Windows service.\r\n"
    "\r\n"
    "Start and stop the servers from the control panel, open their administration tools with one click, and "
    "choose here which servers start together with the panel.";

} // namespace

TOptionsDialog::TOptionsDialog(Application& app, std::string programFile) : Form("OptionsDialog", app) {
    installationRoot_ = programFile.substr(0, programFile.find_last_of("\\/") + 1);
    BuildLayout();
    onCreate = [this] { FormCreate(); };
    onClose = [this](CloseAction& action) { FormClose(action); };
}

void TOptionsDialog::BuildLayout() {
    clientWidth = 796;
    clientHeight = 600;
    SetBounds({0, 0, 796, 600});
    captionButtons = false;
    fixedFrame = true;
    centred = true;
    iconResource = "MAINICON";
    SetColor(0xDDE8E7);
    SetFont(MakeFont("MS Sans Serif", 11));
    SetCaption("OptionsDialog");

    auto label = [this](const char* name, Rect r, const Font& font, Control* parent = nullptr) {
        auto* l = Make<Label>(name, parent ? parent : this);
        l->SetBounds(r);
        l->SetFont(font);
        l->SetCaption(name);
        l->SetTransparent(true);
        return l;
    };
    auto check = [this](const char* name, Rect r, const Font& font) {
        auto* c = Make<CheckBox>(name, this);
        c->SetBounds(r);
        c->SetFont(font);
        c->SetCaption(name);
        c->SetColor(0xDDE8E7);
        return c;
    };
    auto list = [this](const char* name, Rect r, const Font& font) {
        auto* d = Make<DropDownList>(name, this);
        d->SetBounds(r);
        d->SetFont(font);
        d->itemHeight = 16;
        d->SetColor(kWhite);
        return d;
    };
    Font blockTitle = MakeFont("Arial Black", 16, kColorWindowText, true);
    blockTitle.italic = true;
    blockTitle.underline = true;
    const Font arial = MakeFont("Arial", 13);

    // general block
    lblGeneral = label("lblGeneral", {10, 8, 380, 30}, blockTitle);
    lbl_InstallationDrive = label("lbl_InstallationDrive", {20, 43, 150, 16}, arial);
    lbl_InstallationDrive->SetEnabled(false);
    ed_InstallationDrive = Make<Edit>("ed_InstallationDrive", this);
    ed_InstallationDrive->SetBounds({185, 40, 200, 22});
    ed_InstallationDrive->SetFont(arial);
    ed_InstallationDrive->SetColor(kWhite);
    // The folder the panel really runs from: a fixed folder would be wrong
    // for every installation placed elsewhere.
    ed_InstallationDrive->SetCaption(installationRoot_ + "vrk");
    ed_InstallationDrive->SetEnabled(false);
    lbl_skins = label("lbl_skins", {20, 73, 150, 16}, arial);
    lbl_skins->SetEnabled(false);
    Font grey = arial;
    grey.color = kGrayText;
    cb_skins = list("cb_skins", {185, 70, 200, 22}, grey);
    cb_skins->SetEnabled(false);
    lbl_languages = label("lbl_languages", {20, 103, 150, 16}, arial);
    cb_langs = list("cb_langs", {185, 100, 200, 22}, arial);
    cbx_stopServicesAtExit = check("cbx_stopServicesAtExit", {20, 135, 360, 17}, arial);
    cbx_trayAtExit = check("cbx_trayAtExit", {20, 160, 360, 17}, arial);
    cbx_trayAtExit->SetEnabled(false);
    cbx_clearTempFiles = check("cbx_clearTempFiles", {20, 185, 360, 17}, arial);
    cbx_ganerateStatistics = check("cbx_ganerateStatistics", {20, 210, 360, 17}, arial);
    cbx_ganerateStatistics->SetEnabled(false);
    cbx_ciSecurity = check("cbx_ciSecurity", {20, 235, 360, 17}, arial);
    cbx_ciSecurity->SetEnabled(false);

    // autorun block
    lblAutorun = label("lblAutorun", {10, 274, 380, 30}, blockTitle);
    cbx_autorun = check("cbx_autorun", {20, 306, 300, 17}, MakeFont("MS Sans Serif", 13));
    cbx_runApache = check("cbx_runApache", {20, 336, 300, 17}, arial);
    cbx_runApache->SetEnabled(false);
    lbl_phpversions = label("lbl_phpversions", {40, 367, 150, 16}, arial);
    lbl_phpversions->SetEnabled(false);
    cb_phpversions = list("cb_phpversions", {230, 362, 150, 24}, arial);
    cb_phpversions->withEditField = true;
    cb_phpversions->SetItems({"PHP 5.2", "PHP 5.3", "PHP 5.4"});
    cb_phpversions->SetEnabled(false);
    cbx_mysql = check("cbx_mysql", {20, 400, 300, 17}, arial);
    cbx_mysql->SetEnabled(false);
    lbl_mysqlversion = label("lbl_mysqlversion", {40, 423, 150, 16}, arial);
    lbl_mysqlversion->SetEnabled(false);
    cb_mysqlversions = list("cb_mysqlversions", {230, 418, 150, 24}, arial);
    cb_mysqlversions->withEditField = true;
    cb_mysqlversions->SetItems({"MySQL 5.1", "MySQL 5.5", "MySQL 5.6"});
    cb_mysqlversions->SetEnabled(false);
    cbx_pgsql = check("cbx_pgsql", {20, 450, 300, 17}, arial);
    cbx_mongodb = check("cbx_mongodb", {20, 476, 300, 17}, arial);
    cbx_filezilla = check("cbx_filezilla", {20, 500, 300, 17}, arial);

    // right half
    Shape1 = Make<Shape>("Shape1", this);
    Shape1->SetBounds({400, 0, 1, 530});
    Panel1 = Make<Panel>("Panel1", this);
    Panel1->SetBounds({401, 0, 400, 240});
    Panel1->SetColor(kWhite);
    Panel1->raisedBevel = true;
    Image1 = Make<Image>("Image1", Panel1);
    Image1->SetBounds({40, -42, 320, 160});
    Image1->SetTransparent(true);
    Image1->LoadFromResource("ABOUTLOGO", Picture::Kind::kJpeg);
    Label1 = label("Label1", {10, 80, 378, 28}, MakeFont("Arial Black", 20), Panel1);
    Label1->SetCaption("VORLAN Web Server Control Panel");
    Label1->alignment = Align::kCenter;
    Memo1 = Make<Memo>("Memo1", Panel1);
    Memo1->SetBounds({8, 115, 380, 124});
    Memo1->SetFont(arial);
    Memo1->SetColor(kWhite);
    Memo1->border = false;
    Memo1->readOnly = true;
    Memo1->alignment = Align::kCenter;
    Memo1->SetCaption(kAboutText);
    Font ciTitle = blockTitle;
    ciTitle.underline = false;
    lbl_ciTitle = label("lbl_ciTitle", {408, 272, 380, 30}, ciTitle);
    lbl_ciTitle->SetEnabled(false);
    lbl_ciUsername = label("lbl_ciUsername", {410, 314, 150, 13}, MakeFont("MS Sans Serif", 11));
    lbl_ciUsername->SetEnabled(false);
    auto field = [&](const char* name, Rect r, bool bold) {
        auto* e = Make<Edit>(name, this);
        e->SetBounds(r);
        Font f = arial;
        f.bold = bold;
        e->SetFont(f);
        e->SetColor(0xE7EAEB);
        e->SetEnabled(false);
        return e;
    };
    ed_ciUserName = field("ed_ciUserName", {568, 310, 200, 20}, false);
    lbl_ciPassord = label("lbl_ciPassord", {410, 343, 150, 13}, MakeFont("MS Sans Serif", 11));
    lbl_ciPassord->SetEnabled(false);
    ed_ciPassord = field("ed_ciPassord", {568, 340, 200, 20}, true);
    ed_ciPassord->passwordChar = '*';

    // bottom band
    Shape2 = Make<Shape>("Shape2", this);
    Shape2->SetBounds({0, 530, 800, 70});
    Shape2->filled = true;
    Shape2->brushColor = kWhite;
    lbl_Translator = label("lbl_Translator", {10, 537, 250, 13}, MakeFont("MS Sans Serif", 11));
    lbl_Translator->SetEnabled(false);
    lbl_TranslatorWebsite = label("lbl_TranslatorWebsite", {10, 557, 250, 13}, MakeFont("MS Sans Serif", 11));
    lbl_TranslatorWebsite->SetEnabled(false);
    lbl_TranslatorEmail = label("lbl_TranslatorEmail", {10, 577, 250, 13}, MakeFont("MS Sans Serif", 11));
    lbl_TranslatorEmail->SetEnabled(false);
    btnApply = Make<Button>("btnApply", this);
    btnApply->SetBounds({560, 555, 100, 25});
    btnApply->SetFont(MakeFont("Arial", 13, kColorWindowText, true));
    btnApply->SetCaption("btnApply");
    btnApply->onClick = [this] { btnApplyClick(); };
    btnCancel = Make<Button>("btnCancel", this);
    btnCancel->SetBounds({680, 555, 100, 25});
    btnCancel->SetFont(MakeFont("Arial", 13, kColorWindowText, true));
    btnCancel->SetCaption("btnCancel");
    btnCancel->modalResult = kModalCancel;

    Timer1 = Make<Timer>("Timer1", this);
    Timer1->interval = 1000;
    Timer1->onTimer = [this] { Timer1Timer(); };
}

void TOptionsDialog::Execute() { ShowModal(); }

void TOptionsDialog::FormCreate() {
    loadSettings();
    SettingsApplied = false;
}

void TOptionsDialog::loadSettings() {
    const Settings settings(app().os(), installationRoot_ + tree::kSettingsFileFromDialog);
    const std::string languageName = settings.Read(setting::kLanguage);
    const IniFile language(app().os(),
                           installationRoot_ + tree::kLanguagesFolder + languageName + tree::kLanguageExtension);

    cb_skins->SetItems(settings.Read(setting::kSkins));
    SelectByName(cb_skins, settings.Read(setting::kSkin));
    cb_langs->SetItems(settings.Read(setting::kLanguages));
    SelectByName(cb_langs, languageName);

    cbx_stopServicesAtExit->SetChecked(settings.Read(setting::kStopServicesAtExit));
    cbx_clearTempFiles->SetChecked(settings.Read(setting::kClearTempFiles));
    cbx_autorun->SetChecked(settings.Read(setting::kAutorun));
    cbx_runApache->SetChecked(settings.Read(setting::kAutorunApache));
    cb_phpversions->SetItemIndex(settings.Read(setting::kAutorunPhpVersion));
    cbx_mysql->SetChecked(settings.Read(setting::kAutorunMySQL));
    cb_mysqlversions->SetItemIndex(settings.Read(setting::kAutorunMySQLVersion));
    cbx_pgsql->SetChecked(settings.Read(setting::kAutorunPgSQL));
    cbx_mongodb->SetChecked(settings.Read(setting::kAutorunMongoDB));
    cbx_filezilla->SetChecked(settings.Read(setting::kAutorunFTP));

    auto text = [&](const char* key) { return language.ReadString("options", key, ""); };
    SetCaption(text("OptionsTitle"));
    const std::pair<Control*, const char*> captions[] = {
        {lblGeneral, "TitleGeneral"},
        {lbl_InstallationDrive, "SelectDrive"},
        {lbl_skins, "SelectSkin"},
        {lbl_languages, "SelectLanguage"},
        {cbx_stopServicesAtExit, "StopServicesAtExit"},
        {cbx_trayAtExit, "TrayAtExit"},
        {cbx_ganerateStatistics, "GenerateStatistics"},
        {cbx_ciSecurity, "CISecurity"},
        {cbx_clearTempFiles, "ClearTempFiles"},
        {lblAutorun, "TitleAutorun"},
        {cbx_autorun, "CheckAutorun"},
        {cbx_runApache, "ApacheServer"},
        {lbl_phpversions, "SelectPHPVersion"},
        {cbx_mysql, "MySQLDatabase"},
        {lbl_mysqlversion, "SelectMySQLVersion"},
        {cbx_pgsql, "PostgreDatabase"},
        {cbx_mongodb, "MongoDBDatabase"},
        {cbx_filezilla, "FileZillaFTPServer"},
        {lbl_ciTitle, "TitlePasswords"},
        {lbl_ciUsername, "Username"},
        {lbl_ciPassord, "Password"},
        {btnApply, "btnApply"},
        {btnCancel, "btnCancel"},
    };
    for (const auto& [control, key] : captions) control->SetCaption(text(key));
    auto credit = [&](const char* labelKey, const char* valueKey) {
        return language.ReadString("translator", labelKey, "") + " " + language.ReadString("translator", valueKey, "");
    };
    lbl_Translator->SetCaption(credit("StrTranslatorName", "TranslatorName"));
    lbl_TranslatorEmail->SetCaption(credit("StrTranslatorEmail", "TranslatorEmail"));
    lbl_TranslatorWebsite->SetCaption(credit("StrTranslatorWebsite", "TranslatorWebsite"));
}

void TOptionsDialog::btnApplyClick() {
    Settings settings(app().os(), installationRoot_ + tree::kSettingsFileFromDialog, &app());
    // With no language selected the stored one stays: an empty name would
    // leave every caption of both windows blank.
    if (cb_langs->ItemIndex() >= 0) settings.Write(setting::kLanguage, cb_langs->SelectedText());
    settings.Write(setting::kStopServicesAtExit, cbx_stopServicesAtExit->Checked());
    settings.Write(setting::kClearTempFiles, cbx_clearTempFiles->Checked());
    settings.Write(setting::kAutorun, cbx_autorun->Checked());
    settings.Write(setting::kAutorunApache, cbx_runApache->Checked());
    settings.Write(setting::kAutorunPhpVersion, cb_phpversions->ItemIndex());
    settings.Write(setting::kAutorunMySQL, cbx_mysql->Checked());
    settings.Write(setting::kAutorunMySQLVersion, cb_mysqlversions->ItemIndex());
    settings.Write(setting::kAutorunPgSQL, cbx_pgsql->Checked());
    settings.Write(setting::kAutorunMongoDB, cbx_mongodb->Checked());
    settings.Write(setting::kAutorunFTP, cbx_filezilla->Checked());
    SettingsApplied = true;
    loadSettings();
}

void TOptionsDialog::Timer1Timer() {
    Control* const dependants[] = {cbx_runApache, lbl_phpversions, cb_phpversions, cbx_mysql, lbl_mysqlversion,
                                   cb_mysqlversions, cbx_pgsql, cbx_mongodb, cbx_filezilla};
    if (!cbx_autorun->Checked()) {
        for (Control* c : dependants) c->SetEnabled(false);
        return;
    }
    for (Control* c : dependants) c->SetEnabled(true);
    lbl_phpversions->SetEnabled(cbx_runApache->Checked());
    cb_phpversions->SetEnabled(cbx_runApache->Checked());
    lbl_mysqlversion->SetEnabled(cbx_mysql->Checked());
    cb_mysqlversions->SetEnabled(cbx_mysql->Checked());
}

void TOptionsDialog::FormClose(CloseAction&) {
    if (SettingsApplied) loadSettings();
}

} // namespace vrk
