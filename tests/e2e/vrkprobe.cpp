// vrkprobe: looks at the running control panel from another process, as a
// person would, through what its windows expose: each control's window
// carries its name (property "VrkName") and, for images, its picture file
// ("VrkPicture"); its text is its caption.
//
//   vrkprobe list            one line per control (tab-separated, see List)
//   vrkprobe click <name>    a left click at the centre of the control
//   vrkprobe wait <seconds>  until the panel's window is up and idle
//   vrkprobe errors          prints the error boxes the panel shows
//   vrkprobe dismiss         closes the error boxes shown, as their OK button
//                            does (one kept back while a box was open shows
//                            next)
//   vrkprobe close           asks the panel's window to close
//   vrkprobe focus           prints the name of the control with the keyboard
//                            focus (of the window's thread), or "-"
//   vrkprobe select <name> <item>
//                            picks the item of that text in a drop-down list
//                            (as choosing it with the mouse does: the list's
//                            owner is told of the new selection)
//   vrkprobe fits            every shown label with a caption holds it (but
//                            for the last pixel row of its font's cell):
//                            prints those that clip it, and fails then
//   vrkprobe dpi <dpi>       tells the window it is now on a display of that
//                            scale (as moving it to another monitor does,
//                            without a suggested place)
//   vrkprobe foreground      succeeds when the window (or the dialog it has
//                            open) is the foreground window and not
//                            minimised; prints what is in front otherwise
//   vrkprobe active          succeeds when the window itself, not a dialog
//                            of it, is the active window of its thread and
//                            the foreground window; prints which are otherwise
//   vrkprobe parent          prints the program that started the window's
//                            process ("explorer.exe", "vrk.exe")
//   vrkprobe panels          prints how many vrk.exe processes run and how
//                            many panel windows show: "processes=1 windows=1"
//   vrkprobe sole <seconds>  until the process of the window ends, at most
//                            that long: fails when the window of another
//                            panel shows meanwhile
//   vrkprobe record [hold <seconds> | elsewhere <seconds>]
//                            prints the machine's record of the running
//                            panel; then keeps the record's memory open that
//                            long (a record left in it outlives its panel);
//                            or first records this probe as the panel of
//                            another user's session
//   vrkprobe focus-events <count> <seconds> <file>
//                            writes to the file the name of each control a
//                            screen reader is told the panel's focus has
//                            moved to (EVENT_OBJECT_FOCUS), one a line, until
//                            that many have come or that time has passed;
//                            first a line "listening" once it is (the file,
//                            not the output, which the caller gets only at
//                            the end)
//
// They look at the main window ("VORLAN Web Server"), or with
// `--window <title>` first, at another window of the panel (the options
// dialog) or, when the panel has no window of that title, at any top-level
// window so titled (a program the panel started: wait and close work on it).
//
// Exit status 0 on success, 1 on failure (with the reason on stderr).
//
// Texts are read whole, through the wide functions, and printed in UTF-8;
// titles and names on the command line are UTF-8 too.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "PanelRegistration.h"
#include "Wide.h"

namespace {

using vrk::Utf8;
using vrk::Wide;

constexpr const wchar_t* kAppTitle = L"VORLAN Web Server"; // the error boxes' caption
constexpr const wchar_t* kFormClass = L"VrkForm";
std::wstring windowTitle = kAppTitle; // the window looked at
bool otherWindow = false;             // --window given

HWND Panel() {
    HWND found = FindWindowW(kFormClass, windowTitle.c_str());
    if (!found && otherWindow) found = FindWindowW(nullptr, windowTitle.c_str());
    return found;
}

std::string AtomText(HWND hwnd, const wchar_t* property) {
    const auto atom = static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, property)));
    if (!atom) return {};
    wchar_t text[256] = {};
    const UINT n = GlobalGetAtomNameW(atom, text, 256);
    return Utf8(std::wstring(text, n));
}

std::string NameOf(HWND hwnd) { return AtomText(hwnd, L"VrkName"); }

