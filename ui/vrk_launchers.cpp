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
} // namespace

// Pages and the folder open with the signed-in user's own rights, through
// the desktop's shell: a browser or an explorer the panel started itself
// would run with the administrator's rights the panel has, and so would all
// it opens in turn. The consoles are the system's administration tools,
// which need those rights: the panel's own shell call starts them.
void Tvrk_form::Shell(Rights rights, const ShellCall& call) {
    if (rights == Rights::kUser)
        os().ShellOpenAsUser(call);
    else
        os().ShellOpen(call);
}

// A page of the bundle or its maker, owned by the window.
ShellCall Tvrk_form::Page(const std::string& address) {
    ShellCall call = ShellCall::Open(address);
    call.owner = app().backend().NativeHandle(*this);
    return call;
}

// A program of the system, by its full path, working in the system folder:
// a bare name would be looked for first in the installation root, where any
// user may plant a program of that name, and a program may load libraries
// from its working folder. The shell takes the program as a path, not as a
// command line: no quotes.
ShellCall Tvrk_form::SystemProgram(const std::string& program, const std::string& parameters) {
    return ShellCall::Open(program, parameters, os().SystemFolder());
}

void Tvrk_form::OpenVRKStartPage() { Shell(Rights::kUser, Page("https://localhost")); }
void Tvrk_form::OpenWFMApplication() { Shell(Rights::kUser, Page("https://localhost/wfm")); }
void Tvrk_form::OpenMemAdminApplication() { Shell(Rights::kUser, Page("https://localhost/memadmin")); }
void Tvrk_form::OpenPhpMyAdminDialog() { Shell(Rights::kUser, Page("http://localhost/phpmyadmin")); }
void Tvrk_form::OpenPhpPGAdmin() { Shell(Rights::kUser, Page("https://localhost/phppgadmin")); }
void Tvrk_form::OpenMongoDBAdminDialog() { Shell(Rights::kUser, Page("https://localhost/mongo")); }
void Tvrk_form::OpenVORLANWebPage() { Shell(Rights::kUser, Page(kProductWebSite)); }
// The vrk folder of the installation the panel runs from, wherever that is.
// In quotes: the explorer reads a comma as the end of its folder.
void Tvrk_form::OpenVRKFolder() {
    Shell(Rights::kUser, SystemProgram(os().WindowsFolder() + "\\explorer.exe", catalogue::Quoted(AppPath + "vrk")));
}
// A console of the system's management console, named by its full path in
// the system folder like the console program itself: a bare name would be
// looked for where the console program looks, which is not for us to decide.
// In quotes: the system folder may hold a blank.
void Tvrk_form::OpenConsole(const char* console) {
    const std::string system = os().SystemFolder();
    Shell(Rights::kPanel, SystemProgram(system + "\\mmc.exe", catalogue::Quoted(system + "\\" + console)));
}
void Tvrk_form::OpenServicesManager() { OpenConsole("services.msc"); }
void Tvrk_form::OpenTaskManager() { Shell(Rights::kPanel, SystemProgram(os().SystemFolder() + "\\taskmgr.exe")); }
void Tvrk_form::OpenSPMDialog() { OpenConsole("perfmon.msc"); }
void Tvrk_form::OpenGroupPolicyDialog() { OpenConsole("gpedit.msc"); }

// Quoted like every path from the installation root: with a blank in the
// root, the unquoted line would first run a program named by the part before
// the blank ("C:\Web.exe" for "C:\Web Server\").
void Tvrk_form::OpenPgAdmin3Application() {
    ExecAndWait(os(), catalogue::Quoted(AppPath + tree::kPgAdmin), kSwShowNormal);
}

void Tvrk_form::OpenFTPAdministration() {
    if (ServerRuns(catalogue::kFTP)) {
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
