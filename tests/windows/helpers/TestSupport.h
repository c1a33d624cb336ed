#pragma once
// Small tools shared by the Windows tests: paths of the helper programs,
// names no other test process uses, scratch folders that clean up after
// themselves, whole-file reads and writes, and child processes.
//
// CTest runs every test in a process of its own, possibly two at a time, so
// every name a test puts into the system (files, folders, services) carries
// the process id. Paths are UTF-8, as the program's own.
#include <windows.h>

#include <string>
#include <vector>

#include "Wide.h"

namespace vrk::testing {

// The folder of the test executable, ending with "\": the helper programs
// and version files are built beside it.
inline std::string ExeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string folder = Utf8(std::wstring_view(path, n));
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

inline std::string HelperPath(const std::string& fileName) { return ExeFolder() + fileName; }

// "<prefix>_<pid>_<n>": unique across the test processes running at once.
inline std::string UniqueName(const std::string& prefix) {
    static unsigned counter = 0;
    return prefix + "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(counter++);
}

inline bool Exists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline DWORD Attributes(const std::string& path) { return GetFileAttributesW(Wide(path).c_str()); }

inline bool WriteBytes(const std::string& path, const std::string& content) {
    HANDLE file =
        CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        content.empty() || (WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                            written == content.size());
    CloseHandle(file);
    return ok;
}

// The whole file, or "<missing>" when it cannot be opened (so a missing file
// never compares equal to an empty one).
inline std::string ReadBytes(const std::string& path) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string content;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) content.append(chunk, got);
    CloseHandle(file);
    return content;
}

// The names in a folder, "." and ".." left out.
inline std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(Wide(folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = Utf8(data.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

// Deletes a tree whatever its attributes. Links inside are not followed:
// their owner removes them before the tree goes.
inline void RemoveTree(const std::string& path) {
    const DWORD attributes = Attributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
    const std::wstring wide = Wide(path);
    SetFileAttributesW(wide.c_str(),
                       attributes & FILE_ATTRIBUTE_DIRECTORY ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const auto& name : FolderNames(path)) RemoveTree(path + "\\" + name);
        RemoveDirectoryW(wide.c_str());
    } else {
        DeleteFileW(wide.c_str());
    }
}

// A new empty folder under the system's temporary folder, removed with all
// it holds when the object goes. The tag may hold any letters and blanks.
class TempFolder {
public:
    explicit TempFolder(const std::string& tag) {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        path_ = Utf8(temp) + UniqueName("vrk_" + tag);
        CreateDirectoryW(Wide(path_).c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Without a final "\".
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Starts a program with its own command line; the process handle, or null.
// The child gets no console: under Wine a console host made for a child that
// is then killed can stay behind, holding the test's output open.
inline HANDLE Start(const std::string& application, const std::string& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const std::wstring program = Wide(application);
    std::wstring line = Wide(commandLine);
    if (!CreateProcessW(application.empty() ? nullptr : program.c_str(), line.data(), nullptr, nullptr, FALSE,
                        DETACHED_PROCESS, nullptr, nullptr, &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

// Runs a command line to its end (at most 20 s) and gives its exit code, or
// 0xFFFFFFFF when it could not start or did not end.
inline DWORD RunToEnd(const std::string& commandLine) {
    HANDLE process = Start("", commandLine);
    if (!process) return 0xFFFFFFFFu;
    DWORD code = 0xFFFFFFFFu;
    if (WaitForSingleObject(process, 20000) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

// Polls a condition every 20 ms for up to `limitMs`; true once it holds.
template <class Condition> bool WaitUntil(Condition condition, DWORD limitMs = 10000) {
    for (DWORD waited = 0;; waited += 20) {
        if (condition()) return true;
        if (waited >= limitMs) return false;
        Sleep(20);
    }
}

// The Linux path of a Windows path (its folder must exist), or "" off Wine.
inline std::string UnixPath(const std::string& windowsPath) {
    using ToUnix = char*(CDECL*)(const WCHAR*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    const auto cut = windowsPath.find_last_of('\\');
    const std::string folder = windowsPath.substr(0, cut), name = windowsPath.substr(cut + 1);
    char* unix = toUnix(Wide(folder).c_str());
    if (!unix) return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    if (result.empty() || result.back() != '/') result += '/';
    return result + name;
}

// Runs a shell command on the Linux side (Wine runs a Linux program when
// asked to start one, and its drive Z: is the Linux root) and waits, 5 s at
// most, for it to end. Wine gives no usable handle of a Linux child, so the
// command leaves a marker file (`marker`, a Windows path in an existing
// folder) that is waited for. False off Wine or when it did not end.
inline bool RunUnix(const std::string& command, const std::string& marker) {
    const std::string unixMarker = UnixPath(marker);
    if (unixMarker.empty()) return false;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring line = Wide("sh -c \"" + command + "; : > '" + unixMarker + "'\"");
    if (!CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
    const bool ended = WaitUntil([&] { return Exists(marker); }, 5000);
    DeleteFileW(Wide(marker).c_str());
    return ended;
}

// A symbolic link to a folder or a file. Windows' own call is tried first;
// Wine 8 only stubs it (it reports success and makes nothing), so there the
// link is made on the Linux side, where it acts as a Windows link.
class SymbolicLink {
public:
    enum Kind { kToFolder, kToFile };
    SymbolicLink(const std::string& link, const std::string& target, Kind kind = kToFolder) : link_(link) {
        const DWORD flags =
            SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE | (kind == kToFolder ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0);
        if (CreateSymbolicLinkW(Wide(link).c_str(), Wide(target).c_str(), flags) &&
            Attributes(link) != INVALID_FILE_ATTRIBUTES)
            return;
        const std::string unixLink = UnixPath(link), unixTarget = UnixPath(target);
        if (unixLink.empty() || unixTarget.empty()) return;
        viaUnix_ = RunUnix("ln -s '" + unixTarget + "' '" + unixLink + "'", link + ".done");
    }
    ~SymbolicLink() {
        // Wine does not show a link whose target is gone, so the Linux side
        // removes what it made whether or not it is still seen.
        if (viaUnix_)
            RunUnix("rm -f '" + UnixPath(link_) + "'", link_ + ".done");
        else if (IsLink())
            RemoveDirectoryW(Wide(link_).c_str()) || DeleteFileW(Wide(link_).c_str());
    }
    SymbolicLink(const SymbolicLink&) = delete;
    SymbolicLink& operator=(const SymbolicLink&) = delete;

    // Whether a link stands there now. (Wine lists a link to a file as a
    // plain file: only the Linux side knows.)
    bool IsLink() const {
        if (viaUnix_)
            return RunUnix("if [ -L '" + UnixPath(link_) + "' ]; then : > '" + UnixPath(link_ + ".is") + "'; fi",
                           link_ + ".checked") &&
                   TakeMarker(link_ + ".is");
        const DWORD attributes = Attributes(link_);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    bool Made() const { return viaUnix_ || IsLink(); }

private:
    static bool TakeMarker(const std::string& marker) {
        const bool there = Exists(marker);
        DeleteFileW(Wide(marker).c_str());
        return there;
    }
    std::string link_;
    bool viaUnix_ = false;
};

} // namespace vrk::testing
