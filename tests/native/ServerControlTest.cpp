// Start and stop of each server, the status poll, stop-all, autorun and the
// purge, on the headless window and the scripted platform.
#include "VrkFormFixture.h"

#include "IniText.h"

namespace vrk::testing {
namespace {

const std::string R = "C:\\VORLAN\\";
const std::string kHttpd = "\"C:\\VORLAN\\\\servers\\apache\\bin\\httpd.exe\"";
const std::string kSkin = "C:\\VORLAN\\\\vrk\\skins\\default";
// The system's programs, by their full paths in the scripted system folder.
const std::string kSc = "\"C:\\Windows\\system32\\sc.exe\"";
const std::string kNet = "C:\\Windows\\system32\\net.exe";

class ServerControlTest : public VrkFormTest {
protected:
    std::string RunIniText() { return os.FileContent(Path("vrk\\tmp\\run.ini")); }
    std::string SettingsText() { return os.FileContent(Path("vrk\\config\\settings.ini")); }
    // Log lines of commands, shell calls and pauses only.
    std::vector<std::string> Actions() {
        std::vector<std::string> out;
        for (const auto& line : os.log)
            if (line.rfind("exec ", 0) == 0 || line.rfind("shell ", 0) == 0 || line.rfind("sleep ", 0) == 0)
                out.push_back(line);
        return out;
    }
    // A click as a person makes it: first the tab that shows the control's panel.
    bool Press(ui::Control& control) {
        Tvrk_form& f = *form;
        if (control.parent() == f.PanelApache) backend.Click(*f.imgTabApache);
        if (control.parent() == f.PanelDB) backend.Click(*f.imgTabDB);
        if (control.parent() == f.PanelFTP) backend.Click(*f.imgTabFTP);
        return backend.Click(control);
    }
    Tvrk_form& Started() {
        Tvrk_form& f = Start();
        EXPECT_TRUE(backend.errors.empty()) << backend.errors.front();
        os.log.clear();
        return f;
    }
};

TEST_F(ServerControlTest, ApacheStartRunsRegisterThenStartAndSwitchesToTheRunningLook) {
    WriteSettings("[latest]\r\nphp=1\r\n");
    os.services = {{"MySQL", 4}};
    Tvrk_form& f = Started();
    bool busyShownDuringWait = false;
    os.ScriptCommand(kHttpd + " -k install -f \"C:\\VORLAN\\\\config\\php\\53\\httpd-php.conf\"",
                     {.waitRounds = 1, .duringWait = [&](int) {
                          busyShownDuringWait = f.frmGif->visible() && f.ApacheBusy && !f.imgTabDB->enabled();
                      }});
    ASSERT_TRUE(Press(*f.lbl_ApacheRunStop));
    EXPECT_TRUE(busyShownDuringWait);
    EXPECT_EQ(Actions(), (std::vector<std::string>{
                             "exec 0 " + kHttpd + " -k install -f \"C:\\VORLAN\\\\config\\php\\53\\httpd-php.conf\"",
                             "exec 0 " + kHttpd + " -k start",
                             "sleep 300",
                         }));
    EXPECT_FALSE(f.frmGif->visible());
    EXPECT_TRUE(f.imgApacheRun->visible());
    EXPECT_EQ(f.imgApacheRunStop->pictureFile(), kSkin + "\\stop.ico");
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Stop");
    EXPECT_TRUE(f.imgWFMRun->enabled());
    EXPECT_FALSE(f.rgp_PHPVersions->enabled());
    EXPECT_EQ(IniLookup(SettingsText(), "latest", "php"), "1");
    EXPECT_TRUE(f.imgPhpMyAdminRun->enabled()) << "MySQL runs";
    EXPECT_EQ(f.imgPhpMyAdminRun->pictureFile(), kSkin + "\\database.ico");
    EXPECT_FALSE(f.imgPhpPgAdminRun->enabled()) << "PostgreSQL does not";
    EXPECT_FALSE(f.imgMemAdminRun->enabled());
    EXPECT_TRUE(f.imgTabDB->enabled());
    EXPECT_FALSE(f.ApacheBusy);
}

TEST_F(ServerControlTest, ApacheStopThatFailsLeavesTheBusyLookButFreesTheTabs) {
    os.services = {{"Apache2.2", 4}};
    Tvrk_form& f = Started();
    os.ScriptCommand(kHttpd + " -k stop", {.exitCode = 1});
    Press(*f.imgApacheRunStop);
    EXPECT_EQ(os.Commands(), std::vector<std::string>{kHttpd + " -k stop"}) << "no uninstall after a failed stop";
    EXPECT_TRUE(f.frmGif->visible());
    EXPECT_FALSE(f.imgApacheRun->visible());
    EXPECT_EQ(f.imgApacheRunStop->pictureFile(), kSkin + "\\stop.ico");
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Stop");
    EXPECT_TRUE(f.imgWFMRun->enabled());
    EXPECT_TRUE(f.imgTabFTP->enabled());
    EXPECT_TRUE(f.imgTabDB->enabled());
    EXPECT_FALSE(f.ApacheBusy);
    f.Timer1Timer();
    EXPECT_FALSE(f.imgApacheRun->visible()) << "the poll keeps the indicator hidden under the busy one";
}

TEST_F(ServerControlTest, ApacheRegisterThatFailsStartsNothingAndWritesNoLatest) {
    WriteSettings("[latest]\r\nphp=0\r\n");
    Tvrk_form& f = Started();
    const std::string before = SettingsText();
    os.ScriptCommand(kHttpd + " -k install -f \"C:\\VORLAN\\\\config\\php\\52\\httpd-php.conf\"", {.exitCode = 1});
    Press(*f.imgApacheRunStop);
    EXPECT_EQ(os.Commands().size(), 1u);
    EXPECT_EQ(SettingsText(), before);
    EXPECT_TRUE(f.frmGif->visible());
    EXPECT_TRUE(f.rgp_PHPVersions->enabled());
}

TEST_F(ServerControlTest, ApacheStopWithEverythingRunningTurnsOffEveryWebLinkButPgAdmin) {
    os.services = {{"Apache2.2", 4}, {"MySQL", 4}, {"postgresql-9.1", 4}, {"MongoDB", 4}, {"memcached Server", 4}};
    Tvrk_form& f = Started();
    Press(*f.imgApacheRunStop);
    EXPECT_EQ(Actions(), (std::vector<std::string>{"exec 0 " + kHttpd + " -k stop",
                                                   "exec 0 " + kHttpd + " -k uninstall", "sleep 500"}));
    for (auto* link : {f.imgWFMRun, f.imgMemAdminRun, f.imgPhpMyAdminRun, f.imgPhpPgAdminRun, f.imgMongoDBAdminRun})
        EXPECT_FALSE(link->enabled()) << link->name;
    EXPECT_TRUE(f.imgPgWinAdminRun->enabled());
    EXPECT_TRUE(f.lbl_PgWinAdminRun->enabled());
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Start");
    EXPECT_TRUE(f.rgp_PHPVersions->enabled());
}

TEST_F(ServerControlTest, EachServersCommandsPausesAndLook) {
    Tvrk_form& f = Started();
    const std::string pg = "\"C:\\VORLAN\\\\servers\\pgsql\\91\\bin\\pg_ctl.exe\"";
    const std::string fz = "\"C:\\VORLAN\\\\servers\\ftp\\FileZillaServer.exe\"";
    struct Case {
        ui::Image* control;
        const char* service;
        std::vector<std::string> start, stop;
    } cases[] = {
        {f.imgMySQLRunStop,
         "MySQL",
         {"exec 0 \"C:\\VORLAN\\\\servers\\mysql\\51\\bin\\mysqld.exe\" --install MySQL "
          "--defaults-file=\"C:\\VORLAN\\config\\mysql\\51\\my.ini\"",
          "exec 0 " + kSc + " start \"MySQL\"", "sleep 1550"},
         {"sleep 100", "shell open|" + kNet + "|STOP MySQL|C:\\Windows\\system32|0|0",
          "exec 0 " + kSc + " delete \"MySQL\"", "sleep 500"}},
        {f.imgPgSQLRunStop,
         "postgresql-9.1",
         {"exec 0 " + pg + " register -N \"postgresql-9.1\" -D \"C:\\VORLAN\\\\data\\pgsql\"",
          "shell open|" + kNet + "|START postgresql-9.1|C:\\Windows\\system32|0|0", "sleep 500", "sleep 100"},
         {"sleep 100", "shell open|" + kNet + "|STOP postgresql-9.1|C:\\Windows\\system32|0|0",
          "exec 0 " + pg + " unregister -N \"postgresql-9.1\"", "sleep 200"}},
        {f.imgFTPRunStop,
         "FileZilla Server",
         {"exec 0 " + fz + " /install auto", "exec 0 " + fz + " /start", "sleep 200", "sleep 100"},
         {"sleep 100", "exec 0 " + fz + " /stop", "exec 0 " + kSc + " delete \"FileZilla Server\"", "sleep 200"}},
        {f.imgMongoDBRunStop,
         "MongoDB",
         {"exec 0 \"C:\\VORLAN\\\\servers\\mongo\\bin\\mongod.exe\" --config "
          "\"C:\\VORLAN\\\\config\\mongo\\mongo.conf\" "
          "--repairpath \"C:\\VORLAN\\\\tmp\\mongo\" --directoryperdb --install",
          "exec 0 " + kSc + " start \"MongoDB\"", "sleep 1550"},
         {"sleep 100", "shell open|" + kNet + "|STOP MongoDB|C:\\Windows\\system32|0|0",
          "exec 0 " + kSc + " delete \"MongoDB\"", "sleep 500"}},
        {f.imgMemcacheRunStop,
         "memcached Server",
         {"exec 0 \"C:\\VORLAN\\\\servers\\memcached\\memcached.exe\" -d install",
          "exec 0 " + kSc + " start \"memcached Server\"", "sleep 200"},
         {"shell open|" + kNet + "|STOP \"memcached Server\"|C:\\Windows\\system32|0|0",
          "exec 0 " + kSc + " delete \"memcached Server\"", "sleep 200"}},
    };
    // The system's programs work in the system folder, the bundle's own in
    // the panel's working folder.
    auto expectWorkingFolders = [&](const char* service) {
        const auto commands = os.Commands();
        ASSERT_EQ(commands.size(), os.childDirectories.size()) << service;
        for (std::size_t i = 0; i < commands.size(); ++i)
            EXPECT_EQ(os.childDirectories[i], commands[i].starts_with(kSc) ? "C:\\Windows\\system32" : "")
                << commands[i];
        os.log.clear();
        os.childDirectories.clear();
    };
    for (auto& c : cases) {
        os.log.clear();
        os.childDirectories.clear();
        Press(*c.control);
        EXPECT_EQ(Actions(), c.start) << c.service << " start";
        expectWorkingFolders(c.service);
        EXPECT_EQ(c.control->pictureFile(), kSkin + "\\stop.ico") << c.service;
        os.services[c.service] = 4;
        Press(*c.control);
        EXPECT_EQ(Actions(), c.stop) << c.service << " stop";
        expectWorkingFolders(c.service);
        EXPECT_EQ(c.control->pictureFile(), kSkin + "\\run.ico") << c.service;
        os.services.erase(c.service);
    }
    EXPECT_FALSE(f.myGif->visible() || f.pgGif->visible() || f.ftpGif->visible() || f.mongoGif->visible());
    EXPECT_EQ(f.lbl_MySQLRunStop->caption(), "Start");
}

// Images that act carry the name a screen reader announces: their label's
// caption, in the language, following the start/stop word.
TEST_F(ServerControlTest, ActingImagesAreNamedAfterTheirLabelsAndTheirServerInTheLanguage) {
    WriteSettings("[vrk]\r\nlanguage=Deutsch\r\n");
    Tvrk_form& f = Started();
    // The two "Start" of the Apache page say which server each starts; the
    // captions on show stay the bare word.
    EXPECT_EQ(f.imgApacheRunStop->caption(), "Starten, " + f.lbl_apache_title->caption());
    EXPECT_EQ(f.imgMemcacheRunStop->caption(), "Starten, memcached-Server");
    EXPECT_EQ(f.imgFTPAdmin->caption(), "Verwaltung, FileZilla-FTP-Server");
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Starten");
    EXPECT_EQ(f.imgStartPage->caption(), "Startseite");
    EXPECT_EQ(f.imgTabDB->caption(), "MySQL-Datenbank, PostgreSQL-Datenbank, MongoDB-Datenbank");
    EXPECT_EQ(f.btnExit->caption(), "Beenden");
    Press(*f.imgApacheRunStop);
    EXPECT_EQ(f.imgApacheRunStop->caption(), "Stoppen, Apache-Webserver");
    WriteSettings("[vrk]\r\nlanguage=English\r\n");
    f.ReadSettings();
    os.services = {{"Apache2.2", 4}};
    f.Timer1Timer();
    EXPECT_EQ(f.imgApacheRunStop->caption(), "Stop, Apache Web Server");
    EXPECT_EQ(f.imgMemcacheRunStop->caption(), "Start, memcached Server");
    EXPECT_EQ(f.btnMinimize->caption(), "Minimize");
}

TEST_F(ServerControlTest, PostgreSQLLeavesItsCaptionToThePoll) {
    os.services = {{"postgresql-9.1", 4}};
    Tvrk_form& f = Started();
    Press(*f.imgPgSQLRunStop);
    EXPECT_EQ(f.lbl_PgSQLRunStop->caption(), "Stop");
    os.services.clear();
    f.Timer1Timer();
    EXPECT_EQ(f.lbl_PgSQLRunStop->caption(), "Start");
}

TEST_F(ServerControlTest, AutorunSelectsTheStoredVersionsAndStartsInItsOrder) {
    WriteSettings("[autorun]\r\nauto=1\r\napache=1\r\nphp=1\r\nmysqlserv=1\r\nmysql=2\r\nftp=1\r\n");
    Tvrk_form& f = Start();
    ASSERT_TRUE(f.AutorunEnabled);
    f.AutorunServers();
    const auto commands = os.Commands();
    ASSERT_EQ(commands.size(), 6u);
    EXPECT_NE(commands[0].find("FileZillaServer.exe\" /install"), std::string::npos);
    EXPECT_NE(
        commands[2].find(
            "mysql\\56\\bin\\mysqld.exe\" --install MySQL --defaults-file=\"C:\\VORLAN\\config\\mysql\\56\\my.ini\""),
        std::string::npos)
        << commands[2];
    EXPECT_NE(commands[4].find("-f \"C:\\VORLAN\\\\config\\php\\53\\httpd-php.conf\""), std::string::npos)
        << commands[4];
    EXPECT_EQ(f.rgp_PHPVersions->itemIndex(), 1);
    EXPECT_EQ(f.rgp_MySQLVersions->itemIndex(), 2);
    EXPECT_EQ(IniLookup(SettingsText(), "latest", "php"), "1");
    EXPECT_TRUE(f.AutorunDone);
    EXPECT_FALSE(f.AutorunApache || f.AutorunMySQL || f.AutorunFTP);
    EXPECT_EQ(f.AutorunPHPIndex, 1) << "the indexes are kept";
    EXPECT_TRUE(f.btnExit->enabled());
}

TEST_F(ServerControlTest, AutorunClampsThePhpIndexAndStopsAServerThatStillRuns) {
    WriteSettings("[autorun]\r\nauto=1\r\napache=1\r\nphp=7\r\nmysqlserv=1\r\nmysql=1\r\n");
    Tvrk_form& f = Start();
    os.log.clear();
    os.services = {{"MySQL", 4}}; // started again after the stop-all of the start-up
    f.rgp_MySQLVersions->SetItemIndex(0);
    f.AutorunServers();
    const auto commands = os.Commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0], kSc + " delete \"MySQL\"") << "MySQL ran, so the pass stops it";
    EXPECT_EQ(f.rgp_MySQLVersions->itemIndex(), 0) << "a stop leaves the MySQL choice alone";
    EXPECT_NE(commands[1].find("php\\54\\httpd-php.conf"), std::string::npos) << commands[1];
}

