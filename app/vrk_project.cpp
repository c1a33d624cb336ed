// The program's entry: the application, the main window, the first status
// poll, the autorun pass and the message loop.
#include <windows.h>

#include "Win32Platform.h"
#include "Win32Backend.h"
#include "OptionsDlg.h"
#include "vrk.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The panel runs with administrator rights from a folder every local user
    // may write to. From here on every library, also those the common
    // controls and the shell load for themselves, comes from the system
    // folder alone, never from the installation root or the current folder.
    // (What vrk.exe imports is loaded before this line: only known DLLs, and
    // the common controls bound by the manifest.)
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    const long long entered = vrk::ui::Win32Backend::Now();

    vrk::Win32Platform os;
    vrk::ui::Win32Backend backend;
    using Moment = vrk::ui::Win32Backend::Moment;
    backend.Mark(Moment::kMain, entered);
    vrk::ui::Application app(backend, os);
    app.SetTitle("VORLAN Web Server");

    char programFile[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, programFile, MAX_PATH);
    vrk::Tvrk_form vrk_form(app, programFile);
    backend.Mark(Moment::kBuilt);
    vrk_form.Create();
    backend.Mark(Moment::kCreated);
    vrk_form.Show();
    vrk::TOptionsDialog OptionsDialog(app, programFile);
    OptionsDialog.Create();
    vrk_form.OptionsDialog = &OptionsDialog;

    vrk_form.FinishStartup();
    backend.Mark(Moment::kReady);
    if (!app.terminated()) app.Run();
    return 0;
}
