// The servers of the main window: start and stop of each, the status poll,
// stop-all, the autorun pass and the purge of PHP's temporary files.
#include <optional>

#include "InstallTree.h"
#include "Catalogue.h"
#include "Error.h"
#include "ScopeExit.h"
#include "VRKLibrary.h"
#include "vrk.h"

namespace vrk {
using namespace ui;
namespace cat = catalogue;

namespace {

// The frame of a start/stop handler: its busy flag and the tab images it
// disables are restored however the handler ends, an error included, so a
// failed picture load never leaves a tab dead or a flag stuck.
auto HandlerFrame(bool& busy, std::initializer_list<Control*> tabs) {
    busy = true;
    for (Control* tab : tabs) tab->SetEnabled(false);
    return ScopeExit([&busy, disabled = std::vector<Control*>(tabs)] {
        for (Control* tab : disabled) tab->SetEnabled(true);
        busy = false;
    });
}

} // namespace

cat::Places Tvrk_form::Places() { return {AppPath, PgSQLBinPath, PgSQLDataPath, os().SystemFolder()}; }

std::uint32_t Tvrk_form::Run(const cat::Command& command) {
    if (!command.viaShell) return ExecAndWait(os(), command.line, kSwHide, command.directory);
    ShellCall call;
    call.verb = "open";
    call.file = command.program;
    call.parameters = command.line;
    call.directory = command.directory;
    call.showCommand = kSwHide;
    os().ShellOpen(call);
    return 0;
}

bool Tvrk_form::Running(cat::Server server) { return cat::IsRunning(os(), server); }

void Tvrk_form::ShowPicture(Image* image, const char* file) { image->LoadFromFile(SkinPath + file); }

void Tvrk_form::SwapIndicator(Control* hidden, Control* shown, std::int32_t delayMs) {
    hidden->SetVisible(false);
    os().Pause(static_cast<std::uint32_t>(delayMs));
    shown->SetVisible(true);
}

// ------------------------------------------------------------------ Apache

void Tvrk_form::ServerApacheRun() {
    // A click while this server's handler waits for a command would start it
    // again on a half-done service.
    if (ApacheBusy || Released) return;
    const auto frame = HandlerFrame(ApacheBusy, {imgTabFTP, imgTabDB});
    if (AutorunApache) rgp_PHPVersions->SetItemIndex(AutorunPHPIndex);
    const int php = rgp_PHPVersions->itemIndex();

    if (Running(cat::kApache)) {
        imgApacheRun->SetVisible(false);
        frmGif->SetVisible(true);
        if (Run(cat::Stop(cat::kApache, Places())) != 0 || Released) return;
        Run(cat::Unregister(cat::kApache, Places()));
        if (Released) return;
        frmGif->SetVisible(false);
        ShowPicture(imgApacheRunStop, "\\run.ico");
        os().Pause(500);
        lbl_ApacheRunStop->SetCaption(StrStart);
        ShowPicture(imgWFMRun, "\\wfm_off.ico");
        lbl_WFMRun->SetEnabled(false);
        imgWFMRun->SetEnabled(false);
        rgp_PHPVersions->SetEnabled(true);
        ShowPicture(imgMemAdminRun, "\\wfm_off.ico");
        lbl_MemAdminRun->SetEnabled(false);
        imgMemAdminRun->SetEnabled(false);
        ShowPicture(imgPhpMyAdminRun, "\\database_off.ico");
        imgPhpMyAdminRun->SetEnabled(false);
        lbl_PhpMyAdminRun->SetEnabled(false);
        ShowPicture(imgPhpPgAdminRun, "\\database_off.ico");
        imgPhpPgAdminRun->SetEnabled(false);
        lbl_PhpPgAdminRun->SetEnabled(false);
        ShowPicture(imgMongoDBAdminRun, "\\database_off.ico");
        imgMongoDBAdminRun->SetEnabled(false);
        lbl_MongoDBAdminRun->SetEnabled(false);
    } else {
        // What runs is what shows and what is stored: the version cannot be
        // changed while the start waits for its commands, and [latest] gets
        // the one registered. A start that fails gives the choice back.
        rgp_PHPVersions->SetEnabled(false);
        frmGif->SetVisible(true);
        const auto registration = cat::Register(cat::kApache, Places(), php);
        if (!registration || Run(*registration) != 0 || Released) {
            rgp_PHPVersions->SetEnabled(true);
            return;
        }
        Run(cat::Start(cat::kApache, Places()));
        if (Released) return;
        frmGif->SetVisible(false);
        os().Pause(300);
        ShowPicture(imgApacheRunStop, "\\stop.ico");
        lbl_ApacheRunStop->SetCaption(StrStop);
        ShowPicture(imgWFMRun, "\\wfm.ico");
        lbl_WFMRun->SetEnabled(true);
        imgWFMRun->SetEnabled(true);
        SettingsIni->Write(setting::kLatestPhpVersion, php);
        imgApacheRun->SetVisible(true);
        if (Running(cat::kMySQL)) {
            ShowPicture(imgPhpMyAdminRun, "\\database.ico");
            imgPhpMyAdminRun->SetEnabled(true);
            lbl_PhpMyAdminRun->SetEnabled(true);
        }
        if (Running(cat::kPgSQL)) {
            ShowPicture(imgPhpPgAdminRun, "\\database.ico");
            imgPhpPgAdminRun->SetEnabled(true);
            lbl_PhpPgAdminRun->SetEnabled(true);
        }
        if (Running(cat::kMongoDB)) {
            ShowPicture(imgMongoDBAdminRun, "\\database.ico");
            imgMongoDBAdminRun->SetEnabled(true);
            lbl_MongoDBAdminRun->SetEnabled(true);
        }
        if (Running(cat::kMemcache)) {
            ShowPicture(imgMemAdminRun, "\\wfm.ico");
            lbl_MemAdminRun->SetEnabled(true);
            imgMemAdminRun->SetEnabled(true);
        }
    }
}

// ------------------------------------------------------------------ MySQL

void Tvrk_form::ServerMYSQLRun() {
    if (MySQLBusy || Released) return;
    const auto frame = HandlerFrame(MySQLBusy, {imgTabApache, imgTabFTP});
    if (Running(cat::kMySQL)) {
        SwapIndicator(imgMySQLRun, myGif, 100);
        Run(cat::Stop(cat::kMySQL, Places()));
        Run(cat::Unregister(cat::kMySQL, Places()));
        if (Released) return;
        os().Pause(500);
        myGif->SetVisible(false);
        ShowPicture(imgMySQLRunStop, "\\run.ico");
        ShowPicture(imgPhpMyAdminRun, "\\database_off.ico");
        imgPhpMyAdminRun->SetEnabled(false);
        lbl_MySQLRunStop->SetCaption(StrStart);
        lbl_PhpMyAdminRun->SetEnabled(false);
        rgp_MySQLVersions->SetEnabled(true);
    } else {
        if (AutorunMySQL) rgp_MySQLVersions->SetItemIndex(AutorunMySQLIndex);
        // The version registered is the one shown: no change while the start
        // runs.
        rgp_MySQLVersions->SetEnabled(false);
        const auto registration = cat::Register(cat::kMySQL, Places(), rgp_MySQLVersions->itemIndex());
        if (!registration) {
            // No version chosen: nothing runs, and the row shows so.
            rgp_MySQLVersions->SetEnabled(true);
            lbl_MySQLRunStop->SetCaption(StrStart);
            ShowPicture(imgMySQLRunStop, "\\run.ico");
            return;
        }
        myGif->SetVisible(true);
        Run(*registration);
        if (Released) return;
        Run(cat::Start(cat::kMySQL, Places()));
        if (Released) return;
        SwapIndicator(myGif, imgMySQLRun, 1550);
        lbl_MySQLRunStop->SetCaption(StrStop);
        ShowPicture(imgMySQLRunStop, "\\stop.ico");
        const bool apache = Running(cat::kApache);
        ShowPicture(imgPhpMyAdminRun, apache ? "\\database.ico" : "\\database_off.ico");
        imgPhpMyAdminRun->SetEnabled(apache);
        lbl_PhpMyAdminRun->SetEnabled(apache);
        rgp_MySQLVersions->SetEnabled(false);
    }
}

// ------------------------------------------------------------------ PostgreSQL

void Tvrk_form::ServerPGSQLRun() {
    if (PgSQLBusy || Released) return;
    const auto frame = HandlerFrame(PgSQLBusy, {imgTabApache, imgTabFTP});
    if (Running(cat::kPgSQL)) {
        SwapIndicator(imgPgSQLRun, pgGif, 100);
        Run(cat::Stop(cat::kPgSQL, Places()));
        Run(cat::Unregister(cat::kPgSQL, Places()));
        if (Released) return;
        os().Pause(200);
        ShowPicture(imgPgSQLRunStop, "\\run.ico");
        ShowPicture(imgPhpPgAdminRun, "\\database_off.ico");
        imgPhpPgAdminRun->SetEnabled(false);
        lbl_PhpPgAdminRun->SetEnabled(false);
        ShowPicture(imgPgWinAdminRun, "\\database_off.ico");
        imgPgWinAdminRun->SetEnabled(false);
        lbl_PgWinAdminRun->SetEnabled(false);
        pgGif->SetVisible(false);
    } else {
        pgGif->SetVisible(true);
        Run(cat::Register(cat::kPgSQL, Places()).value());
        if (Released) return;
        Run(cat::Start(cat::kPgSQL, Places()));
        os().Pause(500);
        ShowPicture(imgPgSQLRunStop, "\\stop.ico");
        ShowPicture(imgPgWinAdminRun, "\\database.ico");
        imgPgWinAdminRun->SetEnabled(true);
        SwapIndicator(pgGif, imgPgSQLRun, 100);
        const bool apache = Running(cat::kApache);
        ShowPicture(imgPhpPgAdminRun, apache ? "\\database.ico" : "\\database_off.ico");
        imgPhpPgAdminRun->SetEnabled(apache);
        lbl_PhpPgAdminRun->SetEnabled(apache);
    }
}

// ------------------------------------------------------------------ FileZilla

void Tvrk_form::ServerFTPRun() {
    if (FTPBusy || Released) return;
    const auto frame = HandlerFrame(FTPBusy, {imgTabApache});
    if (Running(cat::kFTP)) {
        SwapIndicator(imgFTPRun, ftpGif, 100);
        Run(cat::Stop(cat::kFTP, Places()));
        if (Released) return;
        Run(cat::Unregister(cat::kFTP, Places()));
        if (Released) return;
        os().Pause(200);
        ftpGif->SetVisible(false);
        ShowPicture(imgFTPRunStop, "\\run.ico");
        lbl_FTPRunStop->SetCaption(StrStart);
    } else {
        ftpGif->SetVisible(true);
        Run(cat::Register(cat::kFTP, Places()).value());
        if (Released) return;
        Run(cat::Start(cat::kFTP, Places()));
        if (Released) return;
        os().Pause(200);
        ShowPicture(imgFTPRunStop, "\\stop.ico");
        lbl_FTPRunStop->SetCaption(StrStop);
        SwapIndicator(ftpGif, imgFTPRun, 100);
    }
}

// ------------------------------------------------------------------ MongoDB

void Tvrk_form::ServerMongoDBRun() {
    if (MongoDBBusy || Released) return;
    const auto frame = HandlerFrame(MongoDBBusy, {imgTabApache, imgTabFTP});
    if (Running(cat::kMongoDB)) {
        SwapIndicator(imgMongoDBRun, mongoGif, 100);
        Run(cat::Stop(cat::kMongoDB, Places()));
        Run(cat::Unregister(cat::kMongoDB, Places()));
        if (Released) return;
        os().Pause(500);
        mongoGif->SetVisible(false);
        ShowPicture(imgMongoDBRunStop, "\\run.ico");
        ShowPicture(imgMongoDBAdminRun, "\\database_off.ico");
        imgMongoDBAdminRun->SetEnabled(false);
        lbl_MongoDBRunStop->SetCaption(StrStart);
        lbl_MongoDBAdminRun->SetEnabled(false);
    } else {
        mongoGif->SetVisible(true);
        Run(cat::Register(cat::kMongoDB, Places()).value());
        if (Released) return;
        Run(cat::Start(cat::kMongoDB, Places()));
        if (Released) return;
        SwapIndicator(mongoGif, imgMongoDBRun, 1550);
        lbl_MongoDBRunStop->SetCaption(StrStop);
        ShowPicture(imgMongoDBRunStop, "\\stop.ico");
        const bool apache = Running(cat::kApache);
        ShowPicture(imgMongoDBAdminRun, apache ? "\\database.ico" : "\\database_off.ico");
        imgMongoDBAdminRun->SetEnabled(apache);
        lbl_MongoDBAdminRun->SetEnabled(apache);
    }
}

// ------------------------------------------------------------------ memcached

void Tvrk_form::ServerMemcacheRun() {
    if (MemcacheBusy || Released) return;
    const auto frame = HandlerFrame(MemcacheBusy, {imgTabFTP});
    if (Running(cat::kMemcache)) {
        Run(cat::Stop(cat::kMemcache, Places()));
        Run(cat::Unregister(cat::kMemcache, Places()));
        if (Released) return;
        os().Pause(200);
        ShowPicture(imgMemcacheRunStop, "\\run.ico");
        lbl_MemcacheRunStop->SetCaption(StrStart);
        ShowPicture(imgMemAdminRun, "\\wfm_off.ico");
        lbl_MemAdminRun->SetEnabled(false);
        imgMemAdminRun->SetEnabled(false);
    } else {
        Run(cat::Register(cat::kMemcache, Places()).value());
        if (Released) return;
        Run(cat::Start(cat::kMemcache, Places()));
        if (Released) return;
        os().Pause(200);
        ShowPicture(imgMemcacheRunStop, "\\stop.ico");
        lbl_MemcacheRunStop->SetCaption(StrStop);
        const bool apache = Running(cat::kApache);
        ShowPicture(imgMemAdminRun, apache ? "\\wfm.ico" : "\\wfm_off.ico");
        lbl_MemAdminRun->SetEnabled(apache);
        imgMemAdminRun->SetEnabled(apache);
    }
}

// ------------------------------------------------------------------ status poll

void Tvrk_form::Timer1Timer() {
    // Once the close has released the runtime state file, there is nothing a
    // poll may write to.
    if (!RunIni || Released) return;

    const bool x = AutorunDone || StopAllBusy;
    if (x == AutorunEnabled) btnExit->SetEnabled(!ApacheBusy);

    // The states first, and at once into run.ini for the programs that read
    // it: nothing the window shows can keep them from it. A key that cannot
    // be written ends this tick's writes: the next ones would meet the same
    // file, each after its own wait for a program that holds it, and the
    // window would freeze that long every second. The next tick tries again.
    bool running[std::size(cat::kPollOrder)] = {};
    for (const cat::Server server : cat::kPollOrder) running[static_cast<int>(server)] = Running(server);
    auto up = [&](cat::Server server) { return running[static_cast<int>(server)]; };
    Attempts attempts(app());
    for (const cat::Server server : cat::kPollOrder)
        if (!attempts([&] { RunIni->Record(cat::Of(server).polled, up(server)); })) break;

    // Then the window: captions and links before the two pictures, which
    // may be missing from the skin.
    imgFTPRun->SetVisible(up(cat::kFTP));
    imgFTPAdmin->SetEnabled(up(cat::kFTP));
    lbl_ftpAdmin->SetEnabled(up(cat::kFTP));
    lbl_FTPRunStop->SetCaption(up(cat::kFTP) ? StrStop : StrStart);

    lbl_MemcacheRunStop->SetCaption(up(cat::kMemcache) ? StrStop : StrStart);

    imgMySQLRun->SetVisible(up(cat::kMySQL) && !myGif->visible());
    lbl_MySQLRunStop->SetCaption(up(cat::kMySQL) ? StrStop : StrStart);

    const bool apache = up(cat::kApache);
    lbl_vrkStart->SetEnabled(apache);
    imgStartPage->SetEnabled(apache);
    imgApacheRun->SetVisible(apache && !frmGif->visible());
    lbl_ApacheRunStop->SetCaption(apache ? StrStop : StrStart);

    imgPgSQLRun->SetVisible(up(cat::kPgSQL));
    lbl_PhpPgAdminRun->SetEnabled(up(cat::kPgSQL) && Running(cat::kApache));
    lbl_PgWinAdminRun->SetEnabled(up(cat::kPgSQL));
    lbl_PgSQLRunStop->SetCaption(up(cat::kPgSQL) ? StrStop : StrStart);

    imgMongoDBRun->SetVisible(up(cat::kMongoDB));
    lbl_MongoDBAdminRun->SetEnabled(up(cat::kMongoDB) && Running(cat::kApache));
    lbl_MongoDBRunStop->SetCaption(up(cat::kMongoDB) ? StrStop : StrStart);

    attempts([&] { ShowPicture(imgFTPAdmin, up(cat::kFTP) ? "\\user.ico" : "\\user_off.ico"); });
    attempts([&] { ShowPicture(imgStartPage, apache ? "\\home.ico" : "\\home_off.ico"); });
    attempts.Report();
}

// ------------------------------------------------------------------ stop-all, autorun, purge

void Tvrk_form::StopAllServers() {
    if (Released) return;
    StopAllBusy = true;
    btnExit->SetEnabled(false);
    bool finished = false;
    // Whatever happens, stop-all ends with its flag cleared and, when it did
    // not finish, the exit usable.
    const ScopeExit cleanup([&] {
        StopAllBusy = false;
        if (!finished) btnExit->SetEnabled(true);
    });

    // A state file that cannot be written must not leave servers running:
    // every server is still stopped, and the first failure is raised once
    // all are.
    std::optional<Error> failure;
    auto record = [&](ServerKey key) {
        if (Released || !RunIni) return;
        try {
            RunIni->Record(key, false);
        } catch (const Error& e) {
            if (!failure) failure = e;
        }
    };
    if (ProcessExists(os(), cat::kFTPInterfaceProgram)) KillTask(os(), cat::kFTPInterfaceProgram);
    std::vector<ServerKey> stoppedKeys;
    auto stopped = [&](ServerKey key) {
        stoppedKeys.push_back(key);
        record(key);
    };
    for (const cat::Server server : cat::kStopAllOrder) {
        // A server whose start or stop this stop-all cut short (its handler
        // waits below the close) is stopped and removed whatever state it
        // was left in: that handler never goes on.
        if (!Running(server) && !(Busy(server) && cat::State(os(), server) != kServiceNoState)) continue;
        Run(cat::Stop(server, Places()));
        Run(cat::Unregister(server, Places()));
        stopped(cat::Of(server).stopped);
    }
    // A NET stop is not waited for: a poll that ran inside a later command
    // could still find such a server running and record "1". What stop-all
    // stopped reads "0" when it ends, also when the close releases the file
    // right after and no later poll would put it right.
    for (const ServerKey key : stoppedKeys) record(key);
    if (failure) throw *failure;
    finished = true;
}

void Tvrk_form::AutorunServers() {
    btnExit->SetEnabled(false);
    // The pass always ends the same way, also after an error in a handler:
    // requests cleared, the exit usable, the pass marked done.
    const ScopeExit end([this] {
        AutorunApache = AutorunMySQL = AutorunPgSQL = AutorunMongoDB = AutorunFTP = false;
        btnExit->SetEnabled(true);
        AutorunDone = true;
    });
    {
        const auto held = SettingsIni->Hold();
        AutorunApache = SettingsIni->Read(setting::kAutorunApache);
        AutorunPHPIndex = SettingsIni->Read(setting::kAutorunPhpVersion);
        AutorunMySQL = SettingsIni->Read(setting::kAutorunMySQL);
        AutorunMySQLIndex = SettingsIni->Read(setting::kAutorunMySQLVersion);
        AutorunPgSQL = SettingsIni->Read(setting::kAutorunPgSQL);
        AutorunMongoDB = SettingsIni->Read(setting::kAutorunMongoDB);
        AutorunFTP = SettingsIni->Read(setting::kAutorunFTP);
    }

    // Each start stands on its own: one that fails half-way (a picture
    // missing after its commands ran) is reported, and the next server
    // still starts.
    auto start = [this](bool requested, void (Tvrk_form::*handler)()) {
        if (requested && !Released) app().Guard([this, handler] { (this->*handler)(); });
    };
    start(AutorunFTP, &Tvrk_form::ServerFTPRun);
    start(AutorunMongoDB, &Tvrk_form::ServerMongoDBRun);
    start(AutorunPgSQL, &Tvrk_form::ServerPGSQLRun);
    start(AutorunMySQL, &Tvrk_form::ServerMYSQLRun);
    start(AutorunApache, &Tvrk_form::ServerApacheRun);
}

bool Tvrk_form::Busy(cat::Server server) const {
    switch (server) {
    case cat::kApache: return ApacheBusy;
    case cat::kMySQL: return MySQLBusy;
    case cat::kPgSQL: return PgSQLBusy;
    case cat::kFTP: return FTPBusy;
    case cat::kMongoDB: return MongoDBBusy;
    case cat::kMemcache: return MemcacheBusy;
    }
    return false;
}

void Tvrk_form::WaitForStartingServers() {
    // A server on its way up when the close comes would be missed by the
    // stop-all and run on after the panel: its service still starting, or
    // its handler (cut short by this close) waiting for its commands. Each
    // gets a few seconds to come up, asked every tenth of a second, with no
    // message handled meanwhile: a session that ends gives little time.
    constexpr std::uint32_t kPollMs = 100, kLongestMs = 3000;
    auto onItsWay = [this] {
        for (const cat::Server server : cat::kStopAllOrder) {
            const std::uint32_t state = cat::State(os(), server);
            if (state == kServiceStartPending ||
                (Busy(server) && (state == kServiceNoState || state == kServiceStopped)))
                return true;
        }
        return false;
    };
    for (std::uint32_t waited = 0; waited < kLongestMs && onItsWay(); waited += kPollMs) os().Pause(kPollMs);
}

void Tvrk_form::PurgeTempFiles() {
    if (!Running(cat::kApache)) EmptyDirectory(os(), AppPath, tree::kPhpTemp);
}

} // namespace vrk