TEST_F(ServerControlTest, AutorunWithNothingChosenStillStopsEverythingAtStart) {
    WriteSettings("[autorun]\r\nauto=1\r\n");
    os.services = {{"memcached Server", 4}};
    Tvrk_form& f = Start();
    EXPECT_EQ(os.Commands(), std::vector<std::string>{kSc + " delete \"memcached Server\""});
    EXPECT_EQ(IniLookup(RunIniText(), "servers", "memcache"), "0");
    os.log.clear();
    os.services.clear();
    f.AutorunServers();
    EXPECT_TRUE(os.Commands().empty());
    EXPECT_TRUE(f.AutorunDone);
    EXPECT_TRUE(f.btnExit->enabled());
}

TEST_F(ServerControlTest, ExitImageRule) {
    Tvrk_form& f = Started();
    struct Row {
        bool autorun, done, stopAll, apacheBusy;
        bool before, after;
    } rows[] = {
        {false, false, false, false, false, true}, {false, false, false, true, true, false},
        {false, false, true, false, false, false}, {true, false, false, false, false, false},
        {true, false, true, false, false, true},   {true, true, false, true, true, false},
        {true, true, true, false, false, true},
    };
    for (const auto& r : rows) {
        f.AutorunEnabled = r.autorun;
        f.AutorunDone = r.done;
        f.StopAllBusy = r.stopAll;
        f.ApacheBusy = r.apacheBusy;
        f.btnExit->SetEnabled(r.before);
        f.Timer1Timer();
        EXPECT_EQ(f.btnExit->enabled(), r.after)
            << "autorun " << r.autorun << " done " << r.done << " stop-all " << r.stopAll << " busy " << r.apacheBusy;
    }
}

