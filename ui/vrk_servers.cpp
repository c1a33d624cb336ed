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

// The servers whose web administration link needs Apache as well.
constexpr std::pair<cat::Server, Tvrk_form::Link> kWebLinks[] = {{cat::kMySQL, Tvrk_form::kPhpMyAdmin},
                                                                 {cat::kPgSQL, Tvrk_form::kPhpPgAdmin},
                                                                 {cat::kMongoDB, Tvrk_form::kMongoDBAdmin},
                                                                 {cat::kMemcache, Tvrk_form::kMemAdmin}};

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

std::uint32_t Tvrk_form::RunCommand(const cat::Command& command) {
    if (!command.viaShell) return ExecAndWait(os(), command.line, kSwHide, command.directory);
    os().ShellOpen(ShellCall::Open(command.program, command.line, command.directory, kSwHide));
    return 0;
}

bool Tvrk_form::ServerRuns(cat::Server server) { return cat::ServerRuns(os(), server); }

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

    if (ServerRuns(cat::kApache)) {
        imgApacheRun->SetVisible(false);
        frmGif->SetVisible(true);
        if (RunCommand(cat::Stop(cat::kApache, Places())) != 0 || Released) return;
        RunCommand(cat::Unregister(cat::kApache, Places()));
        if (Released) return;
        frmGif->SetVisible(false);
        ShowStartStopPicture(cat::kApache, false);
        os().Pause(500);
        ShowStartStopCaption(cat::kApache, false);
        ShowLink(kFileManager, false);
        rgp_PHPVersions->SetEnabled(true);
        // Every web administration link needs Apache.
        for (const Link link : {kMemAdmin, kPhpMyAdmin, kPhpPgAdmin, kMongoDBAdmin}) ShowLink(link, false);
    } else {
        // What runs is what shows and what is stored: the version cannot be
        // changed while the start waits for its commands, and [latest] gets
        // the one registered. A start that fails gives the choice back.
        rgp_PHPVersions->SetEnabled(false);
        frmGif->SetVisible(true);
        const auto registration = cat::Register(cat::kApache, Places(), php);
        if (!registration || RunCommand(*registration) != 0 || Released) {
            rgp_PHPVersions->SetEnabled(true);
            return;
        }
        RunCommand(cat::Start(cat::kApache, Places()));
        if (Released) return;
        frmGif->SetVisible(false);
        os().Pause(300);
        ShowStartStop(cat::kApache, true);
        ShowLink(kFileManager, true);
        SettingsIni->Write(setting::kLatestPhpVersion, php);
        imgApacheRun->SetVisible(true);
        // The web administration links of the servers that run.
        for (const auto& [server, link] : kWebLinks)
            if (ServerRuns(server)) ShowLink(link, true);
    }
}

// ------------------------------------------------------------------ MySQL

void Tvrk_form::ServerMYSQLRun() {
    if (MySQLBusy || Released) return;
    const auto frame = HandlerFrame(MySQLBusy, {imgTabApache, imgTabFTP});
    if (ServerRuns(cat::kMySQL)) {
        SwapIndicator(imgMySQLRun, myGif, 100);
        RunCommand(cat::Stop(cat::kMySQL, Places()));
        RunCommand(cat::Unregister(cat::kMySQL, Places()));
        if (Released) return;
        os().Pause(500);
        myGif->SetVisible(false);
        ShowStartStopPicture(cat::kMySQL, false);
        ShowLink(kPhpMyAdmin, false);
        ShowStartStopCaption(cat::kMySQL, false);
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
            ShowStartStopCaption(cat::kMySQL, false);
            ShowStartStopPicture(cat::kMySQL, false);
            return;
        }
        myGif->SetVisible(true);
        RunCommand(*registration);
        if (Released) return;
        RunCommand(cat::Start(cat::kMySQL, Places()));
        if (Released) return;
        SwapIndicator(myGif, imgMySQLRun, 1550);
        ShowStartStopCaption(cat::kMySQL, true);
        ShowStartStopPicture(cat::kMySQL, true);
        ShowLink(kPhpMyAdmin, ServerRuns(cat::kApache));
        rgp_MySQLVersions->SetEnabled(false);
    }
}

