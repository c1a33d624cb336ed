#pragma once
// The six managed servers: service names, keys, and the command lines that
// register, start, stop and unregister them. Command lines are formed when
// they run, from the installation root R (with its trailing separator) and
// the current version choices; paths are joined by plain concatenation.
//
// Every path formed from the installation root is quoted on the command
// line, so that a root with a blank still runs the bundle's own program
// (and never a program the blank would cut the path at).
//
// The system's own programs (sc, NET) are named by their full path in the
// system folder S (GetSystemDirectory, without a trailing separator), quoted
// on command lines as well: named bare, they would be looked for first in
// the installation root, where any user may plant a program of that name.
#include <string>

namespace vrk::catalogue {

inline constexpr const char* kApacheService = "Apache2.2";
inline constexpr const char* kMySQLService = "MySQL";
inline constexpr const char* kPgSQLService = "postgresql-9.1";
inline constexpr const char* kFTPService = "FileZilla Server";
inline constexpr const char* kMongoDBService = "MongoDB";
inline constexpr const char* kMemcacheService = "memcached Server";

inline constexpr const char* kFTPInterfaceProgram = "FileZillaServerInterface.exe";

// The version choices: index 0, 1, 2 of the radio groups; -1 (or anything
// else) gives empty paths.
std::string PhpConfigFile(const std::string& root, int index);
std::string MySQLBinFolder(const std::string& root, int index);
std::string MySQLOptionFile(const std::string& root, int index);

std::string Quoted(const std::string& path);

// Commands run and waited for.
std::string ApacheRegister(const std::string& root, const std::string& configFile);
std::string ApacheStart(const std::string& root);
std::string ApacheStop(const std::string& root);
std::string ApacheUnregister(const std::string& root);
std::string MySQLRegister(const std::string& binFolder, const std::string& optionFile);
std::string MySQLStart(const std::string& system);
std::string MySQLUnregister(const std::string& system);
std::string PgSQLRegister(const std::string& binPath, const std::string& dataPath);
std::string PgSQLUnregister(const std::string& binPath);
std::string FTPRegister(const std::string& root);
std::string FTPStart(const std::string& root);
std::string FTPStop(const std::string& root);
std::string FTPUnregister(const std::string& system);
std::string MongoDBRegister(const std::string& root);
std::string MongoDBStart(const std::string& system);
std::string MongoDBUnregister(const std::string& system);
std::string MemcacheRegister(const std::string& root);
std::string MemcacheStart(const std::string& system);
std::string MemcacheUnregister(const std::string& system);

// The NET commands are started through the shell and not waited for: the
// program (a path, not a command line) and its parameters.
std::string NetProgram(const std::string& system);
inline constexpr const char* kNetStopMySQL = "STOP MySQL";
inline constexpr const char* kNetStartPgSQL = "START postgresql-9.1";
inline constexpr const char* kNetStopPgSQL = "STOP postgresql-9.1";
inline constexpr const char* kNetStopMongoDB = "STOP MongoDB";
inline constexpr const char* kNetStopMemcache = "STOP \"memcached Server\"";

} // namespace vrk::catalogue