// A start-up step that fails spoils only what needs what it would have
// made. Apache is left running by an earlier panel; stop-at-exit, the purge
// and autorun (MySQL and Apache) are on. Whatever fails, it is reported once;
// the start-up's stop-all, the first poll, the captions, the information
// title's blank, the autorun pass, a later poll and the close with its
// stop-all and purge all do their work.
struct Spoiled {
    const char* name;
    const char* file;   // removed from the tree, or
    bool stateFileHeld; // run.ini cannot be written
    const char* said;   // what the one error box says
};

void PrintTo(const Spoiled& spoiled, std::ostream* out) { *out << spoiled.name; }

class FailedStartUpStep : public ServerControlTest, public ::testing::WithParamInterface<Spoiled> {};

TEST_P(FailedStartUpStep, SpoilsOnlyWhatDependsOnIt) {
    const Spoiled& spoiled = GetParam();
    WriteSettings("[vrk]\r\nssae=1\r\nctf=1\r\n[autorun]\r\nauto=1\r\napache=1\r\nmysqlserv=1\r\n");
    os.WriteFile(Path("tmp\\php\\sess_1"), "x");
    if (spoiled.file) std::filesystem::remove_all(os.HostPath(Path(spoiled.file)));
    if (spoiled.stateFileHeld) os.failingWrites = {R + "\\vrk\\tmp\\run.ini"};
    const bool recorded = !spoiled.stateFileHeld && std::string(spoiled.name) != "NoTmpFolder";
    // The stand-ins do as they are told.
    os.services = {{"Apache2.2", 4}};
    auto then = [&](std::function<void()> effect) {
        return ScriptedPlatform::Child{.waitRounds = 1, .duringWait = [effect](int) { effect(); }};
    };
    os.ScriptCommand(kHttpd + " -k uninstall", then([&] { os.services.erase("Apache2.2"); }));
    os.ScriptCommand(kSc + " start \"MySQL\"", then([&] { os.services["MySQL"] = 4; }));
    os.ScriptCommand(kHttpd + " -k start", then([&] { os.services["Apache2.2"] = 4; }));

    Tvrk_form& f = Start();
    f.FinishStartup();
    ASSERT_EQ(backend.errors.size(), 1u) << spoiled.name;
    EXPECT_NE(backend.errors[0].find(spoiled.said), std::string::npos) << backend.errors[0];
    EXPECT_EQ(os.Commands(),
              (std::vector<std::string>{kHttpd + " -k stop", kHttpd + " -k uninstall",
                                        "\"C:\\VORLAN\\\\servers\\mysql\\51\\bin\\mysqld.exe\" --install MySQL "
                                        "--defaults-file=\"C:\\VORLAN\\config\\mysql\\51\\my.ini\"",
                                        kSc + " start \"MySQL\"",
                                        kHttpd + " -k install -f \"C:\\VORLAN\\\\config\\php\\52\\httpd-php.conf\"",
                                        kHttpd + " -k start"}))
        << "the start-up's stop-all, then the autorun pass";
    EXPECT_TRUE(f.AutorunDone);
    EXPECT_TRUE(f.btnExit->enabled());
    EXPECT_EQ(f.lbl_VRKInfo_title->caption(), "Control Panel version ");
    for (const ui::Label* label : {f.lbl_FTPRunStop, f.lbl_MemcacheRunStop, f.lbl_PgSQLRunStop, f.lbl_MongoDBRunStop})
        EXPECT_EQ(label->caption(), "Start") << label->name;
    EXPECT_EQ(f.lbl_MySQLRunStop->caption(), "Stop");

    // MySQL stopped outside the panel: the next poll sees it.
    os.services.erase("MySQL");
    backend.TickTimers(app);
    EXPECT_EQ(f.lbl_MySQLRunStop->caption(), "Start");
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Stop");
    if (recorded) {
        EXPECT_EQ(IniLookup(RunIniText(), "servers", "mysql"), "0");
        EXPECT_EQ(IniLookup(RunIniText(), "servers", "apache"), "1");
    }
    EXPECT_EQ(backend.errors.size(), 1u) << "still one box";

    // The close stops Apache, which the autorun pass started, and purges.
    os.ScriptCommand(kHttpd + " -k uninstall", then([&] { os.services.erase("Apache2.2"); }));
    os.log.clear();
    f.CloseApplication();
    EXPECT_EQ(os.Commands(), (std::vector<std::string>{kHttpd + " -k stop", kHttpd + " -k uninstall"}));
    EXPECT_FALSE(os.FileExists(Path("tmp\\php\\sess_1")));
    EXPECT_TRUE(backend.quit);
    if (recorded) {
        EXPECT_EQ(IniLookup(RunIniText(), "servers", "apache"), "0");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Steps, FailedStartUpStep,
    ::testing::Values(Spoiled{"NoIcon", "vrk\\skins\\default\\folder.ico", false, "folder.ico"},
                      Spoiled{"NoBackground", "vrk\\skins\\default\\bg.jpg", false, "bg.jpg"},
                      Spoiled{"NoAnimation", "vrk\\skins\\default\\loading.gif", false, "loading.gif"},
                      Spoiled{"NoLogo", "vrk\\skins\\default\\mongodb_logo.ico", false, "mongodb_logo.ico"},
                      Spoiled{"NoStateIcon", "vrk\\skins\\default\\wfm_off.ico", false, "wfm_off.ico"},
                      Spoiled{"StateFileHeld", nullptr, true, "Unable to write to"},
                      Spoiled{"NoTmpFolder", "vrk\\tmp", false, "Unable to write to"}),
    [](const ::testing::TestParamInfo<Spoiled>& info) { return std::string(info.param.name); });

TEST_F(ServerControlTest, PollAsksInItsOrderAndRecordsEveryServer) {
    os.services = {{"postgresql-9.1", 4}, {"MongoDB", 4}, {"FileZilla Server", 2}, {"MySQL", 3}};
    Tvrk_form& f = Started();
    os.WriteFile(Path("vrk\\tmp\\run.ini"), "");
    f.Timer1Timer();
    std::vector<std::string> queries;
    for (const auto& line : os.log)
        if (line.rfind("query ", 0) == 0) queries.push_back(line.substr(6));
    EXPECT_EQ(queries, (std::vector<std::string>{"FileZilla Server", "memcached Server", "MySQL", "Apache2.2",
                                                 "postgresql-9.1", "MongoDB", "Apache2.2", "Apache2.2"}))
        << "the six states, then Apache's again for the links of the two databases that run";
    EXPECT_EQ(RunIniText(), "[servers]\r\nftp=0\r\nmcache=0\r\nmysql=0\r\napache=0\r\npgsql=1\r\nmongo=1\r\n")
        << "pending states count as not running";
    EXPECT_EQ(f.lbl_FTPRunStop->caption(), "Start");
    EXPECT_TRUE(f.imgPgSQLRun->visible());
    EXPECT_FALSE(f.lbl_PhpPgAdminRun->enabled()) << "no Apache";
    EXPECT_TRUE(f.lbl_PgWinAdminRun->enabled());
    EXPECT_EQ(f.imgStartPage->pictureFile(), kSkin + "\\home_off.ico");
    EXPECT_FALSE(f.imgStartPage->enabled());
}

TEST_F(ServerControlTest, AServerStoppedOutsideThePanelShowsWithinOnePoll) {
    os.services = {{"FileZilla Server", 4}, {"Apache2.2", 4}};
    Tvrk_form& f = Started();
    f.Timer1Timer();
    EXPECT_TRUE(f.imgFTPRun->visible());
    EXPECT_TRUE(f.imgFTPAdmin->enabled());
    os.services.erase("FileZilla Server");
    f.Timer1Timer();
    EXPECT_FALSE(f.imgFTPRun->visible());
    EXPECT_EQ(f.lbl_FTPRunStop->caption(), "Start");
    EXPECT_EQ(f.imgFTPRunStop->pictureFile(), kSkin + "\\stop.ico") << "the poll leaves the start/stop picture";
    EXPECT_EQ(IniLookup(RunIniText(), "servers", "ftp"), "0");
    os.log.clear();
    Press(*f.imgFTPRunStop);
    EXPECT_NE(os.Commands().at(0).find("/install auto"), std::string::npos) << "a click takes the start path";
}

TEST_F(ServerControlTest, AClickOnAnotherServerRunsNestedAndOnTheSameServerIsIgnored) {
    Tvrk_form& f = Started();
    const std::string mysqlRegister = "\"C:\\VORLAN\\\\servers\\mysql\\51\\bin\\mysqld.exe\" --install MySQL "
                                      "--defaults-file=\"C:\\VORLAN\\config\\mysql\\51\\my.ini\"";
    bool sameIgnored = false;
    os.ScriptCommand(mysqlRegister, {.waitRounds = 2, .duringWait = [&](int round) {
                                         if (round == 1) Press(*f.imgPgSQLRunStop);
                                         if (round == 2) {
                                             const auto before = os.Commands().size();
                                             Press(*f.lbl_MySQLRunStop);
                                             sameIgnored = os.Commands().size() == before;
                                         }
                                     }});
    Press(*f.imgMySQLRunStop);
    EXPECT_TRUE(sameIgnored);
    const auto commands = os.Commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0], mysqlRegister);
    EXPECT_NE(commands[1].find("pg_ctl.exe\" register"), std::string::npos) << "PostgreSQL ran inside the wait";
    EXPECT_EQ(commands[2], kSc + " start \"MySQL\"") << "and MySQL went on afterwards";
    EXPECT_FALSE(f.MySQLBusy || f.PgSQLBusy);
}