std::string TextOf(HWND hwnd) {
    // WM_GETTEXT asks the control itself (an edit keeps its text apart from
    // the window's); a panel busy for long gives up after a while.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        wchar_t text[1024] = {};
        GetWindowTextW(hwnd, text, 1024);
        return Utf8(text);
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 5000,
                        &got);
    text.resize(static_cast<std::size_t>(got));
    return Utf8(text);
}

// One line per field: tabs and line breaks of a caption are written as \t,
// \r and \n.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string ClassOf(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return Utf8(name);
}

// The position among its siblings from the top of their stacking order.
int StackIndex(HWND hwnd) {
    int index = 0;
    for (HWND above = GetWindow(hwnd, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) ++index;
    return index;
}

std::string State(HWND hwnd, const std::string& cls) {
    if (const auto index = reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, L"VrkIndex")))
        return "index=" + std::to_string(static_cast<long>(index) - 1);
    if (cls == "VrkRadioGroup") return "index=-1";
    if (_stricmp(cls.c_str(), "ComboBox") == 0)
        return "index=" + std::to_string(static_cast<long>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)));
    if (_stricmp(cls.c_str(), "Button") == 0 && (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_CHECKBOX)
        return SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? "checked" : "unchecked";
    return "-";
}

struct Control {
    HWND hwnd;
    std::string name;
};

