// The program's entry: the application, the main window, the first status
// poll, the autorun pass and the message loop.
#include <windows.h>

#include <string>

#include "InstallTree.h"
#include "Language.h"
#include "PanelRegistration.h"
#include "Settings.h"
#include "Wide.h"
#include "Win32Platform.h"
#include "Win32Backend.h"
#include "OptionsDlg.h"
#include "vrk.h"

namespace {

constexpr const char* kAppTitle = "VORLAN Web Server";

// The panel of another user's session controls this machine's servers: this
// start says so, in the user's language, and changes nothing. (Reading the
// language's name and its text writes nothing.)
void SayPanelRunsInOtherSession(const std::string& programFile) {
    const std::string appPath = vrk::tree::InstallationRoot(programFile);
    vrk::Win32Platform os;
    const vrk::Settings settings(os, appPath + vrk::tree::kSettingsFile);
    const vrk::IniFile languageFile(os, vrk::tree::LanguageFile(appPath, settings.Read(vrk::setting::kLanguage)));
    std::string text = vrk::LanguageText(languageFile, vrk::language::kPanelInOtherSession);
    if (text.empty())
        text = "VORLAN Web Server is already running in another user's session. The servers of this machine are "
               "controlled from there.";
    vrk::ShowStartMessage(kAppTitle, text);
}

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
    const long long entered = vrk::ui::win32::StartupMoments::Now();
    const std::string programFile = ProgramFile();

    // One panel per machine: before anything is read or any service asked, a
    // start that finds a panel running brings that one forward and ends.
    vrk::PanelRegistration registration;
    using Outcome = vrk::PanelRegistration::Outcome;
    switch (registration.Claim()) {
    case Outcome::kThisIsThePanel: break;
    case Outcome::kPanelRunsHere: return 0;
    case Outcome::kPanelRunsElsewhere: SayPanelRunsInOtherSession(programFile); return 1;
    }

    vrk::Win32Platform os;
    vrk::ui::Win32Backend backend;
    using Moment = vrk::ui::win32::StartupMoments;
    backend.moments.Mark(Moment::kMain, entered);
    // A second start of the program asks the running one to come forward; a
    // window that is closing stays hidden.
    backend.AnswerFormMessage(vrk::ComeForwardMessage(), [](vrk::ui::Form& form, HWND window, WPARAM) -> LRESULT {
        if (form.visible()) vrk::ComeForward(window);
        return 0;
    });
    vrk::ui::Application app(backend, os);
    app.SetTitle(kAppTitle);

    vrk::Tvrk_form vrk_form(app, programFile);
    vrk_form.closeBegins = [&registration] { registration.Closing(); };
    backend.moments.Mark(Moment::kBuilt);
    vrk_form.Create();
    backend.moments.Mark(Moment::kCreated);
    vrk_form.Show();
    registration.Shown(reinterpret_cast<HWND>(backend.NativeHandle(vrk_form)));
    vrk::TOptionsDialog OptionsDialog(app, programFile);
    OptionsDialog.Create();
    vrk_form.OptionsDialog = &OptionsDialog;

    vrk_form.FinishStartup();
    backend.moments.Mark(Moment::kReady);
    if (!app.terminated()) app.RunMessageLoop();
    return 0;
}
