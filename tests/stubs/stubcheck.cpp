// Helper of stubs_e2e.sh, run under Wine: looks at services through the
// service manager the way the panel does, runs exact command lines, reads
// version resources, and removes what a test left behind.
//   stubcheck state <service>                  prints STOPPED, START_PENDING,
//                                             STOP_PENDING, RUNNING or ABSENT
//   stubcheck wait <service> <STATE> <ms>     polls until the service is in that
//                                             state (ABSENT: removed); exit 1
//                                             when the time is up first
//   stubcheck config <service>                prints start=<AUTO|DEMAND|...> and
//                                             path=<binary path>
//   stubcheck exec <command line> [<ms>]      runs the line as written (as the
//                                             panel's ExecAndWait does), prints
//                                             "[exit 0x........]" and exits with
//                                             the program's exit code
//   stubcheck clean <service>                 stops the service, ends its
//                                             process when it will not stop,
//                                             and removes it; exit 0 when gone
//   stubcheck interrogate <service>           asks the service for its state
//                                             (SERVICE_CONTROL_INTERROGATE) and
//                                             prints it; exit 1 when refused
//   stubcheck version <file>                  prints fixed=<a.b.c.d> and the
//                                             fields of the 040904E4 table as
//                                             <name>=<text>
//   stubcheck message <code>                  prints the system's text for an
//                                             error code, as the system gives
//                                             it
//   stubcheck window <command line> <title>   runs the program, waits for its
//                                             window of that title, closes it
//                                             with WM_CLOSE and prints
//                                             "[closed, exit N]"; exit 1 when no
//                                             such window shows or it stays
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Wide.h"

namespace {

constexpr DWORD kPollMs = 50;

// What it prints is UTF-8: the scripts compare it with their own strings.
using vrk::Utf8;

const char* StateName(DWORD state) {
    switch (state) {
    case 0: return "ABSENT";
    case SERVICE_STOPPED: return "STOPPED";
    case SERVICE_START_PENDING: return "START_PENDING";
    case SERVICE_STOP_PENDING: return "STOP_PENDING";
    case SERVICE_RUNNING: return "RUNNING";
    case SERVICE_CONTINUE_PENDING: return "CONTINUE_PENDING";
    case SERVICE_PAUSE_PENDING: return "PAUSE_PENDING";
    case SERVICE_PAUSED: return "PAUSED";
    default: return "UNKNOWN";
    }
}

// The service's state (0 when it is not installed) and its process id.
DWORD Query(const std::wstring& name, DWORD* pid = nullptr) {
    if (pid) *pid = 0;
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return 0;
    DWORD state = 0;
    if (SC_HANDLE service = OpenServiceW(manager, name.c_str(), SERVICE_QUERY_STATUS)) {
        SERVICE_STATUS_PROCESS status{};
        DWORD needed = 0;
        if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                                 &needed)) {
            state = status.dwCurrentState;
            if (pid) *pid = status.dwProcessId;
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return state;
}

bool WaitFor(const std::wstring& name, DWORD wanted, DWORD ms) {
    for (DWORD waited = 0;; waited += kPollMs) {
        if (Query(name) == wanted) return true;
        if (waited >= ms) return false;
        Sleep(kPollMs);
    }
}

DWORD ParseState(const std::wstring& text) {
    for (DWORD state : {0UL, 1UL, 2UL, 3UL, 4UL, 5UL, 6UL, 7UL})
        if (Utf8(text) == StateName(state)) return state;
    return 0xFFFFFFFF;
}

int Config(const std::wstring& name) {
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return 1;
    int result = 1;
    if (SC_HANDLE service = OpenServiceW(manager, name.c_str(), SERVICE_QUERY_CONFIG)) {
        DWORD needed = 0;
        QueryServiceConfigW(service, nullptr, 0, &needed);
        std::string buffer(needed, '\0');
        auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
        if (needed && QueryServiceConfigW(service, config, needed, &needed)) {
            const char* start = config->dwStartType == SERVICE_AUTO_START     ? "AUTO"
                                : config->dwStartType == SERVICE_DEMAND_START ? "DEMAND"
                                : config->dwStartType == SERVICE_DISABLED     ? "DISABLED"
                                                                              : "OTHER";
            std::printf("start=%s\npath=%s\n", start, Utf8(config->lpBinaryPathName).c_str());
            result = 0;
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return result;
}

int Exec(const std::wstring& line, DWORD ms) {
    std::wstring buffer = line;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("[cannot run: error %lu]\n", GetLastError());
        return 127;
    }
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, ms) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 124);
        WaitForSingleObject(process.hProcess, INFINITE);
        std::printf("[timeout]\n");
        code = 124;
    } else {
        GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::fflush(stdout);
    std::printf("[exit 0x%08lx]\n", code);
    return static_cast<int>(code);
}

