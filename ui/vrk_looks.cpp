// The looks the main window's handlers set, each written once: a table of
// the administration links, one of the servers' start/stop controls, and the
// helpers a handler sets them with, so that it reads as its steps.
#include "vrk.h"

namespace vrk {
using namespace ui;
namespace cat = catalogue;

namespace {

using T = Tvrk_form;

// A link, as a tool bar's button table has it: what acts, and the skin's
// picture for each state.
struct LinkDef {
    Image* T::*image;
    Label* T::*label;
    const char* on;
    const char* off;
};

// In the order of Tvrk_form::Link.
const LinkDef kLinks[] = {
    {&T::imgStartPage, &T::lbl_vrkStart, "\\home.ico", "\\home_off.ico"},
    {&T::imgWFMRun, &T::lbl_WFMRun, "\\wfm.ico", "\\wfm_off.ico"},
    {&T::imgMemAdminRun, &T::lbl_MemAdminRun, "\\wfm.ico", "\\wfm_off.ico"},
    {&T::imgPhpMyAdminRun, &T::lbl_PhpMyAdminRun, "\\database.ico", "\\database_off.ico"},
    {&T::imgPhpPgAdminRun, &T::lbl_PhpPgAdminRun, "\\database.ico", "\\database_off.ico"},
    {&T::imgPgWinAdminRun, &T::lbl_PgWinAdminRun, "\\database.ico", "\\database_off.ico"},
    {&T::imgMongoDBAdminRun, &T::lbl_MongoDBAdminRun, "\\database.ico", "\\database_off.ico"},
    {&T::imgFTPAdmin, &T::lbl_ftpAdmin, "\\user.ico", "\\user_off.ico"},
};

// A server's start/stop image and label, and its handler's busy flag.
struct ServerDef {
    Image* T::*startStop;
    Label* T::*startStopLabel;
    bool T::*busy;
};

// In the order of catalogue::Server.
const ServerDef kServers[] = {
    {&T::imgApacheRunStop, &T::lbl_ApacheRunStop, &T::ApacheBusy},
    {&T::imgMySQLRunStop, &T::lbl_MySQLRunStop, &T::MySQLBusy},
    {&T::imgPgSQLRunStop, &T::lbl_PgSQLRunStop, &T::PgSQLBusy},
    {&T::imgFTPRunStop, &T::lbl_FTPRunStop, &T::FTPBusy},
    {&T::imgMongoDBRunStop, &T::lbl_MongoDBRunStop, &T::MongoDBBusy},
    {&T::imgMemcacheRunStop, &T::lbl_MemcacheRunStop, &T::MemcacheBusy},
};

const ServerDef& ControlsOf(cat::Server server) { return kServers[static_cast<int>(server)]; }

} // namespace

void Tvrk_form::ShowPicture(Image* image, const char* file, Attempts* attempts) {
    if (attempts)
        (*attempts)([&] { image->LoadFromFile(SkinPath + file); });
    else
        image->LoadFromFile(SkinPath + file);
}

void Tvrk_form::ShowLink(Link link, bool on, Attempts* attempts) {
    ShowLinkPicture(link, on, attempts);
    EnableLink(link, on);
}

void Tvrk_form::ShowLinkPicture(Link link, bool on, Attempts* attempts) {
    const LinkDef& def = kLinks[link];
    ShowPicture(this->*def.image, on ? def.on : def.off, attempts);
}

void Tvrk_form::EnableLink(Link link, bool on) {
    (this->*kLinks[link].image)->SetEnabled(on);
    (this->*kLinks[link].label)->SetEnabled(on);
}

void Tvrk_form::ShowStartStop(cat::Server server, bool running, Attempts* attempts) {
    ShowStartStopPicture(server, running, attempts);
    ShowStartStopCaption(server, running);
}

void Tvrk_form::ShowStartStopPicture(cat::Server server, bool running, Attempts* attempts) {
    ShowPicture(this->*ControlsOf(server).startStop, running ? "\\stop.ico" : "\\run.ico", attempts);
}

void Tvrk_form::ShowStartStopCaption(cat::Server server, bool running) {
    (this->*ControlsOf(server).startStopLabel)->SetCaption(running ? StrStop : StrStart);
}

bool Tvrk_form::Busy(cat::Server server) const { return this->*ControlsOf(server).busy; }

} // namespace vrk
