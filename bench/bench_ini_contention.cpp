// How the writes of run.ini fare while other programs read the file flat out
// through the profile functions, as programs reading run.ini do: writes per
// second, the share that had to go into the held file in place, the slowest
// write, and failures (none expected). The state goes as far as the system's
// cache, as the panel writes it; a last run writes as settings.ini is
// written, each write waiting for the disk too.
//
//   bench_ini_contention <folder> <inireader.exe> [seconds per run]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "IniFile.h"
#include "Error.h"
#include "Win32Platform.h"
#include "BenchClock.h"

namespace {

struct CountingPlatform : vrk::Win32Platform {
    int inPlace = 0;
    WriteResult ReplaceContent(const std::string& path, const std::string& content, Durability durability) override {
        const WriteResult result = Win32Platform::ReplaceContent(path, content, durability);
        if (result == WriteResult::kWrittenInPlace) ++inPlace;
        return result;
    }
};

std::string ReadText(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    char text[256] = {};
    DWORD got = 0;
    ReadFile(file, text, sizeof text - 1, &got, nullptr);
    CloseHandle(file);
    return std::string(text, got);
}

const char* const kServers[] = {"ftp", "mcache", "mysql", "apache", "pgsql", "mongo"};

void Run(const std::string& folder, const std::string& reader, int readers, double seconds,
         vrk::Platform::Durability durability) {
    const std::string ini = folder + "\\run.ini", stop = folder + "\\stop";
    DeleteFileA(ini.c_str());
    DeleteFileA(stop.c_str());
    CountingPlatform os;
    vrk::IniFile file(os, ini, nullptr, durability);
    file.WriteString("gui", "version", "1.3.22");
    file.WriteString("credit", "creator", "Malverin");
    for (const char* key : kServers) file.WriteString("servers", key, "0");

    std::vector<HANDLE> processes;
    std::vector<std::string> reports;
    for (int i = 0; i < readers; ++i) {
        const std::string report = folder + "\\reader" + std::to_string(i);
        DeleteFileA(report.c_str());
        std::string line = "inireader.exe profile \"" + ini + "\" \"" + stop + "\" \"" + report +
                           "\" gui/version credit/creator servers/ftp servers/mcache servers/mysql servers/apache"
                           " servers/pgsql servers/mongo";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(reader.c_str(), line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                            &startup, &info)) {
            std::printf("ini_contention: cannot start %s\n", reader.c_str());
            std::exit(1);
        }
        CloseHandle(info.hThread);
        processes.push_back(info.hProcess);
        reports.push_back(report);
    }
    for (const auto& report : reports)
        while (ReadText(report) != "running") Sleep(10);

    int writes = 0, failed = 0;
    double slowest = 0;
    const double start = Now();
    while (Now() - start < seconds) {
        const double t0 = Now();
        try {
            file.WriteString("servers", kServers[writes % 6], (writes / 6) % 2 ? "0" : "1");
        } catch (const vrk::Error&) {
            ++failed;
        }
        slowest = std::max(slowest, Now() - t0);
        ++writes;
    }
    const double elapsed = Now() - start;

    HANDLE marker = CreateFileA(stop.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(marker);
    unsigned long incomplete = 0;
    for (std::size_t i = 0; i < processes.size(); ++i) {
        WaitForSingleObject(processes[i], 10000);
        CloseHandle(processes[i]);
        unsigned long r = 0, missing = 0, f = 0;
        if (std::sscanf(ReadText(reports[i]).c_str(), "reads=%lu incomplete=%lu failed=%lu", &r, &missing, &f) == 3)
            incomplete += missing;
        DeleteFileA(reports[i].c_str());
    }
    const bool disk = durability == vrk::Platform::Durability::kDisk;
    std::printf("  %d readers%s: %5.0f writes/s, %4.1f%% in place, slowest %.1f ms, %d failed, %lu incomplete reads\n",
                readers, disk ? ", to the disk" : "", writes / elapsed, 100.0 * os.inPlace / writes, slowest * 1000,
                failed, incomplete);
    std::printf("figure: ini_contention_%d_readers%s %.0f writes/s, %.1f%% in place, slowest %.1f ms, %d failed%s\n",
                readers, disk ? "_to_disk" : "", writes / elapsed, 100.0 * os.inPlace / writes, slowest * 1000, failed,
                disk ? " (settings.ini's writes; no target)" : " (target: 0 failed, slowest < 100 ms)");
    DeleteFileA(stop.c_str());
    DeleteFileA(ini.c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_ini_contention <folder> <inireader.exe> [seconds]\n");
        return 1;
    }
    const double seconds = argc > 3 ? std::atof(argv[3]) : 3.0;
    std::printf("ini_contention: IniFile writes to run.ini while programs read it through the profile functions\n");
    for (int readers : {0, 2, 8}) Run(argv[1], argv[2], readers, seconds, vrk::Platform::Durability::kCache);
    Run(argv[1], argv[2], 2, seconds, vrk::Platform::Durability::kDisk);
    return 0;
}