int Clean(const std::wstring& name) {
    if (Query(name) == 0) return 0;
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return 1;
    SC_HANDLE service = OpenServiceW(manager, name.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
    if (service) {
        SERVICE_STATUS status{};
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        DWORD pid = 0;
        if (!WaitFor(name, SERVICE_STOPPED, 3000) && Query(name, &pid) != SERVICE_STOPPED && pid) {
            // A service held in a pending state by the fault file never stops:
            // its process is the stand-in that this test had started.
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 5000);
                CloseHandle(process);
            }
            WaitFor(name, SERVICE_STOPPED, 3000);
        }
        DeleteService(service);
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    const bool gone = WaitFor(name, 0, 5000);
    if (!gone) std::printf("%s is still installed (%s)\n", Utf8(name).c_str(), StateName(Query(name)));
    return gone ? 0 : 1;
}

int Interrogate(const std::wstring& name) {
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return 1;
    int result = 1;
    if (SC_HANDLE service = OpenServiceW(manager, name.c_str(), SERVICE_INTERROGATE)) {
        SERVICE_STATUS status{};
        if (ControlService(service, SERVICE_CONTROL_INTERROGATE, &status)) {
            std::printf("%s\n", StateName(status.dwCurrentState));
            result = 0;
        } else {
            std::printf("refused (error %lu)\n", GetLastError());
        }
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return result;
}

int Version(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (!size) {
        std::printf("no version resource\n");
        return 1;
    }
    std::string data(size, '\0');
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return 1;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed)
        std::printf("fixed=%lu.%lu.%lu.%lu\n", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
                    fixed->dwFileVersionLS >> 16, fixed->dwFileVersionLS & 0xFFFF);
    for (const wchar_t* field :
         {L"CompanyName", L"FileDescription", L"FileVersion", L"ProductName", L"ProductVersion"}) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904E4\\") + field;
        wchar_t* text = nullptr;
        if (VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) && text)
            std::printf("%s=%s\n", Utf8(field).c_str(), Utf8(text).c_str());
    }
    return 0;
}

struct WindowSearch {
    DWORD pid;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (pid == search->pid && IsWindowVisible(window) && std::wstring(title) == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int Window(const std::wstring& line, const std::wstring& title) {
    std::wstring buffer = line;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("[cannot run: error %lu]\n", GetLastError());
        return 1;
    }
    WindowSearch search{process.dwProcessId, title.c_str(), nullptr};
    for (DWORD waited = 0; !search.found && waited < 20000; waited += kPollMs) {
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(kPollMs);
    }
    int result = 1;
    if (!search.found) {
        std::printf("[no window \"%s\"]\n", Utf8(title).c_str());
    } else if (WaitForSingleObject(process.hProcess, 0) != WAIT_TIMEOUT) {
        std::printf("[ended before it was closed]\n");
    } else {
        PostMessageW(search.found, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process.hProcess, &code);
            std::printf("[closed, exit %lu]\n", code);
            result = 0;
        } else {
            std::printf("[still open after WM_CLOSE]\n");
        }
    }
    if (result != 0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

int Message(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (!length) return 1;
    std::printf("%s\n", Utf8(std::wstring(text, length)).c_str());
    LocalFree(text);
    return 0;
}

int Usage() {
    std::fprintf(stderr, "usage: stubcheck state|wait|config|exec|clean|interrogate|version|message|window ...\n");
    return 2;
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3) return Usage();
    const std::wstring command = argv[1];
    const std::wstring subject = argv[2];
    if (command == L"state" && argc == 3) {
        std::printf("%s\n", StateName(Query(subject)));
        return 0;
    }
    if (command == L"wait" && argc == 5) {
        const DWORD wanted = ParseState(argv[3]);
        if (wanted == 0xFFFFFFFF) return Usage();
        const bool reached = WaitFor(subject, wanted, static_cast<DWORD>(_wtoi(argv[4])));
        if (!reached) std::printf("%s is %s\n", Utf8(subject).c_str(), StateName(Query(subject)));
        return reached ? 0 : 1;
    }
    if (command == L"config" && argc == 3) return Config(subject);
    if (command == L"exec" && (argc == 3 || argc == 4))
        return Exec(subject, argc == 4 ? static_cast<DWORD>(_wtoi(argv[3])) : 60000);
    if (command == L"clean" && argc == 3) return Clean(subject);
    if (command == L"interrogate" && argc == 3) return Interrogate(subject);
    if (command == L"version" && argc == 3) return Version(subject);
    if (command == L"message" && argc == 3) return Message(static_cast<DWORD>(_wtoi(subject.c_str())));
    if (command == L"window" && argc == 4) return Window(subject, argv[3]);
    return Usage();
}