// ------------------------------------------------------------------ PostgreSQL

void Tvrk_form::ServerPGSQLRun() {
    if (PgSQLBusy || Released) return;
    const auto frame = HandlerFrame(PgSQLBusy, {imgTabApache, imgTabFTP});
    if (ServerRuns(cat::kPgSQL)) {
        SwapIndicator(imgPgSQLRun, pgGif, 100);
        RunCommand(cat::Stop(cat::kPgSQL, Places()));
        RunCommand(cat::Unregister(cat::kPgSQL, Places()));
        if (Released) return;
        os().Pause(200);
        ShowStartStopPicture(cat::kPgSQL, false);
        ShowLink(kPhpPgAdmin, false);
        ShowLink(kPgWinAdmin, false);
        pgGif->SetVisible(false);
    } else {
        pgGif->SetVisible(true);
        RunCommand(cat::Register(cat::kPgSQL, Places()).value());
        if (Released) return;
        RunCommand(cat::Start(cat::kPgSQL, Places()));
        os().Pause(500);
        ShowStartStopPicture(cat::kPgSQL, true);
        // Its label waits for the poll.
        ShowLinkPicture(kPgWinAdmin, true);
        imgPgWinAdminRun->SetEnabled(true);
        SwapIndicator(pgGif, imgPgSQLRun, 100);
        ShowLink(kPhpPgAdmin, ServerRuns(cat::kApache));
    }
}

// ------------------------------------------------------------------ FileZilla

void Tvrk_form::ServerFTPRun() {
    if (FTPBusy || Released) return;
    const auto frame = HandlerFrame(FTPBusy, {imgTabApache});
    if (ServerRuns(cat::kFTP)) {
        SwapIndicator(imgFTPRun, ftpGif, 100);
        RunCommand(cat::Stop(cat::kFTP, Places()));
        if (Released) return;
        RunCommand(cat::Unregister(cat::kFTP, Places()));
        if (Released) return;
        os().Pause(200);
        ftpGif->SetVisible(false);
        ShowStartStop(cat::kFTP, false);
    } else {
        ftpGif->SetVisible(true);
        RunCommand(cat::Register(cat::kFTP, Places()).value());
        if (Released) return;
        RunCommand(cat::Start(cat::kFTP, Places()));
        if (Released) return;
        os().Pause(200);
        ShowStartStop(cat::kFTP, true);
        SwapIndicator(ftpGif, imgFTPRun, 100);
    }
}

// ------------------------------------------------------------------ MongoDB

void Tvrk_form::ServerMongoDBRun() {
    if (MongoDBBusy || Released) return;
    const auto frame = HandlerFrame(MongoDBBusy, {imgTabApache, imgTabFTP});
    if (ServerRuns(cat::kMongoDB)) {
        SwapIndicator(imgMongoDBRun, mongoGif, 100);
        RunCommand(cat::Stop(cat::kMongoDB, Places()));
        RunCommand(cat::Unregister(cat::kMongoDB, Places()));
        if (Released) return;
        os().Pause(500);
        mongoGif->SetVisible(false);
        ShowStartStopPicture(cat::kMongoDB, false);
        ShowLink(kMongoDBAdmin, false);
        ShowStartStopCaption(cat::kMongoDB, false);
    } else {
        mongoGif->SetVisible(true);
        RunCommand(cat::Register(cat::kMongoDB, Places()).value());
        if (Released) return;
        RunCommand(cat::Start(cat::kMongoDB, Places()));
        if (Released) return;
        SwapIndicator(mongoGif, imgMongoDBRun, 1550);
        ShowStartStopCaption(cat::kMongoDB, true);
        ShowStartStopPicture(cat::kMongoDB, true);
        ShowLink(kMongoDBAdmin, ServerRuns(cat::kApache));
    }
}

// ------------------------------------------------------------------ memcached

