// The options dialog's definition: the window, then every control in the
// order that stacks them: the general block and the autorun block on the
// left, the about panel and the passwords block on the right, the band at
// the bottom.
#include "OptionsDlg.h"

#include "Definition.h"

namespace vrk {
using namespace ui;

namespace {

using T = TOptionsDialog;
#define FIELD(control) .field = &T::control, .name = #control

constexpr Color kDialogColor = 0xDDE8E7;
constexpr Color kFieldColor = 0xE7EAEB;
constexpr FontDef kArial{"Arial", 13};
constexpr FontDef kSmall{"MS Sans Serif", 11};
constexpr FontDef kBlockTitle{"Arial Black", 16, kColorWindowText, kBold | kItalic | kUnderline};
constexpr FontDef kButtonFont{"Arial", 13, kColorWindowText, kBold};

const char* const kAboutText =
    "VORLAN Web Server puts a complete web stack on your own computer: the Apache web server with PHP 5.2, 5.3 "
    "and 5.4, MySQL, PostgreSQL, MongoDB, memcached and a FileZilla FTP server, each run as a Windows service.\r\n"
    "\r\n"
    "Start and stop the servers from the control panel, open their administration tools with one click, and "
    "choose here which servers start together with the panel.";

const FormDef kWindow{
    .caption = "OptionsDialog",
    .clientWidth = 796,
    .clientHeight = 600,
    .captionButtons = false,
    .centred = true,
    .icon = "MAINICON",
    .color = kDialogColor,
    .font = kSmall,
    // The skin's cursors are the main window's: the dialog keeps the system's.
    .cursor = Cursor::kSystemArrow,
};

const ControlDef<T> kControls[] = {
    // --- general block ------------------------------------------------------------------------------
    {FIELD(lblGeneral), .at = {10, 8, 380, 30}, .look = kTransparent, .font = kBlockTitle,
     .caption = Language("options", "TitleGeneral")},
    {FIELD(lbl_InstallationDrive), .at = {20, 43, 150, 16}, .look = kTransparent | kDisabled, .font = kArial,
     .caption = Language("options", "SelectDrive")},
    // Shows the folder the panel runs from (set when the dialog is made).
    {FIELD(ed_InstallationDrive), .at = {185, 40, 200, 22}, .look = kDisabled, .font = kArial, .color = kWhite},
    {FIELD(lbl_skins), .at = {20, 73, 150, 16}, .look = kTransparent | kDisabled, .font = kArial,
     .caption = Language("options", "SelectSkin")},
    {FIELD(cb_skins), .at = {185, 70, 200, 22}, .look = kDisabled, .font = {"Arial", 13, kGrayText}, .color = kWhite},
    {FIELD(lbl_languages), .at = {20, 103, 150, 16}, .look = kTransparent, .font = kArial,
     .caption = Language("options", "SelectLanguage")},
    {FIELD(cb_langs), .at = {185, 100, 200, 22}, .font = kArial, .color = kWhite},
    {FIELD(cbx_stopServicesAtExit), .at = {20, 135, 360, 17}, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "StopServicesAtExit")},
    {FIELD(cbx_trayAtExit), .at = {20, 160, 360, 17}, .look = kDisabled, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "TrayAtExit")},
    {FIELD(cbx_clearTempFiles), .at = {20, 185, 360, 17}, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "ClearTempFiles")},
    {FIELD(cbx_ganerateStatistics), .at = {20, 210, 360, 17}, .look = kDisabled, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "GenerateStatistics")},
    {FIELD(cbx_ciSecurity), .at = {20, 235, 360, 17}, .look = kDisabled, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "CISecurity")},

    // --- autorun block: the servers the panel starts, enabled by the dialog's timer -----------------
    {FIELD(lblAutorun), .at = {10, 274, 380, 30}, .look = kTransparent, .font = kBlockTitle,
     .caption = Language("options", "TitleAutorun")},
    {FIELD(cbx_autorun), .at = {20, 306, 300, 17}, .font = {"MS Sans Serif", 13}, .color = kDialogColor,
     .caption = Language("options", "CheckAutorun")},
    {FIELD(cbx_runApache), .at = {20, 336, 300, 17}, .look = kDisabled, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "ApacheServer")},
    {FIELD(lbl_phpversions), .at = {40, 367, 150, 16}, .look = kTransparent | kDisabled, .font = kArial,
     .caption = Language("options", "SelectPHPVersion")},
    {FIELD(cb_phpversions), .at = {230, 362, 150, 24}, .look = kEditField | kDisabled, .font = kArial, .color = kWhite,
     .items = {"PHP 5.2", "PHP 5.3", "PHP 5.4"}},
    {FIELD(cbx_mysql), .at = {20, 400, 300, 17}, .look = kDisabled, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "MySQLDatabase")},
    {FIELD(lbl_mysqlversion), .at = {40, 423, 150, 16}, .look = kTransparent | kDisabled, .font = kArial,
     .caption = Language("options", "SelectMySQLVersion")},
    {FIELD(cb_mysqlversions), .at = {230, 418, 150, 24}, .look = kEditField | kDisabled, .font = kArial,
     .color = kWhite, .items = {"MySQL 5.1", "MySQL 5.5", "MySQL 5.6"}},
    {FIELD(cbx_pgsql), .at = {20, 450, 300, 17}, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "PostgreDatabase")},
    {FIELD(cbx_mongodb), .at = {20, 476, 300, 17}, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "MongoDBDatabase")},
    {FIELD(cbx_filezilla), .at = {20, 500, 300, 17}, .font = kArial, .color = kDialogColor,
     .caption = Language("options", "FileZillaFTPServer")},

    // --- right half: the about panel, and the passwords block that is never enabled ------------------
    {FIELD(Shape1), .at = {400, 0, 1, 530}},
    {FIELD(Panel1), .at = {401, 0, 400, 240}, .look = kRaisedBevel, .color = kWhite},
    // The picture's top 42 pixels lie above the panel and are cut off.
    {FIELD(Image1), .parent = &T::Panel1, .at = {40, -42, 320, 160}, .look = kTransparent, .picture = "=ABOUTLOGO"},
    {FIELD(Label1), .parent = &T::Panel1, .at = {10, 80, 378, 28}, .look = kTransparent | kCentred,
     .font = {"Arial Black", 20}, .caption = Text("VORLAN Web Server Control Panel")},
    {FIELD(Memo1), .parent = &T::Panel1, .at = {8, 115, 380, 124}, .look = kNoBorder | kReadOnly | kCentred,
     .font = kArial, .color = kWhite, .caption = Text(kAboutText)},
    {FIELD(lbl_ciTitle), .at = {408, 272, 380, 30}, .look = kTransparent | kDisabled,
     .font = {"Arial Black", 16, kColorWindowText, kBold | kItalic}, .caption = Language("options", "TitlePasswords")},
    {FIELD(lbl_ciUsername), .at = {410, 314, 150, 13}, .look = kTransparent | kDisabled, .font = kSmall,
     .caption = Language("options", "Username")},
    {FIELD(ed_ciUserName), .at = {568, 310, 200, 20}, .look = kDisabled, .font = kArial, .color = kFieldColor},
    {FIELD(lbl_ciPassord), .at = {410, 343, 150, 13}, .look = kTransparent | kDisabled, .font = kSmall,
     .caption = Language("options", "Password")},
    {FIELD(ed_ciPassord), .at = {568, 340, 200, 20}, .look = kDisabled | kPassword,
     .font = {"Arial", 13, kColorWindowText, kBold}, .color = kFieldColor},

    // --- bottom band: the translator's credits and the buttons -----------------------------------------
    {FIELD(Shape2), .at = {0, 530, 800, 70}, .look = kFilled},
    {FIELD(lbl_Translator), .at = {10, 537, 250, 13}, .look = kTransparent | kDisabled, .font = kSmall,
     .caption = LanguagePair("translator", "StrTranslatorName", "TranslatorName")},
    {FIELD(lbl_TranslatorWebsite), .at = {10, 557, 250, 13}, .look = kTransparent | kDisabled, .font = kSmall,
     .caption = LanguagePair("translator", "StrTranslatorWebsite", "TranslatorWebsite")},
    {FIELD(lbl_TranslatorEmail), .at = {10, 577, 250, 13}, .look = kTransparent | kDisabled, .font = kSmall,
     .caption = LanguagePair("translator", "StrTranslatorEmail", "TranslatorEmail")},
    {FIELD(btnApply), .at = {560, 555, 100, 25}, .font = kButtonFont, .caption = Language("options", "btnApply"),
     .click = &T::btnApplyClick},
    // Closes the dialog as Cancel; no handler of its own.
    {FIELD(btnCancel), .at = {680, 555, 100, 25}, .font = kButtonFont, .caption = Language("options", "btnCancel"),
     .modalResult = kModalCancel},

    {FIELD(Timer1), .click = &T::Timer1Timer, .interval = 1000},
};

#undef FIELD

// The order in which Tab moves the focus; it skips what cannot take it (the
// disabled controls, the panel).
const Field<T> kTabOrder[] = {
    &T::ed_InstallationDrive,
    &T::cb_skins,
    &T::cb_langs,
    &T::cbx_stopServicesAtExit,
    &T::cbx_trayAtExit,
    &T::cbx_clearTempFiles,
    &T::cbx_ganerateStatistics,
    &T::cbx_ciSecurity,
    &T::cbx_autorun,
    &T::cbx_runApache,
    &T::cb_phpversions,
    &T::cbx_mysql,
    &T::cb_mysqlversions,
    &T::cbx_pgsql,
    &T::cbx_filezilla,
    &T::ed_ciUserName,
    &T::ed_ciPassord,
    &T::Panel1,
    &T::btnApply,
    &T::btnCancel,
    &T::cbx_mongodb,
};

} // namespace

std::span<const ControlDef<TOptionsDialog>> TOptionsDialog::Definition() { return kControls; }

void TOptionsDialog::BuildLayout() {
    Build<TOptionsDialog>(*this, kWindow, kControls, kTabOrder);
    ed_InstallationDrive->SetCaption(installationRoot_ + "vrk");
}

} // namespace vrk
