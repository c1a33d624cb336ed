#pragma once
// The options dialog: edits the settings file (language, stop at exit,
// clearing of temporary files, the servers autorun starts and their
// versions), shows the about panel and the translator's credits.
#include <string>

#include "Application.h"
#include "Control.h"
#include "Definition.h"

namespace vrk {

class TOptionsDialog : public ui::Form {
public:
    // `programFile`: the full path of the program's own file.
    TOptionsDialog(ui::Application& app, const std::string& programFile);

    // general block
    ui::Label *lblGeneral, *lbl_InstallationDrive, *lbl_skins, *lbl_languages;
    ui::Edit* ed_InstallationDrive;
    ui::DropDownList *cb_skins, *cb_langs;
    ui::CheckBox *cbx_stopServicesAtExit, *cbx_trayAtExit, *cbx_clearTempFiles, *cbx_ganerateStatistics,
        *cbx_ciSecurity;
    // autorun block
    ui::Label *lblAutorun, *lbl_phpversions, *lbl_mysqlversion;
    ui::CheckBox *cbx_autorun, *cbx_runApache, *cbx_mysql, *cbx_pgsql, *cbx_mongodb, *cbx_filezilla;
    ui::DropDownList *cb_phpversions, *cb_mysqlversions;
    // right half
    ui::Shape *Shape1, *Shape2;
    ui::Panel* Panel1;
    ui::Image* Image1;
    ui::Label* Label1;
    ui::Memo* Memo1;
    ui::Label *lbl_ciTitle, *lbl_ciUsername, *lbl_ciPassord;
    ui::Edit *ed_ciUserName, *ed_ciPassord;
    // bottom band
    ui::Label *lbl_Translator, *lbl_TranslatorWebsite, *lbl_TranslatorEmail;
    ui::Button *btnApply, *btnCancel;
    ui::Timer* Timer1;

    bool SettingsApplied = false;

    void Execute();
    void FormCreate();
    void loadSettings();
    void btnApplyClick();
    void Timer1Timer();
    void FormClose(ui::CloseAction& action);

    // The dialog's definition, one row per control.
    static std::span<const ui::ControlDef<TOptionsDialog>> Definition();

private:
    void BuildLayout();
    std::string installationRoot_;
};

} // namespace vrk