TEST_F(ServerControlTest, KeysActThroughTheClickHandlerWithItsGuards) {
    WriteSettings("[latest]\r\nphp=0\r\n");
    Tvrk_form& f = Started();
    using ui::Key;
    backend.Click(*f.imgTabApache);
    for (int i = 0; i < 4; ++i) backend.Press(f, Key::kTab); // the two tabs below, the version, the image
    ASSERT_EQ(backend.focus, f.imgApacheRunStop);
    // Return starts Apache. While its register command is waited for, a
    // second press is ignored as a second click is, and the version choice,
    // which the start has disabled, is skipped both ways: Shift+Tab goes on
    // to the one tab the start leaves enabled, and Tab comes back.
    const std::string kRegister = kHttpd + " -k install -f \"C:\\VORLAN\\\\config\\php\\52\\httpd-php.conf\"";
    std::size_t commandsAfterSecondPress = 0;
    std::string focusDuringStart;
    os.ScriptCommand(kRegister, {.waitRounds = 1, .duringWait = [&](int) {
                                     backend.Press(f, Key::kSpace);
                                     commandsAfterSecondPress = os.Commands().size();
                                     backend.Press(f, Key::kTab, true);
                                     focusDuringStart = backend.focus->name;
                                     backend.Press(f, Key::kTab);
                                 }});
    EXPECT_TRUE(backend.Press(f, Key::kReturn));
    EXPECT_EQ(commandsAfterSecondPress, 1u);
    EXPECT_EQ(focusDuringStart, "imgTabApache");
    EXPECT_EQ(os.Commands(), (std::vector<std::string>{kRegister, kHttpd + " -k start"}));
    EXPECT_FALSE(f.rgp_PHPVersions->enabled());
    EXPECT_EQ(backend.focus, f.imgApacheRunStop);
    EXPECT_EQ(f.imgApacheRunStop->caption(), "Stop, Apache Web Server");
    // Space stops it again.
    os.services = {{"Apache2.2", 4}};
    os.log.clear();
    EXPECT_TRUE(backend.Press(f, Key::kSpace));
    EXPECT_EQ(os.Commands(), (std::vector<std::string>{kHttpd + " -k stop", kHttpd + " -k uninstall"}));
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Start");
    // A disabled image never acts, whichever way the focus got to it.
    f.imgApacheRunStop->SetEnabled(false);
    backend.focus = f.imgApacheRunStop;
    os.log.clear();
    backend.Press(f, Key::kReturn);
    EXPECT_TRUE(os.Commands().empty());
}

