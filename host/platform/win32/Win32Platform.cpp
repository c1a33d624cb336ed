#include "Win32Platform.h"

#include "DesktopShell.h"
#include "Owned.h"
#include "ReadAll.h"
#include "SystemLibrary.h"
#include "Wide.h"

#include <windows.h>
#include <tlhelp32.h>

#include <shellapi.h>

namespace vrk {
namespace {

// The snapshot functions are looked up once: a system without them simply
// has no processes to report.
struct SnapshotApi {
    using Create = HANDLE(WINAPI*)(DWORD, DWORD);
    using Walk = BOOL(WINAPI*)(HANDLE, LPPROCESSENTRY32W);
    Create create = nullptr;
    Walk first = nullptr;
    Walk next = nullptr;
    SnapshotApi() {
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        create = SystemFunction<Create>(kernel, "CreateToolhelp32Snapshot");
        first = SystemFunction<Walk>(kernel, "Process32FirstW");
        next = SystemFunction<Walk>(kernel, "Process32NextW");
    }
    bool available() const { return create && first && next; }
};

const SnapshotApi& Snapshot() {
    static const SnapshotApi api;
    return api;
}

// The version library is not a known DLL: it is loaded from the system
// folder alone (SystemLibrary), once; without it no file has version
// information.
struct VersionApi {
    using InfoSize = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using Info = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using Query = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    InfoSize infoSize = nullptr;
    Info info = nullptr;
    Query query = nullptr;
    VersionApi() {
        HMODULE version = SystemLibrary(L"version.dll");
        infoSize = SystemFunction<InfoSize>(version, "GetFileVersionInfoSizeW");
        info = SystemFunction<Info>(version, "GetFileVersionInfoW");
        query = SystemFunction<Query>(version, "VerQueryValueW");
    }
    bool available() const { return infoSize && info && query; }
};

const VersionApi& Version() {
    static const VersionApi api;
    return api;
}

// The shell, and all it brings with it, is loaded when a link is first used
// rather than with the program: the panel starts sooner.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
ShellExecuteFunction ShellExecuteFromSystem() {
    static const auto function = SystemFunction<ShellExecuteFunction>(SystemLibrary(L"shell32.dll"), "ShellExecuteW");
    return function;
}

HANDLE AsHandle(Handle h) { return reinterpret_cast<HANDLE>(h); }
SC_HANDLE AsScHandle(Handle h) { return reinterpret_cast<SC_HANDLE>(h); }

// The wide text of bytes in the ANSI code page.
std::wstring WideFromAnsi(std::string_view bytes) {
    if (bytes.empty()) return {};
    // An INI file is at most a few megabytes: its size fits an int.
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

} // namespace

Win32Platform::Win32Platform()
    : localManager_([] { return reinterpret_cast<Handle>(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT)); },
                    [](Handle handle) { CloseServiceHandle(AsScHandle(handle)); }) {}

std::optional<std::vector<ProcessEntry>> Win32Platform::ProcessSnapshot() {
    const auto& api = Snapshot();
    if (!api.available()) return std::nullopt;
    const OwnedHandle snapshot(api.create(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return std::nullopt;
    std::vector<ProcessEntry> entries;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = api.first(snapshot.get(), &entry); more; more = api.next(snapshot.get(), &entry)) {
        entry.szExeFile[MAX_PATH - 1] = 0;
        entries.push_back({Utf8(entry.szExeFile), entry.th32ProcessID});
    }
    return entries;
}

bool Win32Platform::EndProcess(std::uint32_t processId, std::uint32_t exitCode) {
    const OwnedHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    return process && TerminateProcess(process.get(), exitCode) != 0;
}

Handle Win32Platform::StartChild(const std::string& commandLine, std::uint16_t showWindow,
                                 const std::string& directory) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow;
    PROCESS_INFORMATION info{};
    std::wstring mutableLine = Wide(commandLine); // CreateProcessW may write into it
    const std::wstring folder = Wide(directory);
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, TRUE,
                        CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info))
        return 0;
    const OwnedHandle thread(info.hThread); // only the process is waited for
    return reinterpret_cast<Handle>(info.hProcess);
}