std::vector<Control> Controls(HWND panel) {
    std::vector<Control> found;
    EnumChildWindows(
        panel,
        [](HWND hwnd, LPARAM param) -> BOOL {
            std::string name = NameOf(hwnd);
            if (!name.empty()) reinterpret_cast<std::vector<Control>*>(param)->push_back({hwnd, name});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND FindControl(HWND panel, const std::string& name) {
    for (const Control& c : Controls(panel))
        if (c.name == name) return c.hwnd;
    return nullptr;
}

HWND RequirePanel() {
    HWND panel = Panel();
    if (!panel) {
        std::fprintf(stderr, "vrkprobe: no window titled \"%s\"\n", Utf8(windowTitle).c_str());
        std::exit(1);
    }
    return panel;
}

// Columns: name, class, parent, left,top,width,height (in the parent's
// client area), visible, enabled, stacking index among its siblings (0 is
// the top), state, caption, picture file. The first line is the window
// itself: its outer rectangle on the screen, and in the state column its
// client size, the screen size and its styles.
int List() {
    HWND panel = RequirePanel();
    RECT outer, client;
    GetWindowRect(panel, &outer);
    GetClientRect(panel, &client);
    std::printf("%s\t%s\t-\t%ld,%ld,%ld,%ld\t%d\t%d\t0\tclient=%ldx%ld screen=%dx%d style=%08lx exstyle=%08lx\t%s\t-\n",
                NameOf(panel).c_str(), ClassOf(panel).c_str(), outer.left, outer.top, outer.right - outer.left,
                outer.bottom - outer.top, IsWindowVisible(panel) ? 1 : 0, IsWindowEnabled(panel) ? 1 : 0, client.right,
                client.bottom, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                static_cast<unsigned long>(GetWindowLongW(panel, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongW(panel, GWL_EXSTYLE)), Escaped(TextOf(panel)).c_str());
    for (const Control& c : Controls(panel)) {
        HWND parent = GetParent(c.hwnd);
        RECT r;
        GetWindowRect(c.hwnd, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        const std::string cls = ClassOf(c.hwnd);
        const std::string picture = AtomText(c.hwnd, L"VrkPicture");
        std::printf("%s\t%s\t%s\t%ld,%ld,%ld,%ld\t%d\t%d\t%d\t%s\t%s\t%s\n", c.name.c_str(), cls.c_str(),
                    NameOf(parent).c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                    IsWindowVisible(c.hwnd) ? 1 : 0, IsWindowEnabled(c.hwnd) ? 1 : 0, StackIndex(c.hwnd),
                    State(c.hwnd, cls).c_str(), Escaped(TextOf(c.hwnd)).c_str(),
                    picture.empty() ? "-" : picture.c_str());
    }
    return 0;
}

int Click(const std::string& name) {
    HWND control = FindControl(RequirePanel(), name);
    if (!control) {
        std::fprintf(stderr, "vrkprobe: no control named %s\n", name.c_str());
        return 1;
    }
    RECT r;
    GetClientRect(control, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
    return 0;
}

// The error boxes of the panel: dialogs with the panel's title, with their
// message text.
std::vector<std::string> ErrorBoxes() {
    std::vector<std::string> texts;
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", kAppTitle)) != nullptr) {
        std::string text;
        EnumChildWindows(
            box,
            [](HWND child, LPARAM param) -> BOOL {
                if (_stricmp(ClassOf(child).c_str(), "Static") != 0) return TRUE;
                const std::string t = TextOf(child);
                if (!t.empty()) *reinterpret_cast<std::string*>(param) += t;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&text));
        texts.push_back(text);
    }
    return texts;
}

int Errors() {
    const auto texts = ErrorBoxes();
    for (const auto& t : texts) std::printf("%s\n", Escaped(t).c_str());
    return texts.empty() ? 0 : 1;
}

int Dismiss() {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", kAppTitle)) != nullptr) PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
}

int Wait(double seconds) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    auto left = [&] {
        const ULONGLONG now = GetTickCount64();
        return now < deadline ? DWORD(deadline - now) : 0;
    };
    HWND panel = nullptr;
    while (!(panel = Panel()) || !IsWindowVisible(panel)) {
        if (!left()) {
            std::fprintf(stderr, "vrkprobe: the window \"%s\" did not show within %g s\n", Utf8(windowTitle).c_str(),
                         seconds);
            for (const auto& t : ErrorBoxes()) std::fprintf(stderr, "vrkprobe: error box: %s\n", Escaped(t).c_str());
            return 1;
        }
        Sleep(100);
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(panel, &pid);
    if (HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid)) {
        WaitForInputIdle(process, left());
        CloseHandle(process);
    }
    // Idle is when it answers: the window's thread is back in its loop.
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(panel, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, left() ? left() : 1, &ignored)) {
        std::fprintf(stderr, "vrkprobe: the window \"%s\" does not answer\n", Utf8(windowTitle).c_str());
        return 1;
    }
    return 0;
}

int Close() {
    PostMessageW(RequirePanel(), WM_CLOSE, 0, 0);
    return 0;
}

int Select(const std::string& name, const std::string& item) {
    HWND control = FindControl(RequirePanel(), name);
    if (!control || _stricmp(ClassOf(control).c_str(), "ComboBox") != 0) {
        std::fprintf(stderr, "vrkprobe: no drop-down list named %s\n", name.c_str());
        return 1;
    }
    const std::wstring wide = Wide(item);
    const LRESULT index =
        SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
    if (index == CB_ERR) {
        std::fprintf(stderr, "vrkprobe: %s has no item \"%s\"\n", name.c_str(), item.c_str());
        return 1;
    }
    SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // The box itself tells its owner only of a choice made by the user.
    PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control));
    return 0;
}

int Focus() {
    HWND panel = RequirePanel();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(panel, nullptr), &info)) {
        std::fprintf(stderr, "vrkprobe: no thread information\n");
        return 1;
    }
    // The control the focused window belongs to: the edit field of a
    // drop-down list is the list's.
    for (HWND hwnd = info.hwndFocus; hwnd; hwnd = GetParent(hwnd)) {
        const std::string name = NameOf(hwnd);
        if (!name.empty()) {
            std::printf("%s\n", name.c_str());
            return 0;
        }
    }
    std::printf("-\n");
    return 0;
}

// A label answers what its caption needs; its client area must hold that.
int Fits() {
    static const UINT extentMessage = RegisterWindowMessageW(L"VrkTextExtent");
    int clipped = 0;
    for (const Control& c : Controls(RequirePanel())) {
        if (ClassOf(c.hwnd) != "VrkLabel" || !IsWindowVisible(c.hwnd) || TextOf(c.hwnd).empty()) continue;
        DWORD_PTR extent = 0;
        if (!SendMessageTimeoutW(c.hwnd, extentMessage, 0, 0, SMTO_ABORTIFHUNG, 5000, &extent)) return 1;
        RECT client;
        GetClientRect(c.hwnd, &client);
        const int width = LOWORD(extent), height = HIWORD(extent);
        // Its last pixel row may go: the design's one-line labels are one
        // row lower than their font's cell (13 pixels for the 14 of the
        // 8-point bold font at 100 %), which cuts no more than that row.
        if (width > client.right || height > client.bottom + 1) {
            std::printf("%s needs %dx%d for \"%s\", has %ldx%ld\n", c.name.c_str(), width, height,
                        Escaped(TextOf(c.hwnd)).c_str(), client.right, client.bottom);
            ++clipped;
        }
    }
    return clipped ? 1 : 0;
}

