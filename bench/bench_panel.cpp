// Figures of the running panel, measured from outside as the system sees it:
//   bench_panel.exe startup <vrk.exe> <minimal_window.exe> [runs]
//       time from process start until the window is shown and idle, against a
//       program that opens one empty window; the panel's peak memory
//   bench_panel.exe scale <vrk.exe> [runs]
//       the same start-up on a display of 150 % (144 dots per inch) against
//       100 %, runs taken in turn (the display's scale is the registry's
//       LogPixels, as Wine has it; it is put back afterwards)
//   bench_panel.exe soak <vrk.exe> <seconds> [vrkprobe.exe]
//       GDI and USER objects and private memory over a long run (with the
//       probe, a busy indicator animates all along)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"

namespace {

struct Started {
    PROCESS_INFORMATION info{};
    HWND window = nullptr;
    double start = 0;   // when the process was started
    double seconds = 0; // until it was shown and idle
};

struct FindData {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK FindVisible(HWND w, LPARAM p) {
    auto* d = reinterpret_cast<FindData*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == d->pid && IsWindowVisible(w) && !GetParent(w)) {
        d->found = w;
        return FALSE;
    }
    return TRUE;
}

// Starts a program and waits until its top-level window is shown and the
// program waits for input.
Started Start(const std::string& program, const std::string& arguments = {}) {
    Started s;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
    const std::string folder = program.substr(0, program.find_last_of("\\/"));
    const double t0 = Now();
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup, &s.info)) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        std::exit(2);
    }
    FindData d{s.info.dwProcessId, nullptr};
    while (!d.found && Now() - t0 < 60) {
        EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&d));
        if (!d.found) Sleep(2);
    }
    WaitForInputIdle(s.info.hProcess, 10000);
    s.start = t0;
    s.seconds = Now() - t0;
    s.window = d.found;
    return s;
}

void Close(Started& s) {
    if (s.window) PostMessageA(s.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(s.info.hProcess, 15000) != WAIT_OBJECT_0) TerminateProcess(s.info.hProcess, 1);
    CloseHandle(s.info.hProcess);
    CloseHandle(s.info.hThread);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The display's scale the next program gets: Wine's LogPixels (0: none set).
DWORD LogPixels() {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

void SetLogPixels(DWORD dpi) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    if (dpi)
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    else
        RegDeleteValueA(key, "LogPixels");
    RegCloseKey(key);
}

// The panel's own count of the GDI and USER objects it holds, asked through
// a registered message (the system's count is not available everywhere).
void ObjectCounts(HWND window, long& gdi, long& user) {
    static const UINT message = RegisterWindowMessageA("VrkObjectCounts");
    DWORD_PTR result = 0;
    gdi = SendMessageTimeoutA(window, message, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) ? static_cast<long>(result) : -1;
    user = SendMessageTimeoutA(window, message, 1, 0, SMTO_ABORTIFHUNG, 5000, &result) ? static_cast<long>(result) : -1;
}

// The moments of the panel's start (StartupMoments, the toolkit's
// TestHooks.h), as the panel keeps them; the stretches between them, in
// seconds, ending with the idle the benchmark saw.
const char* const kStretches[] = {
    "process start to WinMain", "the window definition built", "FormCreate", "making the windows",
    "first show and paint",     "options dialog, first poll",  "to idle",
};
constexpr int kMoments = 6;

std::vector<double> Breakdown(const Started& s) {
    static const UINT message = RegisterWindowMessageA("VrkStartupTimes");
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> at{s.start};
    for (int m = 0; m < kMoments; ++m) {
        DWORD_PTR ticks = 0;
        SendMessageTimeoutA(s.window, message, m, 0, SMTO_ABORTIFHUNG, 5000, &ticks);
        at.push_back(ticks ? static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart) : at.back());
    }
    at.push_back(s.start + s.seconds);
    std::vector<double> stretches;
    for (std::size_t i = 1; i < at.size(); ++i) stretches.push_back(at[i] - at[i - 1]);
    return stretches;
}

int StartupBench(const std::string& panel, const std::string& minimal, int runs) {
    std::vector<double> panelTimes, minimalTimes;
    std::vector<std::vector<double>> stretches(std::size(kStretches));
    SIZE_T peakWorkingSet = 0, peakPrivate = 0, minimalWorkingSet = 0;
    // The peaks of a running program, once it has settled (the panel's first
    // polls have run): memory as it is in use.
    auto peaks = [](const Started& s, SIZE_T& workingSet, SIZE_T* privateBytes) {
        Sleep(1500);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        if (!GetProcessMemoryInfo(s.info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
            return;
        workingSet = std::max(workingSet, memory.PeakWorkingSetSize);
        if (privateBytes) *privateBytes = std::max(*privateBytes, memory.PeakPagefileUsage);
    };
    for (int i = 0; i < runs; ++i) {
        Started m = Start(minimal);
        minimalTimes.push_back(m.seconds);
        peaks(m, minimalWorkingSet, nullptr);
        Close(m);
        Started p = Start(panel);
        panelTimes.push_back(p.seconds);
        const std::vector<double> parts = Breakdown(p);
        for (std::size_t k = 0; k < parts.size(); ++k) stretches[k].push_back(parts[k]);
        peaks(p, peakWorkingSet, &peakPrivate);
        Close(p);
    }
    const double panelMedian = Median(panelTimes), minimalMedian = Median(minimalTimes);
    std::printf("startup: %d runs each, until the window is shown and idle\n", runs);
    std::printf("  panel %.0f ms, minimal window %.0f ms, ratio %.2f (target <= 2)\n", panelMedian * 1000,
                minimalMedian * 1000, panelMedian / minimalMedian);
    std::printf("  panel peak working set %.1f MB, peak private %.1f MB\n", peakWorkingSet / 1048576.0,
                peakPrivate / 1048576.0);
    std::printf("  where the panel's start goes (medians):\n");
    std::string figure;
    for (std::size_t k = 0; k < std::size(kStretches); ++k) {
        std::printf("    %-30s %5.0f ms\n", kStretches[k], Median(stretches[k]) * 1000);
        figure += (k ? ", " : "") + std::string(kStretches[k]) + " " +
                  std::to_string(std::lround(Median(stretches[k]) * 1000));
    }
    std::printf("figure: startup_breakdown %s ms\n", figure.c_str());
    std::printf("figure: startup %.0f ms against %.0f ms for a minimal window = %.2fx (target <= 2x)\n",
                panelMedian * 1000, minimalMedian * 1000, panelMedian / minimalMedian);
    std::printf("figure: peak_memory %.1f MB working set (a minimal window: %.1f MB, %.2fx; target <= 2x), %.1f MB "
                "private\n",
                peakWorkingSet / 1048576.0, minimalWorkingSet / 1048576.0,
                static_cast<double>(peakWorkingSet) / static_cast<double>(minimalWorkingSet ? minimalWorkingSet : 1),
                peakPrivate / 1048576.0);
    return 0;
}

void RunProbe(const std::string& probe, const std::string& arguments) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = "\"" + probe + "\" " + arguments;
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        WaitForSingleObject(info.hProcess, 30000);
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
    }
}

