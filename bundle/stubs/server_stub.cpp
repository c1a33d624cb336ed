// Stand-in for the six server programs of the demo bundle: httpd.exe,
// mysqld.exe, pg_ctl.exe, FileZillaServer.exe, mongod.exe and memcached.exe
// are all built from this file. A program knows which one it is from its own
// file name. It accepts the command lines the control panel runs and acts on
// them as a server program does: it registers, starts, stops and removes its
// service through the system's service manager, and, when the service manager
// starts it, runs as that service until it is told to stop.
//
//   httpd.exe -k install [-n name] -f "conf"     service "Apache2.2", demand start;
//                                                refused when conf is missing
//   httpd.exe -k start | -k stop | -k uninstall
//   mysqld.exe --install [name] [--defaults-file=file]   service "MySQL"
//   mysqld.exe --remove [name]
//   pg_ctl.exe register -N name -D dir [-S auto|demand]
//   pg_ctl.exe unregister -N name
//   FileZillaServer.exe /install [auto] | /uninstall | /start | /stop
//                                                service "FileZilla Server"
//   mongod.exe --config "file" [--repairpath "dir"] [--directoryperdb]
//              [--serviceName name] --install | --remove
//                                                service "MongoDB"; refused
//                                                when the config file is missing
//   memcached.exe -d install | uninstall | start | stop
//                                                service "memcached Server"
//
// Start waits until the service runs, stop until it has stopped, each at most
// 8 s. Exit code 0 on success, 1 on any failure (with a line on stderr).
//
// The registered binary path is the program's own quoted path with a flag
// that marks the service run: "-k runservice" (httpd), "runservice -N name
// -D dir" (pg_ctl), "/service" (FileZilla), "-d runservice" (memcached),
// "--service name" (mysqld, mongod), with the options of the install.
//
// Faults, so that tests can make a server misbehave: the file
// vrk\tmp\stub-faults.ini below the root of the installation tree (the
// nearest folder above the program that holds a "vrk" folder), read when the
// program starts (a service process: when the service starts). One section
// per program: [httpd], [mysqld], [pg_ctl], [FileZillaServer], [mongod],
// [memcached]. Verbs are install, start, stop, uninstall; register and
// unregister are the same as install and uninstall. A key may name several
// verbs separated by commas.
//   fail=<verbs>          the command exits 1 without doing anything
//   hang=<verb>:<ms>      sleep that long before doing the command
//   crash=<verbs>         the process dies of an access violation
//                         (exit code 0xC0000005) without doing anything
// For the service process:
//   pending=start[:<ms>]  stay in START_PENDING (for ever, or that long)
//   pending=stop[:<ms>]   on STOP, stay in STOP_PENDING (for ever, or that long)
//   service_crash=1       the process dies right after reporting RUNNING (and
//                         leaves the state STOPPED, exit code 1067, that
//                         Windows' service manager would then show)
// A service stuck for ever can only be ended by ending its process.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

enum class Program { Httpd, Mysqld, PgCtl, FileZilla, Mongod, Memcached };

struct ProgramInfo {
    Program program;
    const wchar_t* fileName; // without ".exe", compared without regard to case
    const char* section;     // section of the fault file
    const wchar_t* defaultService;
};

const ProgramInfo kPrograms[] = {
    {Program::Httpd, L"httpd", "httpd", L"Apache2.2"},
    {Program::Mysqld, L"mysqld", "mysqld", L"MySQL"},
    {Program::PgCtl, L"pg_ctl", "pg_ctl", L"PostgreSQL"},
    {Program::FileZilla, L"FileZillaServer", "FileZillaServer", L"FileZilla Server"},
    {Program::Mongod, L"mongod", "mongod", L"MongoDB"},
    {Program::Memcached, L"memcached", "memcached", L"memcached Server"},
};

// Start and stop give the service this long to get where it is asked to go.
constexpr DWORD kStateWaitMs = 8000;
constexpr DWORD kPollMs = 50;

const ProgramInfo* g_info = nullptr;
std::wstring g_self; // full path of this program
std::string g_tag;   // program name for messages

// ---------------------------------------------------------------- text

// What the program says is UTF-8, so that a path in any script reads whole.
std::string Narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

