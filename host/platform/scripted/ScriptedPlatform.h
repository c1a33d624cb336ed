#pragma once
// A platform whose answers a test decides and whose calls it can read back.
// Files live under a temporary folder: a Windows path is mapped onto it with
// "\" turned into "/", doubled separators collapsed and the drive's colon
// dropped ("C:\vrk\x.ini" is <root>/C/vrk/x.ini).
#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "Platform.h"

namespace vrk {

// Orders names without regard to ASCII case (service names, paths).
struct NoCaseLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

class ScriptedPlatform : public Platform {
public:
    ScriptedPlatform();
    ~ScriptedPlatform() override;

    // --- script ---------------------------------------------------------------
    struct Child {
        bool starts = true; // false: the program cannot be started
        std::uint32_t exitCode = 0;
        int waitRounds = 0; // how many waits pass before it ends
        // Runs as a message handled during the wait, once per round.
        std::function<void(int round)> duringWait;
    };
    // Commands are matched exactly; a scripted command is used once, in the
    // order scripted. Unscripted commands start and end at once with code 0.
    void ScriptCommand(const std::string& commandLine, Child child);
    // Queued as a message for the next dispatch (a click, a timer tick).
    void Post(std::function<void()> message);
    // Called on every dispatch after the posted messages (a toolkit's pump).
    std::function<void()> messagePump;
    // What happens elsewhere while the program pauses (a service comes up).
    std::function<void(std::uint32_t milliseconds)> duringPause;

    std::vector<ProcessEntry> processes;
    bool snapshotAvailable = true;
    std::set<std::uint32_t> unkillable; // termination of these fails

    std::map<std::string, std::uint32_t, NoCaseLess> services;
    bool serviceManagerAvailable = true;
    std::set<std::string, NoCaseLess> failingQueries; // query fails for these

    struct Version {
        std::optional<std::array<std::uint16_t, 4>> fixed;
        std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
        // "040904E4" -> field name -> UTF-8 text (names and keys as the file has them)
        std::map<std::string, std::map<std::string, std::string>> strings;
    };
    std::map<std::string, Version, NoCaseLess> versions; // by Windows path

    // Files and folders, by Windows path.
    std::filesystem::path root() const { return root_; }
    std::filesystem::path HostPath(const std::string& windowsPath) const;
    void WriteFile(const std::string& windowsPath, const std::string& content);
    std::string FileContent(const std::string& windowsPath) const;
    void MakeDirectory(const std::string& windowsPath);
    // Attributes a listing gives for the entry instead of its own; an entry
    // given the reparse-point bit is also refused when opened as a folder.
    void SetAttributes(const std::string& windowsPath, std::uint32_t attributes);
    std::set<std::string> failingWrites; // replaceFile fails for these paths
    int refusedWrites = 0;               // how many writes failingWrites refused
    std::set<std::string> unreadable;    // reads of these paths are refused (access denied)
    // Runs when a folder has been listed, with the folder's Windows path: a
    // test changes the tree there as another user could meanwhile.
    std::function<void(const std::string& folder)> afterListing;
    int openFolders = 0;

    // --- record ---------------------------------------------------------------
    // Everything the program did, in order: "exec <show> <command>",
    // "sleep <ms>", "shell <verb>|<file>|<parameters>|<directory>|<show>|<owner>"
    // (the panel's own shell call), "user-shell <verb>|<file>|<parameters>|
    // <directory>|<show>" (the desktop's), "terminate <pid>",
    // "query <service>", "delete <path>", "rmdir <path>".
    std::vector<std::string> log;
    std::vector<std::string> Commands() const; // the "exec" lines' commands
    // The working folder of each child started, in order ("" for the panel's).
    std::vector<std::string> childDirectories;
    std::vector<ShellCall> shellCalls;
    int openServiceHandles = 0;

    // --- Platform ---------------------------------------------------------------
    std::optional<std::vector<ProcessEntry>> ProcessSnapshot() override;
    bool EndProcess(std::uint32_t processId, std::uint32_t exitCode) override;
    Handle StartChild(const std::string& commandLine, std::uint16_t showWindow,
                      const std::string& directory = {}) override;
    bool ChildEnded(Handle child, std::uint32_t& exitCode) override;
    void WaitForChildOrMessage(Handle child) override;
    void CloseChild(Handle child) override;
    void DispatchMessages() override;
    void Pause(std::uint32_t milliseconds) override;
    Handle OpenServiceManager(const std::string& machine) override;
    Handle OpenNamedService(Handle manager, const std::string& serviceName) override;
    bool QueryServiceState(Handle service, std::uint32_t& state) override;
    void ReleaseServiceHandle(Handle handle) override;
    // Folders are Linux folders opened with openat, O_NOFOLLOW and
    // O_DIRECTORY: what the Windows calls do without following links.
    Handle OpenFolder(Handle parent, const std::string& name) override;
    std::vector<DirectoryEntry> ListFolder(Handle folder) override;
    bool DeleteFileIn(Handle folder, const std::string& name) override;
    bool RemoveFolder(Handle folder) override;
    void CloseFolder(Handle folder) override;
    bool FileExists(const std::string& path) override;
    ReadResult ReadContent(const std::string& path, std::string& content, std::size_t limit = kNoLimit,
                           std::uint32_t* systemError = nullptr) override;
    WriteResult ReplaceContent(const std::string& path, const std::string& content,
                               Durability durability = Durability::kDisk) override;
    ReadResult ReadOwnContent(const std::string& path, std::string& content, std::size_t limit = kNoLimit) override;
    std::uint32_t FileVersionInfoSize(const std::string& path) override;
    bool FileVersionInfo(const std::string& path, std::vector<std::uint8_t>& buffer) override;
    bool QueryVersionValue(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                           const std::uint8_t*& data, std::uint32_t& length) override;
    bool QueryVersionText(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                          std::string& text) override;
    // The ANSI code page of a western system, Windows-1252.
    std::string FromAnsi(std::string_view bytes) override;
    std::optional<std::string> ToAnsi(std::string_view utf8) override;
    // The texts of an English Windows for the codes this platform gives.
    std::string SystemMessage(std::uint32_t code) override;
    std::string SystemFolder() override;  // C:\Windows\system32
    std::string WindowsFolder() override; // C:\Windows
    void ShellOpen(const ShellCall& call) override;
    void ShellOpenAsUser(const ShellCall& call) override;

private:
    struct Folder {
        int fd = -1;
        int parentFd = -1; // a copy of the parent's, -1 for a folder opened by its path
        std::string name;
        std::string windowsPath;
    };
    const std::uint32_t* AttributesSet(const std::string& windowsPath) const;
    struct RunningChild {
        Child script;
        int round = 0;
        bool ended = false;
    };
    std::string NormalisedKey(const std::string& windowsPath) const; // normalised for maps
    const Version* VersionOf(const std::string& windowsPath) const;
    std::vector<std::uint8_t> Serialise(const Version& version) const;

    std::filesystem::path root_;
    std::deque<std::pair<std::string, Child>> scripted_;
    std::deque<std::function<void()>> messages_;
    std::map<Handle, RunningChild> children_;
    Handle nextHandle_ = 100;
    std::map<Handle, std::string> serviceHandles_; // handle -> service name ("" for a manager)
    std::map<std::string, std::uint32_t> attributes_;
    std::map<Handle, Folder> folders_;
    unsigned writes_ = 0;
};

} // namespace vrk