bool Win32Platform::ChildEnded(Handle child, std::uint32_t& exitCode) {
    // The handle is signalled when the child has ended: this tells a child
    // that exited with 259 from one still running.
    if (WaitForSingleObject(AsHandle(child), 0) != WAIT_OBJECT_0) return false;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(AsHandle(child), &code);
    exitCode = code;
    return true;
}

void Win32Platform::WaitForChildOrMessage(Handle child) {
    HANDLE handle = AsHandle(child);
    // The program is ending (its window is gone): only the child is waited
    // for, without spinning on the quit request.
    if (quitPending_) {
        WaitForSingleObject(handle, INFINITE);
        return;
    }
    // MWMO_INPUTAVAILABLE: wake also for messages already queued but not yet
    // looked at, so nothing waits behind the sleep.
    MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32Platform::CloseChild(Handle child) {
    CloseHandle(AsHandle(child));
    // Hand the quit request on to the loop that waits for it: an outer wait,
    // or the message loop.
    if (quitPending_) {
        quitPending_ = false;
        PostQuitMessage(quitCode_);
    }
}

void Win32Platform::DispatchMessages() {
    // Once the program is told to end, no more handlers run inside the wait.
    if (quitPending_) return;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // The loop that waits for WM_QUIT is outside this wait: it gets
            // the request back once the wait is over.
            quitPending_ = true;
            quitCode_ = static_cast<int>(msg.wParam);
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Win32Platform::Pause(std::uint32_t milliseconds) { Sleep(milliseconds); }

// Connecting to the local service manager costs about ten times what the
// query itself does (7.6 ms against 0.85 ms under Wine), and the status poll
// asks six to eight times a second: the connection to this machine's manager
// is kept. Every state is still asked for afresh; a connection that has gone
// bad is made again.
Handle Win32Platform::OpenServiceManager(const std::string& machine) {
    if (!machine.empty())
        return reinterpret_cast<Handle>(OpenSCManagerW(Wide(machine).c_str(), nullptr, SC_MANAGER_CONNECT));
    return localManager_.Get();
}

Handle Win32Platform::OpenNamedService(Handle manager, const std::string& serviceName) {
    const std::wstring name = Wide(serviceName);
    SC_HANDLE service = OpenServiceW(AsScHandle(manager), name.c_str(), SERVICE_QUERY_STATUS);
    if (!service && localManager_.Keeps(manager)) {
        const DWORD error = GetLastError();
        if (error != ERROR_SERVICE_DOES_NOT_EXIST && error != ERROR_INVALID_NAME && error != ERROR_ACCESS_DENIED)
            if (const Handle renewed = localManager_.Renew(manager))
                service = OpenServiceW(AsScHandle(renewed), name.c_str(), SERVICE_QUERY_STATUS);
    }
    return reinterpret_cast<Handle>(service);
}

bool Win32Platform::QueryServiceState(Handle service, std::uint32_t& state) {
    SERVICE_STATUS status{};
    if (!QueryServiceStatus(AsScHandle(service), &status)) return false;
    state = status.dwCurrentState;
    return true;
}

void Win32Platform::ReleaseServiceHandle(Handle handle) { localManager_.Release(handle); }

bool Win32Platform::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

Platform::ReadResult Win32Platform::ReadContent(const std::string& path, std::string& content, std::size_t limit,
                                                std::uint32_t* systemError) {
    auto failed = [systemError](ReadResult result, DWORD error) {
        if (systemError) *systemError = error;
        return result;
    };
    const OwnedHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = GetLastError();
        return failed((error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? ReadResult::kMissing
                                                                                       : ReadResult::kFailed,
                      error);
    }
    const ReadResult result = ReadAll(file.get(), content, limit);
    return result == ReadResult::kFailed ? failed(result, GetLastError()) : result;
}

Platform::ReadResult ReadAll(HANDLE file, std::string& content, std::size_t limit) {
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && static_cast<unsigned long long>(size.QuadPart) > limit)
        return Platform::ReadResult::kTooLarge;
    content.clear();
    char chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != 0) && got > 0) {
        // A file that grows while it is read is held to the limit all the same.
        if (content.size() + got > limit) return Platform::ReadResult::kTooLarge;
        content.append(chunk, got);
    }
    return ok ? Platform::ReadResult::kRead : Platform::ReadResult::kFailed;
}