bool SameText(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

void Say(const std::wstring& line) {
    std::printf("%s: %s\n", g_tag.c_str(), Narrow(line).c_str());
    std::fflush(stdout);
}

int Refuse(const std::wstring& line) {
    std::fprintf(stderr, "%s: %s\n", g_tag.c_str(), Narrow(line).c_str());
    std::fflush(stderr);
    return 1;
}

int RefuseSystem(const std::wstring& what, DWORD error) {
    wchar_t* message = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring reason = message ? message : L"";
    if (message) LocalFree(message);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' '))
        reason.pop_back();
    return Refuse(what + L" (error " + std::to_wstring(error) + (reason.empty() ? L")" : L": " + reason + L")"));
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

// ---------------------------------------------------------------- files

bool IsDirectory(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ParentOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The programs lie in servers\...\ below the root of the tree; the root is the
// nearest folder above the program that holds the panel's "vrk" folder.
std::wstring FindTreeRoot() {
    std::wstring dir = ParentOf(g_self);
    while (!dir.empty()) {
        if (IsDirectory(dir + L"\\vrk")) return dir;
        const std::wstring up = ParentOf(dir);
        if (up == dir) break;
        dir = up;
    }
    return {};
}

// ---------------------------------------------------------------- faults

struct Faults {
    std::string fail, crash, pending;
    std::string hangVerb;
    DWORD hangMs = 0;
    bool serviceCrash = false;
};

Faults g_faults;

void LoadFaults() {
    const std::wstring root = FindTreeRoot();
    if (root.empty()) return;
    const std::wstring file = root + L"\\vrk\\tmp\\stub-faults.ini";
    auto read = [&](const char* key) {
        wchar_t value[256] = {};
        GetPrivateProfileStringW(Widen(g_info->section).c_str(), Widen(key).c_str(), L"", value, 256, file.c_str());
        return Narrow(value);
    };
    g_faults.fail = read("fail");
    g_faults.crash = read("crash");
    g_faults.pending = read("pending");
    g_faults.serviceCrash = std::atoi(read("service_crash").c_str()) != 0;
    const std::string hang = read("hang");
    const size_t colon = hang.find(':');
    if (colon != std::string::npos) {
        g_faults.hangVerb = hang.substr(0, colon);
        g_faults.hangMs = static_cast<DWORD>(std::strtoul(hang.c_str() + colon + 1, nullptr, 10));
    }
}

std::string Canonical(std::string verb) {
    while (!verb.empty() && verb.front() == ' ') verb.erase(verb.begin());
    while (!verb.empty() && verb.back() == ' ') verb.pop_back();
    for (char& c : verb) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (verb == "register") return "install";
    if (verb == "unregister") return "uninstall";
    return verb;
}

// Whether the comma-separated list names the verb (install and register count
// as one, as do uninstall and unregister).
bool Names(const std::string& list, const char* verb) {
    size_t begin = 0;
    while (begin <= list.size()) {
        size_t end = list.find(',', begin);
        if (end == std::string::npos) end = list.size();
        if (!list.empty() && Canonical(list.substr(begin, end - begin)) == Canonical(verb)) return true;
        begin = end + 1;
    }
    return false;
}

// An unhandled exception ends the process with the exception's code, with no
// error box and no debugger (Wine would otherwise start one and wait on it).
LONG WINAPI EndOnException(EXCEPTION_POINTERS* info) {
    TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

[[noreturn]] void Crash() {
    std::fflush(nullptr);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(EndOnException);
    RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    TerminateProcess(GetCurrentProcess(), EXCEPTION_ACCESS_VIOLATION);
    for (;;) Sleep(INFINITE);
}

// Applies the faults of a command before it runs: true when the command must
// fail without doing anything.
bool FaultBefore(const char* verb) {
    if (g_faults.hangMs && Names(g_faults.hangVerb, verb)) {
        Say(L"waiting " + std::to_wstring(g_faults.hangMs) + L" ms before " + Widen(verb) + L" (fault file)");
        Sleep(g_faults.hangMs);
    }
    if (Names(g_faults.crash, verb)) Crash();
    if (Names(g_faults.fail, verb)) {
        Refuse(Widen(verb) + L" failed (fault file)");
        return true;
    }
    return false;
}

// pending=start or pending=start:<ms>: -1 when the state is not held, 0 for
// ever, else the time in milliseconds.
long PendingFor(const char* verb) {
    const std::string& p = g_faults.pending;
    const size_t colon = p.find(':');
    if (Canonical(p.substr(0, colon)) != verb) return -1;
    return colon == std::string::npos ? 0 : std::strtol(p.c_str() + colon + 1, nullptr, 10);
}

// ---------------------------------------------------------------- service manager

class Handle {
public:
    explicit Handle(SC_HANDLE h = nullptr) : h_(h) {}
    ~Handle() {
        if (h_) CloseServiceHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    SC_HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    SC_HANDLE h_;
};

const wchar_t* StateName(DWORD state) {
    switch (state) {
    case SERVICE_STOPPED: return L"stopped";
    case SERVICE_START_PENDING: return L"starting";
    case SERVICE_STOP_PENDING: return L"stopping";
    case SERVICE_RUNNING: return L"running";
    default: return L"in another state";
    }
}

int Install(const std::wstring& name, const std::wstring& arguments, DWORD startType) {
    if (FaultBefore("install")) return 1;
    Handle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE));
    if (!manager) return RefuseSystem(L"cannot open the service manager", GetLastError());
    const std::wstring binaryPath = Quoted(g_self) + L" " + arguments;
    Handle service(CreateServiceW(manager.get(), name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                  SERVICE_WIN32_OWN_PROCESS, startType, SERVICE_ERROR_NORMAL, binaryPath.c_str(),
                                  nullptr, nullptr, nullptr, nullptr, nullptr));
    if (!service) {
        const DWORD error = GetLastError();
        if (error == ERROR_SERVICE_EXISTS) return Refuse(L"the service \"" + name + L"\" is already installed");
        return RefuseSystem(L"cannot install the service \"" + name + L"\"", error);
    }
    Say(L"the service \"" + name + L"\" is installed (" + binaryPath + L")");
    return 0;
}

int Uninstall(const std::wstring& name) {
    if (FaultBefore("uninstall")) return 1;
    Handle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return RefuseSystem(L"cannot open the service manager", GetLastError());
    Handle service(OpenServiceW(manager.get(), name.c_str(), DELETE));
    if (!service) return RefuseSystem(L"the service \"" + name + L"\" is not installed", GetLastError());
    // A service that still runs is removed by the service manager once it has
    // stopped, as with "sc delete".
    if (!DeleteService(service.get()))
        return RefuseSystem(L"cannot remove the service \"" + name + L"\"", GetLastError());
    Say(L"the service \"" + name + L"\" is removed");
    return 0;
}

// Polls until the service is no longer in the given state (want == false) or
// has reached it (want == true), or the time is up; the state it is then in.
DWORD WaitState(SC_HANDLE service, DWORD state, bool want) {
    SERVICE_STATUS status{};
    for (DWORD waited = 0;; waited += kPollMs) {
        if (!QueryServiceStatus(service, &status)) return 0;
        if ((status.dwCurrentState == state) == want || waited >= kStateWaitMs) return status.dwCurrentState;
        Sleep(kPollMs);
    }
}

int Start(const std::wstring& name) {
    if (FaultBefore("start")) return 1;
    Handle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return RefuseSystem(L"cannot open the service manager", GetLastError());
    Handle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_START | SERVICE_QUERY_STATUS));
    if (!service) return RefuseSystem(L"the service \"" + name + L"\" is not installed", GetLastError());
    if (!StartServiceW(service.get(), 0, nullptr)) {
        const DWORD error = GetLastError();
        if (error == ERROR_SERVICE_ALREADY_RUNNING) return Refuse(L"the service \"" + name + L"\" is already running");
        return RefuseSystem(L"cannot start the service \"" + name + L"\"", error);
    }
    const DWORD state = WaitState(service.get(), SERVICE_START_PENDING, false);
    if (state != SERVICE_RUNNING)
        return Refuse(L"the service \"" + name + L"\" did not start: it is " + StateName(state));
    Say(L"the service \"" + name + L"\" is running");
    return 0;
}

