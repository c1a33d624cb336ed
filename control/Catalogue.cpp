#include "Catalogue.h"

namespace vrk::catalogue {
namespace {
const char* const kVersionFolders[] = {"51", "55", "56"};
const char* const kPhpFolders[] = {"52", "53", "54"};
bool InRange(int index) { return index >= 0 && index <= 2; }
} // namespace

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string PhpConfigFile(const std::string& root, int index) {
    return InRange(index) ? root + "\\config\\php\\" + kPhpFolders[index] + "\\httpd-php.conf" : std::string();
}

std::string MySQLBinFolder(const std::string& root, int index) {
    return InRange(index) ? root + "\\servers\\mysql\\" + kVersionFolders[index] + "\\bin" : std::string();
}

std::string MySQLOptionFile(const std::string& root, int index) {
    return InRange(index) ? root + "config\\mysql\\" + kVersionFolders[index] + "\\my.ini" : std::string();
}

static std::string Sc(const std::string& system) { return Quoted(system + "\\sc.exe"); }
static std::string Httpd(const std::string& root) { return Quoted(root + "\\servers\\apache\\bin\\httpd.exe"); }
static std::string FileZilla(const std::string& root) { return Quoted(root + "\\servers\\ftp\\FileZillaServer.exe"); }

std::string ApacheRegister(const std::string& root, const std::string& configFile) {
    return Httpd(root) + " -k install -f " + Quoted(configFile);
}
std::string ApacheStart(const std::string& root) { return Httpd(root) + " -k start"; }
std::string ApacheStop(const std::string& root) { return Httpd(root) + " -k stop"; }
std::string ApacheUnregister(const std::string& root) { return Httpd(root) + " -k uninstall"; }

std::string MySQLRegister(const std::string& binFolder, const std::string& optionFile) {
    return Quoted(binFolder + "\\mysqld.exe") + " --install MySQL --defaults-file=" + Quoted(optionFile);
}
std::string MySQLStart(const std::string& system) { return Sc(system) + " start \"MySQL\""; }
std::string MySQLUnregister(const std::string& system) { return Sc(system) + " delete \"MySQL\""; }

std::string PgSQLRegister(const std::string& binPath, const std::string& dataPath) {
    return Quoted(binPath + "\\pg_ctl.exe") + " register -N \"postgresql-9.1\" -D " + Quoted(dataPath);
}
std::string PgSQLUnregister(const std::string& binPath) {
    return Quoted(binPath + "\\pg_ctl.exe") + " unregister -N \"postgresql-9.1\"";
}

std::string FTPRegister(const std::string& root) { return FileZilla(root) + " /install auto"; }
std::string FTPStart(const std::string& root) { return FileZilla(root) + " /start"; }
std::string FTPStop(const std::string& root) { return FileZilla(root) + " /stop"; }
std::string FTPUnregister(const std::string& system) { return Sc(system) + " delete \"FileZilla Server\""; }

std::string MongoDBRegister(const std::string& root) {
    return Quoted(root + "\\servers\\mongo\\bin" + "\\mongod.exe") + " --config " +
           Quoted(root + "\\config\\mongo\\mongo.conf") + " --repairpath " + Quoted(root + "\\tmp\\mongo") +
           " --directoryperdb --install";
}
std::string MongoDBStart(const std::string& system) { return Sc(system) + " start \"MongoDB\""; }
std::string MongoDBUnregister(const std::string& system) { return Sc(system) + " delete \"MongoDB\""; }

std::string MemcacheRegister(const std::string& root) {
    return Quoted(root + "\\servers\\memcached\\memcached.exe") + " -d install";
}
std::string MemcacheStart(const std::string& system) { return Sc(system) + " start \"memcached Server\""; }
std::string MemcacheUnregister(const std::string& system) { return Sc(system) + " delete \"memcached Server\""; }

std::string NetProgram(const std::string& system) { return system + "\\net.exe"; }

} // namespace vrk::catalogue