TEST_F(ServerControlTest, AHandlerThatFailsHalfWayRestoresItsFlagAndTabs) {
    Tvrk_form& f = Started();
    RemoveFile("vrk\\skins\\default\\stop.ico");
    Press(*f.imgFTPRunStop);
    ASSERT_EQ(backend.errors.size(), 1u);
    EXPECT_NE(backend.errors[0].find("stop.ico"), std::string::npos);
    EXPECT_FALSE(f.FTPBusy);
    EXPECT_TRUE(f.imgTabApache->enabled());
}

// A state icon missing from the skin at a later tick: every poll still
// records every server and sets every caption and the other picture; the
// box comes once, and again only after the picture has loaded in between.
TEST_F(ServerControlTest, APollWithAStateIconMissingStillRecordsAndShowsEverything) {
    Tvrk_form& f = Started();
    std::string icon;
    os.ReadContent(kSkin + "\\user_off.ico", icon);
    RemoveFile("vrk\\skins\\default\\user_off.ico");
    os.WriteFile(Path("vrk\\tmp\\run.ini"), "");
    os.services = {{"MySQL", 4}, {"Apache2.2", 4}};
    for (int i = 0; i < 3; ++i) backend.TickTimers(app);
    ASSERT_EQ(backend.errors.size(), 1u);
    EXPECT_NE(backend.errors[0].find("user_off.ico"), std::string::npos) << backend.errors[0];
    EXPECT_EQ(RunIniText(), "[servers]\r\nftp=0\r\nmcache=0\r\nmysql=1\r\napache=1\r\npgsql=0\r\nmongo=0\r\n");
    EXPECT_EQ(f.lbl_MySQLRunStop->caption(), "Stop");
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Stop");
    EXPECT_FALSE(f.lbl_ftpAdmin->enabled());
    EXPECT_EQ(f.imgStartPage->pictureFile(), kSkin + "\\home.ico") << "the other picture of the poll";
    os.services.clear();
    backend.TickTimers(app);
    EXPECT_EQ(IniLookup(RunIniText(), "servers", "apache"), "0");
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Start");
    os.WriteFile(kSkin + "\\user_off.ico", icon);
    backend.TickTimers(app);
    RemoveFile("vrk\\skins\\default\\user_off.ico");
    backend.TickTimers(app);
    EXPECT_EQ(backend.errors.size(), 2u) << "a new failure after a recovery is reported again";
}

TEST_F(ServerControlTest, StopAllStopsInItsOrderAndRecordsZeros) {
    os.services = {{"Apache2.2", 4},        {"MySQL", 4},   {"postgresql-9.1", 4},
                   {"FileZilla Server", 4}, {"MongoDB", 4}, {"memcached Server", 4}};
    os.processes = {{"FileZillaServerInterface.exe", 77}};
    Tvrk_form& f = Started();
    os.WriteFile(Path("vrk\\tmp\\run.ini"), "[servers]\r\nmcache=1\r\n");
    f.StopAllServers();
    EXPECT_EQ(os.log.front(), "terminate 77");
    const auto commands = os.Commands();
    ASSERT_EQ(commands.size(), 8u);
    EXPECT_NE(commands[0].find("FileZillaServer.exe\" /stop"), std::string::npos);
    EXPECT_EQ(commands[1], kSc + " delete \"FileZilla Server\"");
    EXPECT_EQ(commands[2], kSc + " delete \"MongoDB\"");
    EXPECT_NE(commands[3].find("pg_ctl.exe\" unregister"), std::string::npos);
    EXPECT_EQ(commands[4], kSc + " delete \"MySQL\"");
    EXPECT_EQ(commands[5], kHttpd + " -k stop");
    EXPECT_EQ(commands[6], kHttpd + " -k uninstall");
    EXPECT_EQ(commands[7], kSc + " delete \"memcached Server\"");
    EXPECT_EQ(RunIniText(),
              "[servers]\r\nmcache=1\r\nftp=0\r\nmongo=0\r\npgsql=0\r\nmysql=0\r\napache=0\r\nmemcache=0\r\n");
    EXPECT_FALSE(f.StopAllBusy);
    EXPECT_FALSE(f.btnExit->enabled()) << "the poll decides when the exit comes back";
}

