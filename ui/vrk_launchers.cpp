// The links of the main window: web pages and consoles through the shell,
// the bundle's two administration programs, and the options dialog.
#include "InstallTree.h"
#include "Catalogue.h"
#include "VRKLibrary.h"
#include "OptionsDlg.h"
#include "vrk.h"

namespace vrk {
using namespace ui;

namespace {
constexpr const char* kProductWebSite = "https://www.vorlan.example/";

// The system's programs go by their full paths, in the system folder or (the
// explorer) the Windows folder: a bare name would be looked for first in the
// installation root, where any user may plant a program of that name. The
// shell takes the program as a path, not as a command line: no quotes.
std::string SystemProgram(Platform& os, const char* name) { return os.SystemFolder() + "\\" + name; }
} // namespace

void Tvrk_form::Shell(bool owned, const std::string& file, const std::string& parameters) {
    ShellCall call;
    call.owner = owned ? app().backend().NativeHandle(*this) : 0;
    call.verb = "open";
    call.file = file;
    call.parameters = parameters;
    call.showCommand = kSwShowNormal;
    os().ShellOpen(call);
}

void Tvrk_form::OpenVRKStartPage() { Shell(true, "https://localhost"); }
void Tvrk_form::OpenWFMApplication() { Shell(true, "https://localhost/wfm"); }
void Tvrk_form::OpenMemAdminApplication() { Shell(true, "https://localhost/memadmin"); }
void Tvrk_form::OpenPhpMyAdminDialog() { Shell(true, "http://localhost/phpmyadmin"); }
void Tvrk_form::OpenPhpPGAdmin() { Shell(true, "https://localhost/phppgadmin"); }
void Tvrk_form::OpenMongoDBAdminDialog() { Shell(true, "https://localhost/mongo"); }
void Tvrk_form::OpenVORLANWebPage() { Shell(true, kProductWebSite); }
// The vrk folder of the installation the panel runs from, wherever that is.
// In quotes: the explorer reads a comma as the end of its folder.
void Tvrk_form::OpenVRKFolder() {
    Shell(false, os().WindowsFolder() + "\\explorer.exe", catalogue::Quoted(AppPath + "vrk"));
}
void Tvrk_form::OpenServicesManager() { Shell(false, SystemProgram(os(), "mmc.exe"), "services.msc"); }
void Tvrk_form::OpenTaskManager() { Shell(false, SystemProgram(os(), "taskmgr.exe")); }
void Tvrk_form::OpenSPMDialog() { Shell(false, SystemProgram(os(), "mmc.exe"), "perfmon.msc"); }
void Tvrk_form::OpenGroupPolicyDialog() { Shell(false, SystemProgram(os(), "mmc.exe"), "gpedit.msc"); }

// Quoted like every path from the installation root: with a blank in the
// root, the unquoted line would first run a program named by the part before
// the blank ("C:\Web.exe" for "C:\Web Server\").
void Tvrk_form::OpenPgAdmin3Application() {
    ExecAndWait(os(), catalogue::Quoted(AppPath + tree::kPgAdmin), kSwShowNormal);
}

void Tvrk_form::OpenFTPAdministration() {
    if (Running(catalogue::kFTP)) {
        lbl_ftpAdmin->SetEnabled(true);
        ExecAndWait(os(), catalogue::Quoted(AppPath + tree::kFileZillaInterface), kSwShowNormal);
    } else {
        lbl_ftpAdmin->SetEnabled(false);
    }
}

void Tvrk_form::OpenOptionsDialog() {
    if (OptionsDialog) OptionsDialog->Execute();
    if (Released) return;
    // Also the information title, with its version.
    ReadSettings();
}

} // namespace vrk
