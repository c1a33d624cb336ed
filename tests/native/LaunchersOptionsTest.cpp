// The launchers, the component information panel and the options dialog.
#include "VrkFormFixture.h"

#include "IniText.h"
#include "OptionsDlg.h"

namespace vrk::testing {
namespace {

class LaunchersTest : public VrkFormTest {
protected:
    std::unique_ptr<TOptionsDialog> dialog;

    Tvrk_form& Started() {
        Tvrk_form& f = Start();
        dialog = std::make_unique<TOptionsDialog>(app, std::string(kRoot) + "vrk.exe");
        dialog->Create();
        f.OptionsDialog = dialog.get();
        os.log.clear();
        return f;
    }
    std::string SettingsText() { return os.FileContent(Path("vrk\\config\\settings.ini")); }
    void SetVersion(const std::string& relative, const std::string& product,
                    std::array<std::uint16_t, 4> fixed = {1, 0, 0, 0}) {
        os.WriteFile(Path(relative), "MZ");
        auto& v = os.versions[std::string(kRoot) + "\\" + relative];
        v.fixed = fixed;
        v.translations = {{0x0409, 0x04E4}};
        v.strings["040904E4"]["ProductVersion"] = product;
    }
};

// Pages and the folder go to the desktop's shell, which opens them with the
// user's own rights; the consoles, the system's administration tools, are
// started by the panel's own shell call, in the system folder.
TEST_F(LaunchersTest, PagesAndTheFolderOpenAsTheUserAndTheConsolesAsThePanel) {
    os.services = {{"Apache2.2", 4}, {"MySQL", 4}, {"postgresql-9.1", 4}, {"MongoDB", 4}, {"memcached Server", 4}};
    Tvrk_form& f = Started();
    f.Timer1Timer();
    backend.Click(*f.imgTabApache);
    backend.Click(*f.imgWFMRun);
    backend.Click(*f.lbl_MemAdminRun);
    backend.Click(*f.imgTabDB);
    for (ui::Control* c : std::initializer_list<ui::Control*>{
             f.imgPhpMyAdminRun, f.lbl_PhpPgAdminRun, f.imgMongoDBAdminRun, f.imgStartPage, f.lbl_vorlan,
             f.imgVRKFolder, f.lbl_srvmgr, f.imgTaskManager, f.lbl_spm, f.imgGroupPolicy})
        EXPECT_TRUE(backend.Click(*c)) << c->name;
    std::vector<std::string> shell;
    for (const auto& line : os.log)
        if (line.rfind("shell ", 0) == 0 || line.rfind("user-shell ", 0) == 0) shell.push_back(line);
    EXPECT_EQ(
        shell,
        (std::vector<std::string>{
            "user-shell open|https://localhost/wfm|||1",
            "user-shell open|https://localhost/memadmin|||1",
            "user-shell open|http://localhost/phpmyadmin|||1",
            "user-shell open|https://localhost/phppgadmin|||1",
            "user-shell open|https://localhost/mongo|||1",
            "user-shell open|https://localhost|||1",
            "user-shell open|https://www.vorlan.example/|||1",
            "user-shell open|C:\\Windows\\explorer.exe|\"C:\\VORLAN\\vrk\"|C:\\Windows\\system32|1",
            "shell "
            "open|C:\\Windows\\system32\\mmc.exe|\"C:\\Windows\\system32\\services.msc\"|C:\\Windows\\system32|1|0",
            "shell open|C:\\Windows\\system32\\taskmgr.exe||C:\\Windows\\system32|1|0",
            "shell "
            "open|C:\\Windows\\system32\\mmc.exe|\"C:\\Windows\\system32\\perfmon.msc\"|C:\\Windows\\system32|1|0",
            "shell open|C:\\Windows\\system32\\mmc.exe|\"C:\\Windows\\system32\\gpedit.msc\"|C:\\Windows\\system32|1|0",
        }));
    // Should no desktop shell answer, the pages' own shell call has the
    // window for its owner, as before.
    EXPECT_EQ(os.shellCalls.front().owner, 4660u);
}

TEST_F(LaunchersTest, LinksThatNeedApacheDoNotReactWhileItIsStopped) {
    os.services = {{"postgresql-9.1", 4}};
    Tvrk_form& f = Started();
    f.Timer1Timer();
    backend.Click(*f.imgTabDB);
    EXPECT_FALSE(backend.Click(*f.imgStartPage));
    EXPECT_FALSE(backend.Click(*f.imgPhpPgAdminRun));
    EXPECT_FALSE(backend.Click(*f.lbl_PhpPgAdminRun));
    EXPECT_TRUE(backend.Click(*f.imgPgWinAdminRun)) << "pgAdmin III needs only PostgreSQL";
    EXPECT_EQ(os.Commands(), std::vector<std::string>{"\"C:\\VORLAN\\\\servers\\pgsql\\91\\bin\\pgAdmin3.exe\""});
    EXPECT_EQ(os.log.back().substr(0, 7), "exec 1 ") << "shown normally";
}

TEST_F(LaunchersTest, TheFtpLinkChecksTheServiceAgain) {
    os.services = {{"FileZilla Server", 4}};
    Tvrk_form& f = Started();
    f.Timer1Timer();
    backend.Click(*f.imgTabFTP);
    os.services.clear(); // stopped since the last poll
    EXPECT_TRUE(backend.Click(*f.imgFTPAdmin));
    EXPECT_TRUE(os.Commands().empty());
    EXPECT_FALSE(f.lbl_ftpAdmin->enabled());
    EXPECT_TRUE(f.imgFTPAdmin->enabled()) << "the image waits for the poll";
    os.services = {{"FileZilla Server", 4}};
    backend.Click(*f.imgFTPAdmin);
    EXPECT_EQ(os.Commands(), std::vector<std::string>{"\"C:\\VORLAN\\\\servers\\ftp\\FileZillaServerInterface.exe\""});
    EXPECT_TRUE(f.lbl_ftpAdmin->enabled());
}

TEST_F(LaunchersTest, InformationRowsJoinWhatTheFilesSay) {
    SetVersion("vrk.exe", "1.3.22.0");
    SetVersion("servers\\apache\\bin\\httpd.exe", "2.2.25");
    SetVersion("servers\\php\\52\\php.exe", "5.2.17");
    SetVersion("servers\\php\\54\\php.exe", "5.4.19");
    SetVersion("servers\\perl\\bin\\perl.exe", "string table says 9", {5, 16, 3, 1});
    SetVersion("servers\\ftp\\FileZillaServer.exe", "0.9.41 beta", {0, 9, 41, 0});
    Tvrk_form& f = Started();
    EXPECT_EQ(f.strPerlVersion->caption(), "") << "read when the panel is first shown";
    backend.Click(*f.imgTabVRK);
    EXPECT_EQ(f.AppVersion, "1.3.22.0");
    EXPECT_EQ(f.strApacheVersion->caption(), "2.2.25     ( OpenSSL:  )");
    EXPECT_EQ(f.strNginxVersion->caption(), "----");
    EXPECT_EQ(f.strPerlVersion->caption(), "5.16.3.1");
    EXPECT_EQ(f.strPHPVersion->caption(), "5.2.17  -    -  5.4.19");
    EXPECT_EQ(f.strMySQLVersion->caption(), "5.1.70.0  -    -  ");
    EXPECT_EQ(f.strPgSQLVersion->caption(), "");
    EXPECT_EQ(f.strFTPVersion->caption(), "0.9.41.0");
    EXPECT_EQ(f.strMongoDBVersion->caption(), "2.0.9");
    EXPECT_EQ(f.lbl_VRKInfo_title->caption(), "Control Panel version 1.3.22.0");
}

TEST_F(LaunchersTest, TheTitleKeepsOneVersionOverManyOpeningsAndFollowsTheLanguage) {
    SetVersion("vrk.exe", "1.3.22.0");
    Tvrk_form& f = Started();
    backend.Click(*f.imgOptions);
    backend.Click(*f.imgTabVRK);
    for (int i = 0; i < 3; ++i) backend.Click(*f.imgOptions), backend.Click(*f.imgTabVRK);
    EXPECT_EQ(f.lbl_VRKInfo_title->caption(), "Control Panel version 1.3.22.0");
    backend.whileModal = [&](ui::Form&) {
        dialog->cb_langs->SetItemIndex(1); // Deutsch
        backend.Click(*dialog->btnApply);
        EXPECT_EQ(dialog->btnCancel->caption(), "Abbrechen") << "the dialog switches at once";
        EXPECT_NE(f.lbl_options->caption(), "Optionen") << "the window waits for the close";
    };
    backend.Click(*f.lbl_options);
    EXPECT_EQ(f.lbl_options->caption(), "Optionen");
    const std::string title = f.lbl_VRKInfo_title->caption();
    EXPECT_EQ(title.substr(title.size() - 9), " 1.3.22.0");
    EXPECT_EQ(title.find("1.3.22.0"), title.rfind("1.3.22.0"));
    EXPECT_EQ(f.StrStart, "Starten");
}

TEST_F(LaunchersTest, ApplyWritesTheElevenKeysAndNeverTheSkin) {
    WriteSettings("[vrk]\r\nlanguage=English\r\nskin=default\r\n[autorun]\r\nphp=7\r\n[langs]\r\nEnglish=1\r\nDeutsch="
                  "1\r\n[skins]\r\ndefault=1\r\n");
    Started();
    EXPECT_EQ(dialog->cb_phpversions->itemIndex(), -1) << "an index out of range selects nothing";
    EXPECT_EQ(dialog->cb_skins->itemIndex(), 0);
    dialog->cbx_stopServicesAtExit->SetChecked(true);
    dialog->cbx_autorun->SetChecked(true);
    dialog->cbx_pgsql->SetChecked(true);
    dialog->cb_mysqlversions->SetItemIndex(2);
    dialog->Show();
    backend.Click(*dialog->btnApply);
    EXPECT_EQ(SettingsText(),
              "[vrk]\r\nlanguage=English\r\nskin=default\r\nssae=1\r\nctf=0\r\n"
              "[autorun]\r\nphp=-1\r\nauto=1\r\napache=0\r\nmysqlserv=0\r\nmysql=2\r\npgsql=1\r\nmongo=0\r\nftp=0\r\n"
              "[langs]\r\nEnglish=1\r\nDeutsch=1\r\n[skins]\r\ndefault=1\r\n");
    EXPECT_TRUE(dialog->SettingsApplied);
}

TEST_F(LaunchersTest, ApplyWithNoLanguageSelectedKeepsTheStoredLanguage) {
    WriteSettings("[vrk]\r\nlanguage=Deutsch\r\n[langs]\r\nEnglish=1\r\n");
    Tvrk_form& f = Started();
    EXPECT_EQ(dialog->cb_langs->itemIndex(), -1) << "Deutsch is not in the list";
    backend.whileModal = [&](ui::Form&) { backend.Click(*dialog->btnApply); };
    backend.Click(*f.imgOptions);
    EXPECT_EQ(IniLookup(SettingsText(), "vrk", "language"), "Deutsch");
    EXPECT_EQ(f.lbl_options->caption(), "Optionen") << "captions never go blank";
}

TEST_F(LaunchersTest, CancelChangesNothingAndACloseAfterApplyDropsLaterEdits) {
    Tvrk_form& f = Started();
    const std::string before = SettingsText();
    backend.Click(*f.imgOptions); // opened and closed at once
    EXPECT_EQ(SettingsText(), before);

    backend.whileModal = [&](ui::Form&) { dialog->cbx_clearTempFiles->SetChecked(true); };
    backend.Click(*f.imgOptions);
    EXPECT_TRUE(dialog->cbx_clearTempFiles->checked()) << "no Apply yet: the controls stay as left";
    EXPECT_EQ(SettingsText(), before);

    backend.whileModal = [&](ui::Form&) {
        backend.Click(*dialog->btnApply);
        dialog->cbx_filezilla->SetChecked(true);
    };
    backend.Click(*f.imgOptions);
    EXPECT_FALSE(dialog->cbx_filezilla->checked()) << "a close after an Apply reloads from the file";
    EXPECT_TRUE(dialog->cbx_clearTempFiles->checked());
    EXPECT_TRUE(f.ClearTempFiles) << "the window read the settings again";
}

TEST_F(LaunchersTest, TheTimerEnablesTheAutorunControlsByTheirCheckBoxes) {
    Started();
    TOptionsDialog& d = *dialog;
    d.cbx_runApache->SetChecked(false);
    d.cbx_mysql->SetChecked(false);
    d.cbx_autorun->SetChecked(false);
    d.Timer1Timer();
    EXPECT_FALSE(d.cbx_pgsql->enabled());
    d.cbx_autorun->SetChecked(true);
    EXPECT_FALSE(d.cbx_pgsql->enabled()) << "the effect waits for the next tick";
    backend.TickTimers(app);
    EXPECT_TRUE(d.cbx_pgsql->enabled());
    EXPECT_TRUE(d.cbx_runApache->enabled());
    EXPECT_FALSE(d.cb_phpversions->enabled()) << "the PHP box follows the Apache box";
    d.cbx_runApache->SetChecked(true);
    d.Timer1Timer();
    EXPECT_TRUE(d.cb_phpversions->enabled());
    EXPECT_TRUE(d.lbl_phpversions->enabled());
    EXPECT_FALSE(d.cb_mysqlversions->enabled());
}

TEST_F(LaunchersTest, TheDialogShowsTheInstallationsOwnFolderAndTranslatorLines) {
    Started();
    EXPECT_EQ(dialog->ed_InstallationDrive->caption(), "C:\\VORLAN\\vrk");
    EXPECT_FALSE(dialog->ed_InstallationDrive->enabled());
    EXPECT_EQ(dialog->caption(), "Options");
    EXPECT_EQ(dialog->lbl_Translator->caption().substr(0, 14), "Translated by:");
    WriteSettings("[vrk]\r\nlanguage=Nobody\r\n");
    dialog->loadSettings();
    EXPECT_EQ(dialog->lbl_Translator->caption(), " ");
    EXPECT_TRUE(dialog->cb_langs->items().empty());
    EXPECT_EQ(dialog->cb_phpversions->itemIndex(), 0) << "defaults select the first version";
    EXPECT_EQ(dialog->lbl_languages->EffectiveCursor(), ui::Cursor::kSystemArrow)
        << "the skin's cursors are not the dialog's";
}

// Tab goes through the dialog in its order, over what cannot take the focus
// at that moment: what is disabled, and the about panel.
TEST_F(LaunchersTest, TabFollowsTheDialogsOrderOverWhatCannotTakeTheFocus) {
    Started();
    TOptionsDialog& d = *dialog;
    auto walk = [&](ui::Control* from, bool backwards, int steps) {
        std::vector<std::string> names;
        for (int i = 0; i < steps; ++i) {
            from = d.NextTabStop(from, backwards);
            names.push_back(from ? from->name : "none");
        }
        return names;
    };
    EXPECT_EQ(walk(nullptr, false, 1), std::vector<std::string>{"none"}) << "a hidden dialog takes no keys";
    d.Show();
    d.Timer1Timer(); // autorun off: the servers' boxes are disabled
    EXPECT_EQ(walk(nullptr, false, 7),
              (std::vector<std::string>{"cb_langs", "cbx_stopServicesAtExit", "cbx_clearTempFiles", "cbx_autorun",
                                        "btnApply", "btnCancel", "cb_langs"}));
    EXPECT_EQ(walk(nullptr, true, 2), (std::vector<std::string>{"btnCancel", "btnApply"}));
    d.cbx_autorun->SetChecked(true);
    d.cbx_runApache->SetChecked(true);
    d.cbx_mysql->SetChecked(false);
    d.Timer1Timer();
    EXPECT_EQ(walk(d.cbx_autorun, false, 8),
              (std::vector<std::string>{"cbx_runApache", "cb_phpversions", "cbx_mysql", "cbx_pgsql", "cbx_filezilla",
                                        "btnApply", "btnCancel", "cbx_mongodb"}));
}

// What is typed into a version box selects the item it equals, or none,
// and Apply stores that.
TEST_F(LaunchersTest, ATypedVersionSelectsTheItemItEqualsOrNone) {
    Started();
    TOptionsDialog& d = *dialog;
    d.cb_phpversions->SetText("PHP 5.3");
    d.cb_mysqlversions->SetText("foo");
    EXPECT_EQ(d.cb_phpversions->itemIndex(), 1);
    EXPECT_EQ(d.cb_mysqlversions->itemIndex(), -1);
    d.Show();
    backend.Click(*d.btnApply);
    EXPECT_EQ(IniLookup(SettingsText(), "autorun", "php"), "1");
    EXPECT_EQ(IniLookup(SettingsText(), "autorun", "mysql"), "-1");
    EXPECT_EQ(d.cb_phpversions->text(), "PHP 5.3") << "reloaded from the file";
    EXPECT_EQ(d.cb_mysqlversions->text(), "");
}

TEST_F(LaunchersTest, AFailedApplyKeepsTheDialogAsTheUserLeftIt) {
    Started();
    os.failingWrites = {std::string(kRoot) + "/vrk/config/settings.ini"};
    dialog->cbx_mongodb->SetChecked(true);
    dialog->Show();
    backend.Click(*dialog->btnApply);
    ASSERT_EQ(backend.errors.size(), 1u);
    EXPECT_EQ(backend.errors[0], "Unable to write to C:\\VORLAN\\/vrk/config/settings.ini");
    EXPECT_FALSE(dialog->SettingsApplied);
    EXPECT_TRUE(dialog->cbx_mongodb->checked());
}

} // namespace
} // namespace vrk::testing