TEST_F(ServerControlTest, StopAllWithNothingRunningOnlyEndsTheFtpInterface) {
    os.processes = {{"C:\\x\\FileZillaServerInterface.exe", 5}, {"FileZillaServerInterface.exe", 6}};
    Tvrk_form& f = Started();
    const std::string before = RunIniText();
    f.StopAllServers();
    EXPECT_TRUE(os.Commands().empty());
    EXPECT_EQ(RunIniText(), before);
    EXPECT_TRUE(os.processes.empty());
}

TEST_F(ServerControlTest, StopAllThatCannotWriteStillStopsEveryServerAndFreesTheExit) {
    os.services = {{"MySQL", 4}, {"Apache2.2", 4}};
    Tvrk_form& f = Started();
    os.failingWrites = {R + "\\vrk\\tmp\\run.ini"};
    app.Guard([&] { f.StopAllServers(); });
    EXPECT_EQ(backend.errors, std::vector<std::string>{"Unable to write to C:\\VORLAN\\\\vrk\\tmp\\run.ini"});
    EXPECT_EQ(os.Commands().size(), 3u) << "MySQL's unregister, Apache's stop and uninstall all ran";
    EXPECT_FALSE(f.StopAllBusy);
    EXPECT_TRUE(f.btnExit->enabled());
}

// The poll writes run.ini every second: a write that keeps failing is one
// box, not one a second; a write that works makes the next failure news
// again; and no box ever opens inside another.
TEST_F(ServerControlTest, AStateFileThatKeepsFailingIsReportedOncePerCause) {
    Started();
    const std::string runIni = R + "\\vrk\\tmp\\run.ini";
    const std::string unableToWrite = "Unable to write to " + runIni;
    os.failingWrites = {runIni};
    os.services = {{"MySQL", 4}, {"FileZilla Server", 4}, {"MongoDB", 4}};
    for (int i = 0; i < 3; ++i) backend.TickTimers(app);
    EXPECT_EQ(backend.errors, std::vector<std::string>{unableToWrite});
    EXPECT_EQ(os.refusedWrites, 3) << "a tick stops writing at the first of its three keys the file refuses";

    os.failingWrites.clear();
    backend.TickTimers(app);
    EXPECT_EQ(IniLookup(RunIniText(), "servers", "mysql"), "1");
    EXPECT_EQ(backend.errors.size(), 1u);

    // A poll picture goes missing; while its box is open the timer ticks
    // and the state file fails again.
    std::string icon;
    os.ReadContent(kSkin + "\\home_off.ico", icon);
    RemoveFile("vrk\\skins\\default\\home_off.ico");
    backend.whileErrorShown = [&] {
        os.WriteFile(kSkin + "\\home_off.ico", icon);
        os.failingWrites = {runIni};
        os.services.clear();
        backend.TickTimers(app);
    };
    backend.TickTimers(app);
    backend.whileErrorShown = nullptr;
    ASSERT_EQ(backend.errors.size(), 3u) << "what failed inside the box is shown once it has closed";
    EXPECT_NE(backend.errors[1].find("home_off.ico"), std::string::npos);
    EXPECT_EQ(backend.errors[2], unableToWrite);
    for (int i = 0; i < 3; ++i) backend.TickTimers(app);
    EXPECT_EQ(backend.errors.size(), 3u);
}

// A close whose stop-all cannot record the stopped servers: the person who
// asked to close sees why, even though the poll has said it before, and the
// close still stops every server and ends the program.
TEST_F(ServerControlTest, ACloseWithAFailingStateFileStillStopsEveryServerAndEnds) {
    WriteSettings("[vrk]\r\nssae=1\r\nctf=1\r\n");
    os.services = {{"MySQL", 4}, {"Apache2.2", 4}};
    os.WriteFile(Path("tmp\\php\\sess_1"), "x");
    Tvrk_form& f = Started();
    os.failingWrites = {R + "\\vrk\\tmp\\run.ini"};
    os.services = {{"MySQL", 1}, {"Apache2.2", 4}};
    backend.TickTimers(app);
    ASSERT_EQ(backend.errors.size(), 1u);
    os.services = {{"MySQL", 4}, {"Apache2.2", 4}};
    os.ScriptCommand(kHttpd + " -k uninstall", {.waitRounds = 1, .duringWait = [&](int) { os.services.clear(); }});
    EXPECT_TRUE(backend.Click(*f.btnExit));
    EXPECT_EQ(backend.errors.size(), 2u);
    EXPECT_EQ(backend.errors[1], backend.errors[0]);
    EXPECT_EQ(os.Commands().size(), 3u) << "every server's stop ran";
    EXPECT_FALSE(os.FileExists(Path("tmp\\php\\sess_1"))) << "the purge still ran";
    EXPECT_TRUE(f.Released);
    EXPECT_TRUE(backend.quit);
}

TEST_F(ServerControlTest, CloseWithStopAtExitAndPurge) {
    WriteSettings("[vrk]\r\nssae=1\r\nctf=1\r\n");
    os.services = {{"Apache2.2", 4}};
    os.WriteFile(Path("tmp\\php\\sess_1"), "x");
    os.WriteFile(Path("tmp\\php\\sub\\upload"), "x");
    Tvrk_form& f = Started();
    // The stand-in service stops when told to.
    os.ScriptCommand(kHttpd + " -k stop", {.duringWait = {}});
    os.ScriptCommand(kHttpd + " -k uninstall", {.waitRounds = 1, .duringWait = [&](int) { os.services.clear(); }});
    f.CloseApplication();
    EXPECT_EQ(os.Commands().size(), 2u);
    EXPECT_FALSE(os.FileExists(Path("tmp\\php\\sess_1")));
    EXPECT_FALSE(std::filesystem::exists(os.HostPath(Path("tmp\\php\\sub"))));
    EXPECT_TRUE(std::filesystem::exists(os.HostPath(Path("tmp\\php"))));
    EXPECT_TRUE(backend.quit);
}

