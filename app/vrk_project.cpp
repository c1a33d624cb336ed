// The program's entry: the application, the main window, the first status
// poll, the autorun pass and the message loop.
#include <windows.h>

#include "host/platform/win32/Win32Platform.h"
#include "ui/toolkit/win32/Win32Backend.h"
#include "ui/OptionsDlg.h"
#include "ui/vrk.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    vrk::Win32Platform os;
    vrk::ui::Win32Backend backend;
    vrk::ui::Application app(backend, os);
    app.SetTitle("VORLAN Web Server");

    char programFile[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, programFile, MAX_PATH);
    vrk::Tvrk_form vrk_form(app, programFile);
    vrk_form.Create();
    vrk_form.Show();
    vrk::TOptionsDialog OptionsDialog(app, programFile);
    OptionsDialog.Create();
    vrk_form.OptionsDialog = &OptionsDialog;

    vrk_form.FinishStartup();
    if (!app.Terminated()) app.Run();
    return 0;
}