int Dpi(int dpi) {
    DWORD_PTR ignored;
    return SendMessageTimeoutW(RequirePanel(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), 0, SMTO_ABORTIFHUNG, 10000,
                               &ignored)
               ? 0
               : 1;
}

int Foreground() {
    HWND panel = RequirePanel();
    HWND front = GetForegroundWindow();
    const bool inFront = front && (front == panel || front == GetLastActivePopup(panel));
    if (inFront && IsWindowVisible(panel) && !IsIconic(panel)) return 0;
    wchar_t title[256] = L"-";
    if (front) GetWindowTextW(front, title, 256);
    std::printf("in front: \"%s\"; the panel's window: %s\n", Utf8(title).c_str(),
                IsIconic(panel)          ? "minimised"
                : IsWindowVisible(panel) ? "shown"
                                         : "hidden");
    return 1;
}

int Active() {
    HWND panel = RequirePanel();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(panel, nullptr), &info);
    HWND front = GetForegroundWindow();
    if (info.hwndActive == panel && front == panel) return 0;
    auto title = [](HWND hwnd) {
        wchar_t text[256] = L"-";
        if (hwnd) GetWindowTextW(hwnd, text, 256);
        return Utf8(text) + (hwnd && !IsWindowVisible(hwnd) ? " (hidden)" : "");
    };
    std::printf("active: \"%s\"; in front: \"%s\"\n", title(info.hwndActive).c_str(), title(front).c_str());
    return 1;
}

// The main windows of panels that show, of any process.
std::vector<HWND> PanelWindows() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            wchar_t title[256] = {};
            GetWindowTextW(hwnd, title, 256);
            if (IsWindowVisible(hwnd) && ClassOf(hwnd) == Utf8(kFormClass) && std::wstring(title) == kAppTitle)
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

int Panels() {
    int processes = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, L"vrk.exe") == 0) ++processes;
    CloseHandle(snapshot);
    std::printf("processes=%d windows=%zu\n", processes, PanelWindows().size());
    return 0;
}

int Parent() {
    DWORD pid = 0;
    GetWindowThreadProcessId(RequirePanel(), &pid);
    auto entryOf = [](DWORD processId) {
        PROCESSENTRY32W found{};
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
            if (entry.th32ProcessID == processId) found = entry;
        CloseHandle(snapshot);
        return found;
    };
    const PROCESSENTRY32W parent = entryOf(entryOf(pid).th32ParentProcessID);
    if (!parent.th32ProcessID) {
        std::fprintf(stderr, "vrkprobe: the process that started %lu is gone\n", pid);
        return 1;
    }
    std::printf("%s\n", Utf8(parent.szExeFile).c_str());
    return 0;
}