TEST_F(ServerControlTest, PurgeLeavesTheTemporaryFilesWhileApacheRuns) {
    WriteSettings("[vrk]\r\nctf=1\r\n");
    os.services = {{"Apache2.2", 4}};
    os.WriteFile(Path("tmp\\php\\sess_1"), "x");
    Tvrk_form& f = Started();
    f.CloseApplication();
    EXPECT_TRUE(os.FileExists(Path("tmp\\php\\sess_1")));
    EXPECT_TRUE(os.Commands().empty());
}

TEST_F(ServerControlTest, ACloseDuringAWaitStopsTheHandlerAndThePoll) {
    Tvrk_form& f = Started();
    os.ScriptCommand(kHttpd + " -k install -f \"C:\\VORLAN\\\\config\\php\\52\\httpd-php.conf\"",
                     {.waitRounds = 1, .duringWait = [&](int) {
                          backend.Click(*f.btnExit);
                          backend.TickTimers(app);
                      }});
    os.WriteFile(Path("vrk\\tmp\\run.ini"), "");
    Press(*f.imgApacheRunStop);
    EXPECT_TRUE(f.Released);
    EXPECT_EQ(os.Commands().size(), 1u) << "nothing runs after the close";
    EXPECT_EQ(RunIniText(), "") << "no poll wrote after the files were released";
    EXPECT_TRUE(backend.errors.empty());
    EXPECT_TRUE(backend.quit);
}

TEST_F(ServerControlTest, AnInstallationRootWithABlankQuotesEveryPath) {
    os.MakeDirectory("C:\\Program Files\\VORLAN");
    std::filesystem::rename(os.HostPath("C:\\VORLAN\\vrk"), os.HostPath("C:\\Program Files\\VORLAN\\vrk"));
    form = std::make_unique<Tvrk_form>(app, "C:\\Program Files\\VORLAN\\vrk.exe");
    form->Create();
    form->Show();
    ASSERT_TRUE(backend.errors.empty()) << backend.errors.front();
    Press(*form->imgMySQLRunStop);
    Press(*form->imgApacheRunStop);
    const auto commands = os.Commands();
    EXPECT_EQ(commands.at(0), "\"C:\\Program Files\\VORLAN\\\\servers\\mysql\\51\\bin\\mysqld.exe\" --install MySQL "
                              "--defaults-file=\"C:\\Program Files\\VORLAN\\config\\mysql\\51\\my.ini\"");
    EXPECT_EQ(commands.at(2), "\"C:\\Program Files\\VORLAN\\\\servers\\apache\\bin\\httpd.exe\" -k install -f "
                              "\"C:\\Program Files\\VORLAN\\\\config\\php\\52\\httpd-php.conf\"");
}

TEST_F(ServerControlTest, AnUnreachableServiceManagerReadsAsEverythingStoppedAndLeavesNothingBusy) {
    os.services = {{"Apache2.2", 4}, {"MySQL", 4}};
    Tvrk_form& f = Started();
    f.Timer1Timer();
    EXPECT_EQ(IniLookup(RunIniText(), "servers", "apache"), "1");
    os.serviceManagerAvailable = false;
    f.Timer1Timer();
    EXPECT_EQ(RunIniText().find("=1\r"), std::string::npos) << RunIniText();
    EXPECT_EQ(f.lbl_ApacheRunStop->caption(), "Start");
    EXPECT_FALSE(f.imgApacheRun->visible());
    Press(*f.imgMySQLRunStop); // the start path, since nothing reads as running
    EXPECT_FALSE(f.MySQLBusy);
    EXPECT_TRUE(f.imgTabApache->enabled());
    EXPECT_TRUE(f.btnExit->enabled());
    EXPECT_TRUE(backend.errors.empty());
    os.serviceManagerAvailable = true;
    f.Timer1Timer();
    EXPECT_EQ(IniLookup(RunIniText(), "servers", "apache"), "1") << "the truth is back at the next poll";
}

TEST_F(ServerControlTest, AStandInThatCrashesOrCannotStartLeavesTheTruthToThePoll) {
    Tvrk_form& f = Started();
    // The register command crashes and the start cannot even be run.
    os.ScriptCommand(kHttpd + " -k install -f \"C:\\VORLAN\\\\config\\php\\52\\httpd-php.conf\"",
                     {.exitCode = 0xC0000005u});
    Press(*f.imgApacheRunStop);
    EXPECT_EQ(os.Commands().size(), 1u) << "a crashed register is a failed one";
    EXPECT_FALSE(f.ApacheBusy);
    os.ScriptCommand(kSc + " start \"MongoDB\"", {.starts = false});
    Press(*f.imgMongoDBRunStop);
    EXPECT_EQ(f.lbl_MongoDBRunStop->caption(), "Stop") << "the handler shows what it asked for";
    f.Timer1Timer();
    EXPECT_EQ(f.lbl_MongoDBRunStop->caption(), "Start") << "and the poll shows the truth";
    EXPECT_FALSE(f.imgMongoDBRun->visible());
    EXPECT_FALSE(f.MongoDBBusy);
}

TEST_F(ServerControlTest, APollInsideStopAllCannotLeaveAStoppedServerRecordedAsRunning) {
    os.services = {{"MySQL", 4}, {"Apache2.2", 4}};
    Tvrk_form& f = Started();
    // MySQL's NET stop is not waited for: it is still stopping while Apache's
    // stop runs, and a poll ticks in that wait.
    os.ScriptCommand(kHttpd + " -k stop", {.waitRounds = 1, .duringWait = [&](int) { f.Timer1Timer(); }});
    os.ScriptCommand(kHttpd + " -k uninstall", {.waitRounds = 1, .duringWait = [&](int) { os.services.clear(); }});
    f.StopAllServers();
    EXPECT_EQ(IniLookup(RunIniText(), "servers", "mysql"), "0");
    EXPECT_EQ(IniLookup(RunIniText(), "servers", "apache"), "0");
}

