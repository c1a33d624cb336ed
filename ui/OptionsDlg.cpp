#include "OptionsDlg.h"

#include "IniFile.h"
#include "Settings.h"
#include "IniText.h"
#include "InstallTree.h"
#include "Language.h"

namespace vrk {
using namespace ui;

namespace {

// Selects the item equal to the name, compared without case and whole;
// nothing when no item is.
void SelectByName(DropDownList* box, const std::string& name) {
    const auto& items = box->items();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (IniNamesEqual(items[i], name)) {
            box->SetItemIndex(static_cast<int>(i));
            return;
        }
    box->SetItemIndex(-1);
}

} // namespace

TOptionsDialog::TOptionsDialog(Application& app, const std::string& programFile)
    : Form("OptionsDialog", app), installationRoot_(tree::InstallationRoot(programFile)) {
    BuildLayout();
    onCreate = [this] { FormCreate(); };
    onClose = [this](CloseAction& action) { FormClose(action); };
}

void TOptionsDialog::Execute() { ShowModal(); }

void TOptionsDialog::FormCreate() {
    loadSettings();
    SettingsApplied = false;
}

void TOptionsDialog::loadSettings() {
    const Settings settings(app().os(), installationRoot_ + tree::kSettingsFileFromDialog);
    const auto heldSettings = settings.Hold();
    const std::string languageName = settings.Read(setting::kLanguage);
    const IniFile languageFile(app().os(), tree::LanguageFile(installationRoot_, languageName));
    const IniFile::Held heldLanguage(languageFile);

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

    SetCaption(LanguageText(languageFile, language::kOptionsTitle));
    auto text = [&](const char* section, const char* key) { return languageFile.ReadString(section, key, ""); };
    ApplyCaptions(*this, Definition(), {text, {}, {}});
}

void TOptionsDialog::btnApplyClick() {
    Settings settings(app().os(), installationRoot_ + tree::kSettingsFileFromDialog, &app());
    // With no language selected the stored one stays: an empty name would
    // leave every caption of both windows blank.
    if (cb_langs->itemIndex() >= 0) settings.Write(setting::kLanguage, cb_langs->SelectedText());
    settings.Write(setting::kStopServicesAtExit, cbx_stopServicesAtExit->checked());
    settings.Write(setting::kClearTempFiles, cbx_clearTempFiles->checked());
    settings.Write(setting::kAutorun, cbx_autorun->checked());
    settings.Write(setting::kAutorunApache, cbx_runApache->checked());
    settings.Write(setting::kAutorunPhpVersion, cb_phpversions->itemIndex());
    settings.Write(setting::kAutorunMySQL, cbx_mysql->checked());
    settings.Write(setting::kAutorunMySQLVersion, cb_mysqlversions->itemIndex());
    settings.Write(setting::kAutorunPgSQL, cbx_pgsql->checked());
    settings.Write(setting::kAutorunMongoDB, cbx_mongodb->checked());
    settings.Write(setting::kAutorunFTP, cbx_filezilla->checked());
    SettingsApplied = true;
    loadSettings();
}

void TOptionsDialog::Timer1Timer() {
    Control* const dependants[] = {cbx_runApache,    lbl_phpversions, cb_phpversions, cbx_mysql,    lbl_mysqlversion,
                                   cb_mysqlversions, cbx_pgsql,       cbx_mongodb,    cbx_filezilla};
    if (!cbx_autorun->checked()) {
        for (Control* c : dependants) c->SetEnabled(false);
        return;
    }
    for (Control* c : dependants) c->SetEnabled(true);
    lbl_phpversions->SetEnabled(cbx_runApache->checked());
    cb_phpversions->SetEnabled(cbx_runApache->checked());
    lbl_mysqlversion->SetEnabled(cbx_mysql->checked());
    cb_mysqlversions->SetEnabled(cbx_mysql->checked());
}

void TOptionsDialog::FormClose(CloseAction&) {
    if (SettingsApplied) loadSettings();
}

} // namespace vrk