// `probe`: with a path to vrkprobe.exe, Apache's start is clicked; the demo
// tree's fault file makes its stand-in hang, so the busy indicator animates
// for the whole run.
int SoakBench(const std::string& panel, int seconds, const std::string& probe) {
    Started p = Start(panel);
    const bool busy = !probe.empty();
    if (busy) {
        RunProbe(probe, "click imgTabApache");
        RunProbe(probe, "click imgApacheRunStop");
    }
    std::printf("soak: %d s%s\n  %6s %8s %8s %12s\n", seconds, busy ? ", a busy indicator animating" : "", "t/s", "GDI",
                "USER", "private KB");
    const double t0 = Now();
    long firstGdi = -1, firstUser = -1, lastGdi = -1, lastUser = -1;
    SIZE_T firstPrivate = 0, lastPrivate = 0;
    for (int t = 0;; t += 60) {
        long gdi, user;
        ObjectCounts(p.window, gdi, user);
        PROCESS_MEMORY_COUNTERS_EX memory{};
        GetProcessMemoryInfo(p.info.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        std::printf("  %6d %8ld %8ld %12zu\n", t, gdi, user, memory.PrivateUsage / 1024);
        std::fflush(stdout);
        if (t == 60) firstGdi = gdi, firstUser = user, firstPrivate = memory.PrivateUsage; // after warm-up
        lastGdi = gdi, lastUser = user, lastPrivate = memory.PrivateUsage;
        if (t >= seconds) break;
        while (Now() - t0 < t + 60) Sleep(200);
    }
    std::printf("  after warm-up: GDI %+ld, USER %+ld, private %+.0f KB\n", lastGdi - firstGdi, lastUser - firstUser,
                (static_cast<double>(lastPrivate) - static_cast<double>(firstPrivate)) / 1024);
    std::printf("figure: soak%s %d s: GDI objects %ld -> %ld, USER objects %ld -> %ld from minute 1 to the end\n",
                busy ? "_busy" : "", seconds, firstGdi, lastGdi, firstUser, lastUser);
    Close(p);
    return 0;
}

} // namespace

int ScaleBench(const std::string& panel, int runs) {
    const DWORD before = LogPixels();
    struct Runs {
        std::vector<double> times;
        std::vector<std::vector<double>> stretches = std::vector<std::vector<double>>(std::size(kStretches));
    } at96, at144;
    for (int i = 0; i < runs; ++i) {
        for (const DWORD dpi : {96u, 144u}) {
            SetLogPixels(dpi);
            Runs& r = dpi == 96 ? at96 : at144;
            Started p = Start(panel);
            r.times.push_back(p.seconds);
            const std::vector<double> parts = Breakdown(p);
            for (std::size_t k = 0; k < parts.size(); ++k) r.stretches[k].push_back(parts[k]);
            Close(p);
        }
    }
    SetLogPixels(before);
    const double normal = Median(at96.times), large = Median(at144.times);
    std::printf("scale: %d runs each, until the window is shown and idle; where the start goes (medians):\n", runs);
    std::printf("    %-30s %7s %7s\n", "", "96 dpi", "144 dpi");
    for (std::size_t k = 0; k < std::size(kStretches); ++k)
        std::printf("    %-30s %4.0f ms %4.0f ms\n", kStretches[k], Median(at96.stretches[k]) * 1000,
                    Median(at144.stretches[k]) * 1000);
    std::printf("figure: startup_144dpi %.0f ms against %.0f ms at 96 dpi = %.2fx (target <= 1.2x)\n", large * 1000,
                normal * 1000, large / normal);
    return 0;
}

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc >= 4) return StartupBench(argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 5);
    if (mode == "scale" && argc >= 3) return ScaleBench(argv[2], argc > 3 ? std::atoi(argv[3]) : 5);
    if (mode == "soak" && argc >= 4) return SoakBench(argv[2], std::atoi(argv[3]), argc > 4 ? argv[4] : "");
    std::fprintf(stderr, "usage: bench_panel startup|scale|soak ...\n");
    return 2;
}
