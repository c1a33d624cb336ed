#pragma once
// The six managed servers and what is known of each without any window: the
// service it runs as, its keys in run.ini, the commands that register,
// start, stop and unregister it, and the orders in which the panel goes
// through them.
//
// Commands are formed when they run, from the installation root and the
// version chosen, by plain concatenation. Every path of the installation is
// quoted on the command line, so that a root with a blank still runs the
// bundle's own program (and never one the blank would cut the path at). The
// system's own programs (sc, NET) go by their full path in the system
// folder: named bare they would be looked for first in the installation
// root, where any local user may plant a program of that name, which would
// then run with the panel's rights.
#include <optional>
#include <string>

#include "Platform.h"
#include "RunState.h"

namespace vrk::catalogue {

enum class Server { kApache, kMySQL, kPgSQL, kFTP, kMongoDB, kMemcache };

struct Facts {
    const char* service; // the Windows service it runs as
    ServerKey polled;    // its key in run.ini, written by the status poll
    ServerKey stopped;   // the key stop-all writes "0" to once it has stopped it
};
const Facts& Of(Server server);

using enum Server;
// The orders in which the panel goes through the servers.
inline constexpr Server kPollOrder[] = {kFTP, kMemcache, kMySQL, kApache, kPgSQL, kMongoDB};
inline constexpr Server kStartUpOrder[] = {kFTP, kMemcache, kMySQL, kPgSQL, kApache, kMongoDB};
inline constexpr Server kAutorunOrder[] = {kFTP, kMongoDB, kPgSQL, kMySQL, kApache}; // memcached never autoruns
inline constexpr Server kStopAllOrder[] = {kFTP, kMongoDB, kPgSQL, kMySQL, kApache, kMemcache};

// FileZilla's administration program, which stop-all ends by its name.
inline constexpr const char* kFTPInterfaceProgram = "FileZillaServerInterface.exe";

// What commands are formed from.
struct Places {
    std::string root;      // the installation root, with its trailing separator
    std::string pgsqlBin;  // the PostgreSQL binaries folder
    std::string pgsqlData; // the PostgreSQL data folder
    std::string system;    // the system folder, without a trailing separator
};

// A command line run and waited for, or a NET command: the program started
// through the shell with its parameters, and not waited for.
struct Command {
    bool viaShell = false;
    std::string program; // the shell's program
    std::string line;    // the command line, or the shell's parameters
    // The working folder: the system folder for the system's programs (a
    // program may load libraries from its working folder, and the panel's is
    // the installation root), empty for the panel's own.
    std::string directory;
};

// `version` is the index of the server's version choice (PHP's for Apache,
// MySQL's for MySQL). Outside 0 to 2 (no entry chosen, a stored value out of
// range) there is no such version, and no command for those two servers:
// their paths would be empty, and "\mysqld.exe" is a program at the root of
// the current drive, which any user may put there. The other servers have
// one version and always a command.
std::optional<Command> Register(Server server, const Places& at, int version = -1);
Command Start(Server server, const Places& at);
Command Stop(Server server, const Places& at);
Command Unregister(Server server, const Places& at);

// Whether the server's service runs: the service manager says it is in the
// running state, not starting or stopping.
bool ServerRuns(Platform& os, Server server);
// The state of the server's service, 0 when it is not installed (or its
// state cannot be had).
std::uint32_t State(Platform& os, Server server);

std::string Quoted(const std::string& path);

} // namespace vrk::catalogue