int Stop(const std::wstring& name) {
    if (FaultBefore("stop")) return 1;
    Handle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return RefuseSystem(L"cannot open the service manager", GetLastError());
    Handle service(OpenServiceW(manager.get(), name.c_str(), SERVICE_STOP | SERVICE_QUERY_STATUS));
    if (!service) return RefuseSystem(L"the service \"" + name + L"\" is not installed", GetLastError());
    SERVICE_STATUS status{};
    if (!ControlService(service.get(), SERVICE_CONTROL_STOP, &status)) {
        const DWORD error = GetLastError();
        if (error == ERROR_SERVICE_NOT_ACTIVE) return Refuse(L"the service \"" + name + L"\" is not running");
        return RefuseSystem(L"cannot stop the service \"" + name + L"\"", error);
    }
    const DWORD state = WaitState(service.get(), SERVICE_STOPPED, true);
    if (state != SERVICE_STOPPED)
        return Refuse(L"the service \"" + name + L"\" did not stop: it is " + StateName(state));
    Say(L"the service \"" + name + L"\" has stopped");
    return 0;
}

// ---------------------------------------------------------------- service run

wchar_t g_serviceName[256];
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
HANDLE g_stopRequested = nullptr;
CRITICAL_SECTION g_statusLock;
SERVICE_STATUS g_status{};

