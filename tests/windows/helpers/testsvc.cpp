// A minimal service for the service-state tests:
//   testsvc.exe install <name>   registers this program as a demand-start,
//                                own-process service "<path>" run <name>
//   testsvc.exe remove <name>    stops it when it runs and deletes it
//   testsvc.exe run <name>       what the service manager starts: reports
//                                running until it is told to stop
// Exit code 0 on success, 1 on a failed system call, 2 on bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string g_name;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
HANDLE g_stopEvent = nullptr;

int Fail(const char* what) {
    std::fprintf(stderr, "testsvc: %s failed (error %lu)\n", what, GetLastError());
    return 1;
}

void Report(DWORD state) {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    status.dwWin32ExitCode = NO_ERROR;
    SetServiceStatus(g_statusHandle, &status);
}

DWORD WINAPI Control(DWORD control, DWORD, void*, void*) {
    switch (control) {
    case SERVICE_CONTROL_STOP: SetEvent(g_stopEvent); return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE: return NO_ERROR;
    default: return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD, char**) {
    g_statusHandle = RegisterServiceCtrlHandlerExA(g_name.c_str(), Control, nullptr);
    if (!g_statusHandle) return;
    g_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    Report(SERVICE_RUNNING);
    WaitForSingleObject(g_stopEvent, INFINITE);
    Report(SERVICE_STOPPED); // the dispatcher returns once the last service has stopped
}

int Install() {
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return Fail("GetModuleFileName");
    const std::string binaryPath = "\"" + std::string(self) + "\" run " + g_name;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
    if (!manager) return Fail("OpenSCManager");
    SC_HANDLE service = CreateServiceA(manager, g_name.c_str(), g_name.c_str(), SERVICE_ALL_ACCESS,
                                       SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                       binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    const int result = service ? 0 : Fail("CreateService");
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return result;
}

int Remove() {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) return Fail("OpenSCManager");
    SC_HANDLE service = OpenServiceA(manager, g_name.c_str(), DELETE | SERVICE_STOP | SERVICE_QUERY_STATUS);
    if (!service) {
        const int result = Fail("OpenService");
        CloseServiceHandle(manager);
        return result;
    }
    SERVICE_STATUS status{};
    if (QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED) {
        ControlService(service, SERVICE_CONTROL_STOP, &status);
        for (int i = 0; i < 250 && QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED;
             ++i)
            Sleep(20);
    }
    const int result = DeleteService(service) ? 0 : Fail("DeleteService");
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return result;
}

int RunAsService() {
    SERVICE_TABLE_ENTRYA table[] = {{g_name.data(), ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(table) ? 0 : Fail("StartServiceCtrlDispatcher");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: testsvc install|remove|run <service name>\n");
        return 2;
    }
    g_name = argv[2];
    if (std::strcmp(argv[1], "install") == 0) return Install();
    if (std::strcmp(argv[1], "remove") == 0) return Remove();
    if (std::strcmp(argv[1], "run") == 0) return RunAsService();
    std::fprintf(stderr, "testsvc: unknown command %s\n", argv[1]);
    return 2;
}