// The session ends (the system's session-end messages): the close runs then
// and there, whole, before the process is ended; also when a close is under
// way already, waiting for a command, which would never get to its end.
TEST_F(ServerControlTest, TheEndOfTheSessionRunsTheWholeCloseAlsoInsideACloseUnderWay) {
    WriteSettings("[vrk]\r\nssae=1\r\nctf=1\r\n");
    const std::vector<std::string> stopBoth = {"shell open|" + kNet + "|STOP MySQL|C:\\Windows\\system32|0|0",
                                               "exec 0 " + kSc + " delete \"MySQL\"", "exec 0 " + kHttpd + " -k stop",
                                               "exec 0 " + kHttpd + " -k uninstall"};
    for (const bool closing : {false, true}) {
        os.services = {{"MySQL", 4}, {"Apache2.2", 4}};
        os.WriteFile(Path("tmp\\php\\sess_1"), "x");
        Tvrk_form& f = Started();
        backend.quit = false;
        os.ScriptCommand(kHttpd + " -k uninstall", {.waitRounds = 1, .duringWait = [&](int) { os.services.clear(); }});
        // What is done once the session's close returns: after that the
        // process may be gone.
        bool done = false;
        auto endSession = [&] {
            f.EndSession();
            done = f.Released && backend.quit && !os.FileExists(Path("tmp\\php\\sess_1")) &&
                   Actions().back() == stopBoth.back() && IniLookup(RunIniText(), "servers", "apache") == "0";
        };
        if (closing) {
            os.ScriptCommand(kSc + " delete \"MySQL\"", {.waitRounds = 1, .duringWait = [&](int) {
                                                             os.services.erase("MySQL");
                                                             endSession();
                                                         }});
            f.CloseApplication();
        } else {
            endSession();
        }
        const char* how = closing ? "inside a close" : "alone";
        EXPECT_TRUE(done) << how;
        EXPECT_EQ(Actions(), stopBoth) << how;
    }
}

// A server on its way up when the close comes would be missed by the
// stop-all and run on: it is waited for, a few seconds at most, and stopped.
// One whose start the close cut short is removed all the same.
TEST_F(ServerControlTest, AServerOnItsWayUpWhenTheCloseComesIsWaitedForAndStopped) {
    WriteSettings("[vrk]\r\nssae=1\r\n");
    auto sleeps = [&] {
        int n = 0;
        for (const auto& line : os.log) n += line == "sleep 100";
        return n;
    };
    // MySQL's "sc start" waits, the service starting, when the session ends;
    // it comes up three tenths of a second later.
    {
        Tvrk_form& f = Started();
        int pauses = 0;
        os.duringPause = [&](std::uint32_t) {
            if (++pauses == 3) os.services["MySQL"] = kServiceRunning;
        };
        os.ScriptCommand(kSc + " start \"MySQL\"", {.waitRounds = 1, .duringWait = [&](int) {
                                                        os.services["MySQL"] = kServiceStartPending;
                                                        f.EndSession();
                                                    }});
        Press(*f.imgMySQLRunStop);
        EXPECT_EQ(sleeps(), 3);
        EXPECT_EQ(Actions().back(), "exec 0 " + kSc + " delete \"MySQL\"");
        EXPECT_TRUE(f.Released);
    }
    // Apache's register is cut short: registered, never to be started. The
    // wait ends after three seconds, and Apache is stopped and removed.
    os.duringPause = nullptr;
    os.services.clear();
    Tvrk_form& f = Started();
    const std::string registration = kHttpd + " -k install -f \"C:\\VORLAN\\\\config\\php\\52\\httpd-php.conf\"";
    os.ScriptCommand(registration, {.waitRounds = 1, .duringWait = [&](int) {
                                        os.services["Apache2.2"] = kServiceStopped;
                                        f.EndSession();
                                    }});
    Press(*f.imgApacheRunStop);
    EXPECT_EQ(sleeps(), 30);
    EXPECT_EQ(os.Commands(), (std::vector<std::string>{registration, kHttpd + " -k stop", kHttpd + " -k uninstall"}));
}

// What runs is what shows and what is stored: while a start waits for its
// commands, its version cannot be chosen.
TEST_F(ServerControlTest, AVersionClickedDuringAStartChangesNothing) {
    WriteSettings("[latest]\r\nphp=0\r\n");
    Tvrk_form& f = Started();
    backend.Click(*f.imgTabApache);
    bool phpTaken = true, mysqlTaken = true;
    os.ScriptCommand(kHttpd + " -k start", {.waitRounds = 1, .duringWait = [&](int) {
                                                phpTaken = backend.ClickItem(*f.rgp_PHPVersions, 2);
                                            }});
    Press(*f.imgApacheRunStop);
    EXPECT_FALSE(phpTaken);
    EXPECT_EQ(f.rgp_PHPVersions->itemIndex(), 0);
    EXPECT_EQ(IniLookup(SettingsText(), "latest", "php"), "0");
    EXPECT_NE(os.Commands().at(0).find("\\php\\52\\"), std::string::npos);

    os.log.clear();
    os.ScriptCommand(kSc + " start \"MySQL\"", {.waitRounds = 1, .duringWait = [&](int) {
                                                    mysqlTaken = backend.ClickItem(*f.rgp_MySQLVersions, 2);
                                                }});
    Press(*f.imgMySQLRunStop);
    EXPECT_FALSE(mysqlTaken);
    EXPECT_EQ(f.rgp_MySQLVersions->itemIndex(), 0);
    EXPECT_NE(os.Commands().at(0).find("\\mysql\\51\\bin\\mysqld.exe"), std::string::npos);
}

// A version index outside 0 to 2 names no program: nothing runs, and above
// all nothing from the root of a drive ("\mysqld.exe").
TEST_F(ServerControlTest, AVersionOutOfRangeRunsNothing) {
    const catalogue::Places places{R, R + "\\servers\\pgsql\\91\\bin", R + "\\data\\pgsql", "C:\\Windows\\system32"};
    for (const int version : {-1, 3})
        for (const catalogue::Server server : {catalogue::kApache, catalogue::kMySQL})
            EXPECT_FALSE(catalogue::Register(server, places, version)) << version;
    EXPECT_TRUE(catalogue::Register(catalogue::kMySQL, places, 2));
    EXPECT_TRUE(catalogue::Register(catalogue::kFTP, places)) << "a server of one version";

    // No PHP version since the last start, and MySQL by autorun with none
    // chosen (what the options dialog stores for an empty box).
    WriteSettings("[latest]\r\nphp=-1\r\n[autorun]\r\nauto=1\r\nmysqlserv=1\r\nmysql=-1\r\n");
    Tvrk_form& f = Started();
    f.FinishStartup();
    EXPECT_FALSE(f.myGif->visible());
    EXPECT_EQ(f.imgMySQLRunStop->pictureFile(), kSkin + "\\run.ico");
    EXPECT_EQ(f.lbl_MySQLRunStop->caption(), "Start");
    EXPECT_TRUE(f.rgp_MySQLVersions->enabled());
    EXPECT_FALSE(f.MySQLBusy);
    const std::string settings = SettingsText();
    Press(*f.imgApacheRunStop);
    EXPECT_TRUE(f.frmGif->visible()) << "as when its register fails";
    EXPECT_TRUE(f.rgp_PHPVersions->enabled());
    EXPECT_EQ(SettingsText(), settings) << "no [latest] written";
    EXPECT_FALSE(f.ApacheBusy);
    EXPECT_TRUE(Actions().empty()) << Actions().front();
    EXPECT_TRUE(backend.errors.empty());
}

} // namespace
} // namespace vrk::testing