void Report(DWORD state, DWORD waitHint = 0) {
    EnterCriticalSection(&g_statusLock);
    g_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    if (state != g_status.dwCurrentState) g_status.dwCheckPoint = 0;
    g_status.dwCurrentState = state;
    g_status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    g_status.dwWin32ExitCode = NO_ERROR;
    const bool pending = state == SERVICE_START_PENDING || state == SERVICE_STOP_PENDING;
    g_status.dwCheckPoint = pending ? g_status.dwCheckPoint + 1 : 0;
    g_status.dwWaitHint = pending ? waitHint : 0;
    SetServiceStatus(g_statusHandle, &g_status);
    LeaveCriticalSection(&g_statusLock);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN: {
        EnterCriticalSection(&g_statusLock);
        const bool running = g_status.dwCurrentState == SERVICE_RUNNING;
        LeaveCriticalSection(&g_statusLock);
        if (running) {
            Report(SERVICE_STOP_PENDING, 3000);
            SetEvent(g_stopRequested);
        }
        return NO_ERROR;
    }
    case SERVICE_CONTROL_INTERROGATE:
        EnterCriticalSection(&g_statusLock);
        SetServiceStatus(g_statusHandle, &g_status);
        LeaveCriticalSection(&g_statusLock);
        return NO_ERROR;
    default: return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

// Holds a pending state as the fault file asks: for ever, or for a time.
void HoldPending(long ms, DWORD state) {
    if (ms < 0) return;
    if (ms == 0) {
        for (;;) {
            Sleep(1000);
            Report(state, 3000);
        }
    }
    for (long left = ms; left > 0; left -= 500) {
        Sleep(left < 500 ? static_cast<DWORD>(left) : 500);
        Report(state, 3000);
    }
}

void WINAPI ServiceMain(DWORD, wchar_t**) {
    g_statusHandle = RegisterServiceCtrlHandlerExW(g_serviceName, Control, nullptr);
    if (!g_statusHandle) return;
    g_stopRequested = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Report(SERVICE_START_PENDING, 3000);
    HoldPending(PendingFor("start"), SERVICE_START_PENDING);
    Report(SERVICE_RUNNING);
    if (g_faults.serviceCrash) {
        // Windows' service manager marks a service whose process has died as
        // stopped with ERROR_PROCESS_ABORTED; Wine 8's keeps showing it as
        // running. Leaving that state before dying gives both the same picture.
        EnterCriticalSection(&g_statusLock);
        g_status.dwCurrentState = SERVICE_STOPPED;
        g_status.dwControlsAccepted = 0;
        g_status.dwWin32ExitCode = ERROR_PROCESS_ABORTED;
        SetServiceStatus(g_statusHandle, &g_status);
        Crash();
    }
    WaitForSingleObject(g_stopRequested, INFINITE);
    HoldPending(PendingFor("stop"), SERVICE_STOP_PENDING);
    // The dispatcher returns once the last service of the process has stopped.
    Report(SERVICE_STOPPED);
}

int RunService(const std::wstring& name) {
    InitializeCriticalSection(&g_statusLock);
    wcsncpy(g_serviceName, name.c_str(), sizeof g_serviceName / sizeof g_serviceName[0] - 1);
    SERVICE_TABLE_ENTRYW table[] = {{g_serviceName, ServiceMain}, {nullptr, nullptr}};
    if (!StartServiceCtrlDispatcherW(table))
        return RefuseSystem(L"runs as the service \"" + name + L"\" only when the service manager starts it",
                            GetLastError());
    return 0;
}

// ---------------------------------------------------------------- command lines

using Args = std::vector<std::wstring>;

int Usage(const wchar_t* usage) { return Refuse(std::wstring(L"usage: ") + usage); }

// The value of an option given as "-x value" (or "--x=value" when joined is
// true); found is set when the option is present.
std::wstring Option(const Args& args, const wchar_t* option, bool* found = nullptr) {
    const std::wstring joined = std::wstring(option) + L"=";
    for (size_t i = 0; i < args.size(); ++i) {
        if (SameText(args[i], option) && i + 1 < args.size()) {
            if (found) *found = true;
            return args[i + 1];
        }
        if (_wcsnicmp(args[i].c_str(), joined.c_str(), joined.size()) == 0) {
            if (found) *found = true;
            return args[i].substr(joined.size());
        }
    }
    if (found) *found = false;
    return {};
}

bool HasFlag(const Args& args, const wchar_t* flag) {
    for (const auto& a : args)
        if (SameText(a, flag)) return true;
    return false;
}

int Httpd(const Args& args) {
    const wchar_t* usage = L"httpd -k install|start|stop|uninstall [-n service] [-f config]";
    bool named = false;
    std::wstring name = Option(args, L"-n", &named);
    if (name.empty()) name = g_info->defaultService;
    const std::wstring verb = Option(args, L"-k");
    if (SameText(verb, L"runservice")) return RunService(name);
    if (SameText(verb, L"install")) {
        bool given = false;
        std::wstring config = Option(args, L"-f", &given);
        if (!given) config = ParentOf(ParentOf(g_self)) + L"\\conf\\httpd.conf";
        if (!IsFile(config)) return Refuse(L"the configuration file \"" + config + L"\" does not exist");
        return Install(name, L"-k runservice" + (named ? L" -n " + Quoted(name) : std::wstring()),
                       SERVICE_DEMAND_START);
    }
    if (SameText(verb, L"start")) return Start(name);
    if (SameText(verb, L"stop")) return Stop(name);
    if (SameText(verb, L"uninstall")) return Uninstall(name);
    return Usage(usage);
}

int Mysqld(const Args& args) {
    const wchar_t* usage = L"mysqld --install|--remove [service] [--defaults-file=file]";
    // The service name is the word after --install or --remove, unless that
    // is an option.
    auto nameAfter = [&](const wchar_t* flag) {
        for (size_t i = 0; i < args.size(); ++i)
            if (SameText(args[i], flag))
                return i + 1 < args.size() && args[i + 1].rfind(L"--", 0) != 0 ? args[i + 1]
                                                                               : std::wstring(g_info->defaultService);
        return std::wstring();
    };
    bool service = false;
    const std::wstring serviceName = Option(args, L"--service", &service);
    if (service) return RunService(serviceName);
    bool hasDefaults = false;
    const std::wstring defaults = Option(args, L"--defaults-file", &hasDefaults);
    if (std::wstring name = nameAfter(L"--install"); !name.empty()) {
        std::wstring arguments;
        if (hasDefaults) arguments = L"--defaults-file=" + Quoted(defaults) + L" ";
        return Install(name, arguments + L"--service " + Quoted(name), SERVICE_DEMAND_START);
    }
    if (std::wstring name = nameAfter(L"--remove"); !name.empty()) return Uninstall(name);
    return Usage(usage);
}

int PgCtl(const Args& args) {
    const wchar_t* usage = L"pg_ctl register -N service -D datadir [-S auto|demand] | unregister -N service";
    std::wstring name = Option(args, L"-N");
    if (name.empty()) name = g_info->defaultService;
    const std::wstring verb = args.empty() ? std::wstring() : args[0];
    if (SameText(verb, L"runservice")) return RunService(name);
    if (SameText(verb, L"register")) {
        bool hasData = false;
        const std::wstring data = Option(args, L"-D", &hasData);
        if (!hasData || data.empty()) return Refuse(L"no data directory given (-D)");
        const std::wstring startType = Option(args, L"-S");
        DWORD start = SERVICE_DEMAND_START;
        if (SameText(startType, L"auto"))
            start = SERVICE_AUTO_START;
        else if (!startType.empty() && !SameText(startType, L"demand"))
            return Refuse(L"unknown start type \"" + startType + L"\"");
        return Install(name, L"runservice -N " + Quoted(name) + L" -D " + Quoted(data), start);
    }
    if (SameText(verb, L"unregister")) return Uninstall(name);
    return Usage(usage);
}

int FileZilla(const Args& args) {
    const wchar_t* usage = L"FileZillaServer /install [auto] | /uninstall | /start | /stop";
    const std::wstring name = g_info->defaultService;
    const std::wstring verb = args.empty() ? std::wstring() : args[0];
    if (SameText(verb, L"/service")) return RunService(name);
    if (SameText(verb, L"/install")) {
        const bool automatic = args.size() > 1 && SameText(args[1], L"auto");
        return Install(name, L"/service", automatic ? SERVICE_AUTO_START : SERVICE_DEMAND_START);
    }
    if (SameText(verb, L"/uninstall")) return Uninstall(name);
    if (SameText(verb, L"/start")) return Start(name);
    if (SameText(verb, L"/stop")) return Stop(name);
    return Usage(usage);
}

int Mongod(const Args& args) {
    const wchar_t* usage =
        L"mongod --config file [--repairpath dir] [--directoryperdb] [--serviceName name] --install|--remove";
    std::wstring name = Option(args, L"--serviceName");
    if (name.empty()) name = g_info->defaultService;
    if (HasFlag(args, L"--service")) return RunService(name);
    if (HasFlag(args, L"--install")) {
        bool hasConfig = false;
        const std::wstring config = Option(args, L"--config", &hasConfig);
        if (!hasConfig) return Refuse(L"no configuration file given (--config)");
        if (!IsFile(config)) return Refuse(L"the configuration file \"" + config + L"\" does not exist");
        std::wstring arguments = L"--config " + Quoted(config);
        bool hasRepair = false;
        const std::wstring repair = Option(args, L"--repairpath", &hasRepair);
        if (hasRepair) arguments += L" --repairpath " + Quoted(repair);
        if (HasFlag(args, L"--directoryperdb")) arguments += L" --directoryperdb";
        arguments += L" --serviceName " + Quoted(name) + L" --service";
        return Install(name, arguments, SERVICE_DEMAND_START);
    }
    if (HasFlag(args, L"--remove")) return Uninstall(name);
    return Usage(usage);
}

int Memcached(const Args& args) {
    const wchar_t* usage = L"memcached -d install|uninstall|start|stop";
    const std::wstring name = g_info->defaultService;
    const std::wstring verb = Option(args, L"-d");
    if (SameText(verb, L"runservice")) return RunService(name);
    if (SameText(verb, L"install")) return Install(name, L"-d runservice", SERVICE_DEMAND_START);
    if (SameText(verb, L"uninstall")) return Uninstall(name);
    if (SameText(verb, L"start")) return Start(name);
    if (SameText(verb, L"stop")) return Stop(name);
    return Usage(usage);
}

} // namespace

int main() {
    wchar_t self[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, self, sizeof self / sizeof self[0]);
    if (n == 0 || n >= sizeof self / sizeof self[0]) return 1;
    g_self.assign(self, n);

    std::wstring base = g_self.substr(g_self.find_last_of(L"\\/") + 1);
    if (base.size() > 4 && SameText(base.substr(base.size() - 4), L".exe")) base.resize(base.size() - 4);
    for (const auto& info : kPrograms)
        if (SameText(base, info.fileName)) g_info = &info;
    g_tag = Narrow(base);
    if (!g_info) return Refuse(L"this stand-in must be named after one of the bundle's server programs");

    // Windows rules for the command line: paths with blanks come quoted.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return RefuseSystem(L"cannot read the command line", GetLastError());
    const Args args(argv + 1, argv + argc);
    LocalFree(argv);

    LoadFaults();
    switch (g_info->program) {
    case Program::Httpd: return Httpd(args);
    case Program::Mysqld: return Mysqld(args);
    case Program::PgCtl: return PgCtl(args);
    case Program::FileZilla: return FileZilla(args);
    case Program::Mongod: return Mongod(args);
    case Program::Memcached: return Memcached(args);
    }
    return 1;
}
