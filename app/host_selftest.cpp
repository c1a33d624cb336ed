// A look at the host utilities on the real system: what the panel would see
// of services, processes, commands, versions and INI files on this machine.
#include <windows.h>

#include <cstdio>

#include "IniFile.h"
#include "Version.h"
#include "VRKFileInformations.h"
#include "VRKLibrary.h"
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

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string path = std::string(temp) + "vrk-selftest.ini";
    DeleteFileA(path.c_str());
    vrk::IniFile ini(os, path);
    ini.WriteString("gui", "version", vrk::kPanelVersion);
    ini.WriteBool("servers", "apache", false);
    char check[64];
    GetPrivateProfileStringA("gui", "version", "", check, sizeof check, path.c_str());
    std::printf("  IniFile wrote [gui] version, Windows reads \"%s\"\n", check);
    DeleteFileA(path.c_str());
    return 0;
}
