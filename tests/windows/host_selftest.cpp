// A look at the host utilities on the real system: what the panel would see
// of services, processes, commands, versions and INI files on this machine.
#include <windows.h>

#include <cstdio>

#include "IniFile.h"
#include "Version.h"
#include "VRKFileInformations.h"
#include "VRKLibrary.h"
#include "Wide.h"
#include "Win32Platform.h"

int main() {
    vrk::Win32Platform os;
    std::printf("host self-test\n");
    const char* services[] = {"Apache2.2",        "MySQL",   "postgresql-9.1",
                              "FileZilla Server", "MongoDB", "memcached Server"};
    for (const char* name : services)
        std::printf("  service %-18s state %u\n", name, vrk::ServiceGetStatus(os, "", name));
    std::printf("  explorer.exe running: %s\n", vrk::ProcessExists(os, "explorer.exe") ? "yes" : "no");
    std::printf("  cmd /c exit 3 -> %u\n", vrk::ExecAndWait(os, "cmd /c exit 3", vrk::kSwHide));
    std::printf("  no-such-program -> %u\n", vrk::ExecAndWait(os, "no-such-program-here", vrk::kSwHide));
    const char* kernel = "C:\\windows\\system32\\kernel32.dll";
    std::printf("  kernel32.dll file version %s, product version %s\n", vrk::GetFileVersion(os, kernel).c_str(),
                vrk::GetFileInformation(os, kernel, vrk::kProductVersion).c_str());

    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring path = std::wstring(temp) + L"vrk-selftest.ini";
    DeleteFileW(path.c_str());
    vrk::IniFile ini(os, vrk::Utf8(path));
    ini.WriteString("gui", "version", vrk::kPanelVersion);
    ini.WriteBool("servers", "apache", false);
    wchar_t check[64] = {};
    GetPrivateProfileStringW(L"gui", L"version", L"", check, 64, path.c_str());
    std::printf("  IniFile wrote [gui] version, Windows reads \"%s\"\n", vrk::Utf8(check).c_str());
    DeleteFileW(path.c_str());
    return 0;
}
