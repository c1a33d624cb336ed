// Another program reading an INI file the panel writes, as the programs that
// read run.ini do, until a stop file appears:
//
//   inireader profile <ini> <stop file> <report file> <section/key>...
//       reads every key through the system's profile functions, flat out;
//   inireader hold <ini> <stop file> <report file> <ms> <rw|r> <section/key>...
//       opens the file for reading the common way (sharing read and write,
//       or with "r" read only), reads it whole, keeps it open <ms>, closes
//       it, and again.
//
// Neither shares delete access, so the panel cannot rename a new file over
// the one they hold. Each read counts as incomplete when a key is missing.
// While it runs the report file reads "running"; at the end it reads
// "reads=<n> incomplete=<n> failed=<n>" (failed: opens that did not work).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using Key = std::pair<std::string, std::string>; // section, key

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Report(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// Whether the text holds the key in its section (names as the panel writes them).
bool Holds(const std::string& text, const Key& key) {
    const std::string header = "[" + key.first + "]";
    std::size_t at = 0;
    bool inSection = false;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[')
            inSection = line == header;
        else if (inSection && line.rfind(key.second + "=", 0) == 0)
            return true;
        at = end + 1;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const std::string mode = argv[1], ini = argv[2], stop = argv[3], report = argv[4];
    int first = 5;
    DWORD holdMs = 0;
    DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    if (mode == "hold") {
        if (argc < 7) return 2;
        holdMs = static_cast<DWORD>(std::strtoul(argv[5], nullptr, 10));
        if (std::string(argv[6]) == "r") share = FILE_SHARE_READ;
        first = 7;
    } else if (mode != "profile") {
        return 2;
    }
    std::vector<Key> keys;
    for (int i = first; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto slash = arg.find('/');
        if (slash != std::string::npos) keys.emplace_back(arg.substr(0, slash), arg.substr(slash + 1));
    }

    Report(report, "running");
    unsigned long reads = 0, incomplete = 0, failed = 0;
    while (!Exists(stop)) {
        bool whole = true;
        if (mode == "profile") {
            for (const Key& key : keys) {
                char value[256];
                GetPrivateProfileStringA(key.first.c_str(), key.second.c_str(), "<missing>", value, sizeof value,
                                         ini.c_str());
                if (std::string(value) == "<missing>") whole = false;
            }
        } else {
            HANDLE file =
                CreateFileA(ini.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                ++failed;
                Sleep(1);
                continue;
            }
            std::string text;
            char chunk[4096];
            DWORD got = 0;
            while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) text.append(chunk, got);
            for (const Key& key : keys) whole = whole && Holds(text, key);
            Sleep(holdMs);
            CloseHandle(file);
        }
        ++reads;
        if (!whole) ++incomplete;
    }
    char text[128];
    std::snprintf(text, sizeof text, "reads=%lu incomplete=%lu failed=%lu", reads, incomplete, failed);
    Report(report, text);
    return 0;
}
