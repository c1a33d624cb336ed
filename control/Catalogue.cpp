#include "Catalogue.h"

#include "InstallTree.h"
#include "VRKLibrary.h"

namespace vrk::catalogue {
namespace {

const Facts kFacts[] = {
    {"Apache2.2", runstate::kApache, runstate::kApache},
    {"MySQL", runstate::kMySQL, runstate::kMySQL},
    {"postgresql-9.1", runstate::kPgSQL, runstate::kPgSQL},
    {"FileZilla Server", runstate::kFTP, runstate::kFTP},
    {"MongoDB", runstate::kMongoDB, runstate::kMongoDB},
    {"memcached Server", runstate::kMemcache, runstate::kMemcacheStopped},
};

bool IsVersion(int version) { return version >= 0 && version <= 2; }

Command Wait(std::string line, std::string directory = {}) {
    return {false, {}, std::move(line), std::move(directory)};
}
// NET names a service with a blank in quotes, any other bare.
Command Net(const Places& at, const char* verb, Server server) {
    const std::string service = Of(server).service;
    const std::string name = service.find(' ') == std::string::npos ? service : Quoted(service);
    return {true, at.system + "\\net.exe", std::string(verb) + " " + name, at.system};
}
// sc names every service in quotes.
Command Sc(const Places& at, const char* verb, Server server) {
    return Wait(Quoted(at.system + "\\sc.exe") + " " + verb + " " + Quoted(Of(server).service), at.system);
}
std::string Httpd(const Places& at) { return Quoted(at.root + tree::kHttpd); }
std::string FileZilla(const Places& at) { return Quoted(at.root + tree::kFileZillaServer); }
std::string PgCtl(const Places& at) { return Quoted(at.pgsqlBin + tree::kPgCtl); }

} // namespace

const Facts& Of(Server server) { return kFacts[static_cast<int>(server)]; }

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::optional<Command> Register(Server server, const Places& at, int version) {
    switch (server) {
    case kApache:
        if (!IsVersion(version)) return std::nullopt;
        return Wait(Httpd(at) + " -k install -f " + Quoted(at.root + tree::kPhpConfigs[version]));
    case kMySQL:
        if (!IsVersion(version)) return std::nullopt;
        return Wait(Quoted(at.root + tree::kMySQLBinFolders[version] + tree::kMySQLServer) +
                    " --install MySQL --defaults-file=" + Quoted(at.root + tree::kMySQLOptionFiles[version]));
    case kPgSQL: return Wait(PgCtl(at) + " register -N " + Quoted(Of(kPgSQL).service) + " -D " + Quoted(at.pgsqlData));
    case kFTP: return Wait(FileZilla(at) + " /install auto");
    case kMongoDB:
        return Wait(Quoted(at.root + tree::kMongoBin + tree::kMongoServer) + " --config " +
                    Quoted(at.root + tree::kMongoConfig) + " --repairpath " + Quoted(at.root + tree::kMongoRepair) +
                    " --directoryperdb --install");
    case kMemcache: return Wait(Quoted(at.root + tree::kMemcached) + " -d install");
    }
    return {};
}

Command Start(Server server, const Places& at) {
    switch (server) {
    case kApache: return Wait(Httpd(at) + " -k start");
    case kPgSQL: return Net(at, "START", server);
    case kFTP: return Wait(FileZilla(at) + " /start");
    case kMySQL:
    case kMongoDB:
    case kMemcache: return Sc(at, "start", server);
    }
    return {};
}

Command Stop(Server server, const Places& at) {
    switch (server) {
    case kApache: return Wait(Httpd(at) + " -k stop");
    case kFTP: return Wait(FileZilla(at) + " /stop");
    case kMySQL:
    case kPgSQL:
    case kMongoDB:
    case kMemcache: return Net(at, "STOP", server);
    }
    return {};
}

Command Unregister(Server server, const Places& at) {
    switch (server) {
    case kApache: return Wait(Httpd(at) + " -k uninstall");
    case kPgSQL: return Wait(PgCtl(at) + " unregister -N " + Quoted(Of(kPgSQL).service));
    case kMySQL:
    case kFTP:
    case kMongoDB:
    case kMemcache: return Sc(at, "delete", server);
    }
    return {};
}

bool ServerRuns(Platform& os, Server server) { return ServiceRunning(os, "", Of(server).service); }

std::uint32_t State(Platform& os, Server server) { return ServiceGetStatus(os, "", Of(server).service); }

} // namespace vrk::catalogue
