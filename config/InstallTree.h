#pragma once
// Every path below the installation root, written as the program joins it:
// the root ends with a separator, so a leading "\" gives a doubled separator
// at the junction (Windows reads it as one). Paths are joined by plain
// concatenation, never normalised, since some are passed on command lines as
// formed.
#include <string>

namespace vrk::tree {

// The installation root: the folder of the program's own file, with its
// trailing separator.
inline std::string InstallationRoot(const std::string& programFile) {
    return programFile.substr(0, programFile.find_last_of("\\/") + 1);
}

// --- the panel's own files --------------------------------------------------------
inline constexpr const char* kProgramFile = "\\vrk.exe";
inline constexpr const char* kSettingsFile = "\\vrk\\config\\settings.ini";
inline constexpr const char* kSettingsFileFromDialog = "/vrk/config/settings.ini";
inline constexpr const char* kRunFile = "\\vrk\\tmp\\run.ini";
inline constexpr const char* kLanguagesFolder = "/vrk/langs/";
inline constexpr const char* kLanguageExtension = ".ini";
inline std::string LanguageFile(const std::string& root, const std::string& language) {
    return root + kLanguagesFolder + language + kLanguageExtension;
}
inline constexpr const char* kSkinsFolder = "\\vrk\\skins\\";
inline constexpr const char* kLoadingGif = "\\loading.gif";
// The folders the panel writes its files in (run.ini, settings.ini).
inline constexpr const char* kWrittenFolders[] = {"\\vrk\\tmp\\", "\\vrk\\config\\"};

// --- the servers --------------------------------------------------------------------
inline constexpr const char* kHttpd = "\\servers\\apache\\bin\\httpd.exe";
inline constexpr const char* kOpenSslLibrary = "\\servers\\apache\\bin\\ssleay32.dll";
// By the index of the PHP choice: 5.2, 5.3, 5.4.
inline constexpr const char* kPhpConfigs[] = {"\\config\\php\\52\\httpd-php.conf", "\\config\\php\\53\\httpd-php.conf",
                                              "\\config\\php\\54\\httpd-php.conf"};
inline constexpr const char* kPhpPrograms[] = {"\\servers\\php\\52\\php.exe", "\\servers\\php\\53\\php.exe",
                                               "\\servers\\php\\54\\php.exe"};
inline constexpr const char* kPhpTemp = "\\tmp\\php\\";
inline constexpr const char* kPerl = "\\servers\\perl\\bin\\perl.exe";
// By the index of the MySQL choice: 5.1, 5.5, 5.6. The option files have no
// leading separator, unlike every other path: the bundle's panels have always
// passed them so (a single separator at the junction), and it is kept.
inline constexpr const char* kMySQLBinFolders[] = {"\\servers\\mysql\\51\\bin", "\\servers\\mysql\\55\\bin",
                                                   "\\servers\\mysql\\56\\bin"};
inline constexpr const char* kMySQLOptionFiles[] = {"config\\mysql\\51\\my.ini", "config\\mysql\\55\\my.ini",
                                                    "config\\mysql\\56\\my.ini"};
inline constexpr const char* kMySQLServer = "\\mysqld.exe"; // in a binaries folder
inline constexpr const char* kMySQL55Client = "\\servers\\mysql\\55\\bin\\mysql.exe";
inline constexpr const char* kMySQL56Client = "\\servers\\mysql\\56\\bin\\mysql.exe";
inline constexpr const char* kPgSQLBin = "\\servers\\pgsql\\91\\bin";
inline constexpr const char* kPgCtl = "\\pg_ctl.exe"; // in kPgSQLBin
inline constexpr const char* kPgAdmin = "\\servers\\pgsql\\91\\bin\\pgAdmin3.exe";
inline constexpr const char* kPgSQLData = "\\data\\pgsql";
inline constexpr const char* kFileZillaServer = "\\servers\\ftp\\FileZillaServer.exe";
inline constexpr const char* kFileZillaInterface = "\\servers\\ftp\\FileZillaServerInterface.exe";
inline constexpr const char* kMongoBin = "\\servers\\mongo\\bin";
inline constexpr const char* kMongoServer = "\\mongod.exe"; // in kMongoBin
inline constexpr const char* kMongoConfig = "\\config\\mongo\\mongo.conf";
inline constexpr const char* kMongoRepair = "\\tmp\\mongo";
inline constexpr const char* kMemcached = "\\servers\\memcached\\memcached.exe";

} // namespace vrk::tree
