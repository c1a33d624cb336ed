#pragma once
// run.ini, the panel's report for programs outside it: its version, and
// which servers run. The program only writes it.
#include <string>

#include "IniFile.h"

namespace vrk {

// A key of [servers]: "1" while its server runs, "0" otherwise.
struct ServerKey {
    const char* name;
};

namespace runstate {
inline constexpr ServerKey kFTP{"ftp"};
inline constexpr ServerKey kMemcache{"mcache"};
inline constexpr ServerKey kMySQL{"mysql"};
inline constexpr ServerKey kApache{"apache"};
inline constexpr ServerKey kPgSQL{"pgsql"};
inline constexpr ServerKey kMongoDB{"mongo"};
// Stop-all records memcached as stopped under a key of its own, which the
// status poll never writes; readers that want memcached's state read mcache.
inline constexpr ServerKey kMemcacheStopped{"memcache"};
} // namespace runstate

class RunState {
public:
    // Touches nothing on disk; every write reaches the file at once.
    RunState(Platform& os, std::string path, ErrorSources* sources = nullptr);

    const std::string& path() const { return file_.path(); }

    // [gui] version, then [credit] creator.
    void WriteIdentity();
    void Record(ServerKey key, bool running);

private:
    IniFile file_;
};

} // namespace vrk