int Sole(double seconds) {
    DWORD pid = 0;
    GetWindowThreadProcessId(RequirePanel(), &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return 1;
    const ULONGLONG started = GetTickCount64();
    while (WaitForSingleObject(process, 50) == WAIT_TIMEOUT) {
        for (HWND other : PanelWindows()) {
            DWORD otherPid = 0;
            GetWindowThreadProcessId(other, &otherPid);
            if (otherPid != pid) {
                std::printf("the window of panel %lu showed while panel %lu ran\n", otherPid, pid);
                return 1;
            }
        }
        if (GetTickCount64() - started > seconds * 1000) {
            std::printf("panel %lu still runs after %g s\n", pid, seconds);
            return 1;
        }
    }
    std::printf("panel %lu ended after %llu ms\n", pid, GetTickCount64() - started);
    return 0;
}

int Record(const std::string& how, double seconds) {
    vrk::PanelRecordBlock block;
    if (!block) return 1;
    if (how == "elsewhere") {
        const vrk::PanelRecordBlock::Lock lock(block);
        vrk::PanelRecord record = vrk::ThisProcessRecord(vrk::PanelState::kRunning);
        record.sessionId += 1;
        block.record() = record;
    }
    {
        const vrk::PanelRecordBlock::Lock lock(block);
        const vrk::PanelRecord& r = block.record();
        std::printf("processId=%lu state=%lu session=%lu window=%s\n", static_cast<unsigned long>(r.processId),
                    static_cast<unsigned long>(r.state), static_cast<unsigned long>(r.sessionId),
                    r.window ? "yes" : "no");
        std::fflush(stdout);
    }
    if (!how.empty()) Sleep(static_cast<DWORD>(seconds * 1000));
    return 0;
}

int focusEvents = 0;
FILE* focusLog = nullptr;

void CALLBACK FocusEvent(HWINEVENTHOOK, DWORD, HWND hwnd, LONG object, LONG, DWORD, DWORD) {
    if (object != OBJID_CLIENT || !hwnd) return;
    const std::string name = NameOf(hwnd);
    std::fprintf(focusLog, "%s\n", name.empty() ? "-" : name.c_str());
    std::fflush(focusLog);
    ++focusEvents;
}

int FocusEvents(int count, double seconds, const char* file) {
    DWORD pid = 0;
    GetWindowThreadProcessId(RequirePanel(), &pid);
    focusLog = std::fopen(file, "w");
    HWINEVENTHOOK hook = focusLog ? SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, FocusEvent, pid, 0,
                                                    WINEVENT_OUTOFCONTEXT)
                                  : nullptr;
    if (!hook) {
        std::fprintf(stderr, "vrkprobe: cannot follow the panel's focus events into %s\n", file);
        return 1;
    }
    std::fprintf(focusLog, "listening\n");
    std::fflush(focusLog);
    // The events come as messages to this thread.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (focusEvents < count && GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    UnhookWinEvent(hook);
    std::fclose(focusLog);
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: vrkprobe [--window <title>] list | click <name> | wait <seconds> | errors | dismiss | close"
                 " | focus | select <name> <item> | fits | dpi <dpi> | foreground | active | parent | panels"
                 " | sole <seconds>"
                 " | record [hold <seconds> | elsewhere <seconds>] | focus-events <count> <seconds> <file>\n");
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** wideArgv) {
    // Places and sizes in the display's own pixels, as the panel (itself
    // DPI-aware) has them, not scaled down for a program that is not.
    SetProcessDPIAware();
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(Utf8(wideArgv[i]));
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
    const char** argv = pointers.data();
    if (argc >= 3 && std::string(argv[1]) == "--window") {
        windowTitle = Wide(argv[2]);
        otherWindow = true;
        argc -= 2;
        argv += 2;
    }
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "list" && argc == 2) return List();
    if (command == "click" && argc == 3) return Click(argv[2]);
    if (command == "wait" && argc == 3) return Wait(std::atof(argv[2]));
    if (command == "errors" && argc == 2) return Errors();
    if (command == "dismiss" && argc == 2) return Dismiss();
    if (command == "close" && argc == 2) return Close();
    if (command == "focus" && argc == 2) return Focus();
    if (command == "select" && argc == 4) return Select(argv[2], argv[3]);
    if (command == "fits" && argc == 2) return Fits();
    if (command == "dpi" && argc == 3) return Dpi(std::atoi(argv[2]));
    if (command == "foreground" && argc == 2) return Foreground();
    if (command == "active" && argc == 2) return Active();
    if (command == "panels" && argc == 2) return Panels();
    if (command == "parent" && argc == 2) return Parent();
    if (command == "sole" && argc == 3) return Sole(std::atof(argv[2]));
    if (command == "record" && argc == 2) return Record({}, 0);
    if (command == "record" && argc == 4 && (std::string(argv[2]) == "hold" || std::string(argv[2]) == "elsewhere"))
        return Record(argv[2], std::atof(argv[3]));
    if (command == "focus-events" && argc == 5) return FocusEvents(std::atoi(argv[2]), std::atof(argv[3]), argv[4]);
    return Usage();
}
