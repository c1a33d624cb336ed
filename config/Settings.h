#pragma once
// settings.ini, the user's choices: every key the program reads or writes,
// with its section, type and default, and the only way to them.
#include <cstdint>
#include <string>
#include <vector>

#include "IniFile.h"

namespace vrk {

struct TextKey {
    const char* section;
    const char* name;
    const char* fallback;
};
struct BoolKey {
    const char* section;
    const char* name;
    bool fallback;
};
struct IntKey {
    const char* section;
    const char* name;
    std::int32_t fallback;
};
// A section whose key names are a list; their values are never read.
struct ListKey {
    const char* section;
};

namespace setting {
inline constexpr TextKey kLanguage{"vrk", "language", "English"};
inline constexpr TextKey kSkin{"vrk", "skin", "default"};
inline constexpr BoolKey kStopServicesAtExit{"vrk", "ssae", false};
inline constexpr BoolKey kClearTempFiles{"vrk", "ctf", false};
inline constexpr BoolKey kAutorun{"autorun", "auto", false};
inline constexpr BoolKey kAutorunApache{"autorun", "apache", false};
inline constexpr IntKey kAutorunPhpVersion{"autorun", "php", 0}; // 0 PHP 5.2, 1 PHP 5.3, 2 PHP 5.4
inline constexpr BoolKey kAutorunMySQL{"autorun", "mysqlserv", false};
inline constexpr IntKey kAutorunMySQLVersion{"autorun", "mysql", 0}; // 0 MySQL 5.1, 1 MySQL 5.5, 2 MySQL 5.6
inline constexpr BoolKey kAutorunPgSQL{"autorun", "pgsql", false};
inline constexpr BoolKey kAutorunMongoDB{"autorun", "mongo", false};
inline constexpr BoolKey kAutorunFTP{"autorun", "ftp", false};
// The PHP version Apache was last started with from the panel.
inline constexpr IntKey kLatestPhpVersion{"latest", "php", 0};
inline constexpr ListKey kSkins{"skins"};
inline constexpr ListKey kLanguages{"langs"};
} // namespace setting

class Settings {
public:
    // Touches nothing on disk; every read reads the file afresh, every write
    // reaches it at once (see IniFile).
    Settings(Platform& os, std::string path, ErrorSources* sources = nullptr);

    const std::string& path() const { return file_.path(); }

    std::string Read(const TextKey& key) const;
    bool Read(const BoolKey& key) const;
    std::int32_t Read(const IntKey& key) const;
    std::vector<std::string> Read(const ListKey& key) const;

    void Write(const TextKey& key, const std::string& value);
    void Write(const BoolKey& key, bool value);
    void Write(const IntKey& key, std::int32_t value);

    // Reads in a row from one copy of the file (see IniFile::Held).
    IniFile::Held Hold() const { return IniFile::Held(file_); }

private:
    IniFile file_;
};

} // namespace vrk