std::uint32_t Win32Platform::FileVersionInfoSize(const std::string& path) {
    if (!Version().available()) return 0;
    DWORD ignored = 0;
    return Version().infoSize(Wide(path).c_str(), &ignored);
}

bool Win32Platform::FileVersionInfo(const std::string& path, std::vector<std::uint8_t>& buffer) {
    return Version().available() &&
           Version().info(Wide(path).c_str(), 0, static_cast<DWORD>(buffer.size()), buffer.data()) != 0;
}

bool Win32Platform::QueryVersionValue(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                                      const std::uint8_t*& data, std::uint32_t& length) {
    if (!Version().available()) return false;
    void* value = nullptr;
    UINT size = 0;
    if (!Version().query(buffer.data(), Wide(subBlock).c_str(), &value, &size) || !value) return false;
    data = static_cast<const std::uint8_t*>(value);
    length = size;
    return true;
}

bool Win32Platform::QueryVersionText(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                                     std::string& text) {
    const std::uint8_t* data = nullptr;
    std::uint32_t ignored = 0;
    if (!QueryVersionValue(buffer, subBlock, data, ignored)) return false;
    // The wide query gives the text in UTF-16, inside the buffer: it ends at
    // its zero, and never runs past the buffer.
    const std::uint8_t* end = buffer.data() + buffer.size();
    if (data < buffer.data() || data >= end) return false;
    const auto* chars = reinterpret_cast<const wchar_t*>(data);
    const std::size_t room = static_cast<std::size_t>(end - data) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < room && chars[length]) ++length;
    text = Utf8(std::wstring_view(chars, length));
    return true;
}

std::string Win32Platform::FromAnsi(std::string_view bytes) { return Utf8(WideFromAnsi(bytes)); }

std::optional<std::string> Win32Platform::ToAnsi(std::string_view utf8) {
    if (utf8.empty()) return std::string();
    const std::wstring wide = Wide(utf8);
    const int size = static_cast<int>(wide.size());
    // The UTF-8 code page (a choice Windows 10 offers) takes neither the flag
    // nor the default character, and has a form for every character.
    const bool utf8CodePage = GetACP() == CP_UTF8;
    const DWORD flags = utf8CodePage ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* used = utf8CodePage ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, used);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), size, bytes.data(), length, nullptr, used);
    // In a multi-byte code page a character may come back as another one.
    if (usedDefault || WideFromAnsi(bytes) != wide) return std::nullopt;
    return bytes;
}

std::string Win32Platform::SystemMessage(std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer) LocalFree(buffer);
    // One sentence inside ours: the line break and the final period go.
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.pop_back();
    if (!text.empty() && text.back() == L'.') text.pop_back();
    return Utf8(text);
}

std::string Win32Platform::SystemFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH + 1);
    return length <= MAX_PATH ? Utf8(std::wstring_view(folder, length)) : std::string();
}

std::string Win32Platform::WindowsFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH + 1);
    return length <= MAX_PATH ? Utf8(std::wstring_view(folder, length)) : std::string();
}

void Win32Platform::ShellOpenAsUser(const ShellCall& call) {
    if (!OpenThroughDesktop(call)) ShellOpen(call);
}

void Win32Platform::ShellOpen(const ShellCall& call) {
    const ShellExecuteFunction shellExecute = ShellExecuteFromSystem();
    if (!shellExecute) return;
    const std::wstring verb = Wide(call.verb), file = Wide(call.file), parameters = Wide(call.parameters),
                       directory = Wide(call.directory);
    auto orNull = [](const std::wstring& s) { return s.empty() ? nullptr : s.c_str(); };
    shellExecute(reinterpret_cast<HWND>(call.owner), orNull(verb), file.c_str(), orNull(parameters), orNull(directory),
                 call.showCommand);
}

} // namespace vrk
