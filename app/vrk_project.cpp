// The program's entry: the application, the main window, the first status
// poll, the autorun pass and the message loop.
#include <windows.h>

#include <string>

#include "Wide.h"
#include "Win32Platform.h"
#include "Win32Backend.h"
#include "OptionsDlg.h"
#include "vrk.h"

namespace {

// The full path of the program's own file, however long: a path longer than
// MAX_PATH comes back cut, and the buffer then grows until it holds it.
std::string ProgramFile() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return vrk::Utf8(std::wstring_view(path.data(), length));
        path.resize(path.size() * 2);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
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

    const std::string programFile = ProgramFile();
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
