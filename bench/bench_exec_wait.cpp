// How much CPU the panel burns while it waits for a command: ExecAndWait
// waits for a child that runs 3 s while a 1 s window timer (like the status
// poll) ticks, and the waiting process's own CPU time is measured. A spinning
// wait for comparison shows what the figure would be without the blocking wait.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "VRKLibrary.h"
#include "Win32Platform.h"

namespace {

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

int ticks = 0;
void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) { ++ticks; }

// The wait as a plain poll: exit code, then empty the queue, again and again.
DWORD SpinningWait(const std::string& command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = command;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) return 1;
    DWORD code = STILL_ACTIVE;
    MSG msg;
    while (GetExitCodeProcess(info.hProcess, &code) && code == STILL_ACTIVE)
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
}

struct Figure {
    double wall, cpu;
    int ticks;
};

template <class Wait> Figure Measure(Wait wait) {
    ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1000, OnTick);
    const double cpu0 = CpuSeconds();
    const ULONGLONG t0 = GetTickCount64();
    wait();
    const Figure f{(GetTickCount64() - t0) / 1000.0, CpuSeconds() - cpu0, ticks};
    KillTimer(nullptr, timer);
    return f;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--child") {
        Sleep(static_cast<DWORD>(std::atoi(argv[2])));
        return 0;
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string command = std::string("\"") + self + "\" --child 3000";
    vrk::Win32Platform os;

    const Figure blocking = Measure([&] { vrk::ExecAndWait(os, command, vrk::kSwHide); });
    const bool withSpin = argc > 1 && std::string(argv[1]) == "--compare";
    std::printf("exec_wait: child runs 3 s, a 1 s timer ticks during the wait\n");
    std::printf("  ExecAndWait       wall %.2f s  cpu %.3f s  = %.2f%% of one core  (%d ticks handled; target < 2%%)\n",
                blocking.wall, blocking.cpu, 100.0 * blocking.cpu / blocking.wall, blocking.ticks);
    std::printf("figure: exec_wait_cpu %.2f%% of one core (target < 2%%)\n", 100.0 * blocking.cpu / blocking.wall);
    if (withSpin) {
        const Figure spin = Measure([&] { SpinningWait(command); });
        std::printf("  spinning poll     wall %.2f s  cpu %.3f s  = %.2f%% of one core  (%d ticks handled)\n",
                    spin.wall, spin.cpu, 100.0 * spin.cpu / spin.wall, spin.ticks);
    }
    return 0;
}