void Tvrk_form::ServerMemcacheRun() {
    if (MemcacheBusy || Released) return;
    const auto frame = HandlerFrame(MemcacheBusy, {imgTabFTP});
    if (ServerRuns(cat::kMemcache)) {
        RunCommand(cat::Stop(cat::kMemcache, Places()));
        RunCommand(cat::Unregister(cat::kMemcache, Places()));
        if (Released) return;
        os().Pause(200);
        ShowStartStop(cat::kMemcache, false);
        ShowLink(kMemAdmin, false);
    } else {
        RunCommand(cat::Register(cat::kMemcache, Places()).value());
        if (Released) return;
        RunCommand(cat::Start(cat::kMemcache, Places()));
        if (Released) return;
        os().Pause(200);
        ShowStartStop(cat::kMemcache, true);
        ShowLink(kMemAdmin, ServerRuns(cat::kApache));
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
    for (const cat::Server server : cat::kPollOrder) running[static_cast<int>(server)] = ServerRuns(server);
    auto up = [&](cat::Server server) { return running[static_cast<int>(server)]; };
    Attempts attempts(app());
    for (const cat::Server server : cat::kPollOrder)
        if (!attempts([&] { RunIni->Record(cat::Of(server).polled, up(server)); })) break;

    // Then the window: captions and links before the two pictures, which
    // may be missing from the skin. Of the database links the poll keeps
    // only the labels.
    imgFTPRun->SetVisible(up(cat::kFTP));
    EnableLink(kFTPAdmin, up(cat::kFTP));
    ShowStartStopCaption(cat::kFTP, up(cat::kFTP));

    ShowStartStopCaption(cat::kMemcache, up(cat::kMemcache));

    imgMySQLRun->SetVisible(up(cat::kMySQL) && !myGif->visible());
    ShowStartStopCaption(cat::kMySQL, up(cat::kMySQL));

    const bool apache = up(cat::kApache);
    EnableLink(kStartPage, apache);
    imgApacheRun->SetVisible(apache && !frmGif->visible());
    ShowStartStopCaption(cat::kApache, apache);

    imgPgSQLRun->SetVisible(up(cat::kPgSQL));
    lbl_PhpPgAdminRun->SetEnabled(up(cat::kPgSQL) && ServerRuns(cat::kApache));
    lbl_PgWinAdminRun->SetEnabled(up(cat::kPgSQL));
    ShowStartStopCaption(cat::kPgSQL, up(cat::kPgSQL));

    imgMongoDBRun->SetVisible(up(cat::kMongoDB));
    lbl_MongoDBAdminRun->SetEnabled(up(cat::kMongoDB) && ServerRuns(cat::kApache));
    ShowStartStopCaption(cat::kMongoDB, up(cat::kMongoDB));

    ShowLinkPicture(kFTPAdmin, up(cat::kFTP), &attempts);
    ShowLinkPicture(kStartPage, apache, &attempts);
    attempts.Report();
}

// ------------------------------------------------------------------ stop-all, autorun, purge

void Tvrk_form::StopAllServers() {
    if (Released) return;
    StopAllBusy = true;
    btnExit->SetEnabled(false);
    // Whatever happens, stop-all ends with its flag cleared and, when it did
    // not finish, the exit usable.
    ScopeExit exitUsable([this] { btnExit->SetEnabled(true); });
    const ScopeExit notBusy([this] { StopAllBusy = false; });

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
        if (!ServerRuns(server) && !(Busy(server) && cat::State(os(), server) != kServiceNoState)) continue;
        RunCommand(cat::Stop(server, Places()));
        RunCommand(cat::Unregister(server, Places()));
        stopped(cat::Of(server).stopped);
    }
    // A NET stop is not waited for: a poll that ran inside a later command
    // could still find such a server running and record "1". What stop-all
    // stopped reads "0" when it ends, also when the close releases the file
    // right after and no later poll would put it right.
    for (const ServerKey key : stoppedKeys) record(key);
    if (failure) throw *failure;
    exitUsable.release();
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
    if (!ServerRuns(cat::kApache)) EmptyDirectory(os(), AppPath, tree::kPhpTemp);
}

} // namespace vrk
