#pragma once
// Every operating-system operation the program uses goes through this
// interface. The Win32 implementation makes the real calls; the scripted
// implementation lets native tests decide what the system answers and records
// what the program asked for.
//
// Paths are Windows paths, formed exactly as the program forms them
// (doubled separators and mixed slashes included). Every text, paths
// included, is UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vrk {

struct ProcessEntry {
    std::string exeFile; // as the system reports it: a bare name or a full path
    std::uint32_t processId = 0;
};

struct DirectoryEntry {
    std::string name;
    std::uint32_t attributes = 0;
};

// File attribute bits the program looks at.
inline constexpr std::uint32_t kAttrReadOnly = 0x1;
inline constexpr std::uint32_t kAttrHidden = 0x2;
inline constexpr std::uint32_t kAttrSystem = 0x4;
inline constexpr std::uint32_t kAttrVolumeLabel = 0x8;
inline constexpr std::uint32_t kAttrDirectory = 0x10;
inline constexpr std::uint32_t kAttrArchive = 0x20;
inline constexpr std::uint32_t kAttrReparsePoint = 0x400;

// Show-window values passed to child processes and shell calls.
inline constexpr std::uint16_t kSwHide = 0;
inline constexpr std::uint16_t kSwShowNormal = 1;

// Service states of the service manager; 0 means no state could be had.
inline constexpr std::uint32_t kServiceNoState = 0;
inline constexpr std::uint32_t kServiceStopped = 1;
inline constexpr std::uint32_t kServiceStartPending = 2;
inline constexpr std::uint32_t kServiceStopPending = 3;
inline constexpr std::uint32_t kServiceRunning = 4;

inline constexpr std::uint32_t kStillActive = 259;

// Error codes of the system that the program tells apart.
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorAccessDenied = 5;

using Handle = std::uintptr_t; // 0 is no handle

struct ShellCall {
    Handle owner = 0;
    std::string verb, file, parameters, directory;
    int showCommand = 0;

    // The shell's "open" of a page, folder or program, with the program's
    // parameters and working folder (empty: none of its own).
    static ShellCall Open(std::string file, std::string parameters = {}, std::string directory = {},
                          int showCommand = kSwShowNormal) {
        return {0, "open", std::move(file), std::move(parameters), std::move(directory), showCommand};
    }
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- processes ------------------------------------------------------
    // Every running process, or nothing when no snapshot can be taken.
    virtual std::optional<std::vector<ProcessEntry>> ProcessSnapshot() = 0;
    // Opens the process with terminate access and ends it with the exit
    // code; false when it cannot be opened or terminated.
    virtual bool EndProcess(std::uint32_t processId, std::uint32_t exitCode) = 0;

    // --- child processes --------------------------------------------------
    // Starts a command line (a program named without a path is found by the
    // usual search rules, the running program's folder first) with the
    // show-window value, in the working folder given (empty: the panel's
    // own); 0 when it cannot be started.
    virtual Handle StartChild(const std::string& commandLine, std::uint16_t showWindow,
                              const std::string& directory = {}) = 0;
    // True once the child has ended, with its exit code. Unlike an
    // exit-code poll this tells an ended child whose code is 259 from a
    // running one.
    virtual bool ChildEnded(Handle child, std::uint32_t& exitCode) = 0;
    // Blocks until the child ends or a message for this thread is waiting.
    virtual void WaitForChildOrMessage(Handle child) = 0;
    virtual void CloseChild(Handle child) = 0;
    // Handles every message waiting in this thread's queue (timer ticks,
    // clicks, repaints) and returns when the queue is empty.
    virtual void DispatchMessages() = 0;
    // Blocks the thread without handling messages.
    virtual void Pause(std::uint32_t milliseconds) = 0;

    // --- services ---------------------------------------------------------
    virtual Handle OpenServiceManager(const std::string& machine) = 0;
    virtual Handle OpenNamedService(Handle manager, const std::string& serviceName) = 0;
    virtual bool QueryServiceState(Handle service, std::uint32_t& state) = 0;
    virtual void ReleaseServiceHandle(Handle handle) = 0;

    // --- folders, walked without following links -----------------------------
    // The panel runs with administrator rights in a tree every local user may
    // change while it works in it. So what it deletes there it reaches by
    // handles: each folder is opened inside the one above without following
    // a link, and what is opened is what is checked and used; a folder or
    // file swapped for a link meanwhile is refused, never followed.
    //
    // Opens a folder. With no parent, `name` is a full path, taken as it
    // stands (the installation root, which the administrator chose). With a
    // parent, `name` is one entry of that open folder, opened without
    // following a link: 0 unless it is an ordinary folder (a link, junction
    // or any other reparse point, a file or a missing entry give 0). Others
    // cannot rename or remove an open folder until it is closed.
    virtual Handle OpenFolder(Handle parent, const std::string& name) = 0;
    // The entries of an open folder, read through its handle, without "."
    // and ".."; empty when it cannot be read.
    virtual std::vector<DirectoryEntry> ListFolder(Handle folder) = 0;
    // Deletes one entry of an open folder if it is an ordinary file, opened
    // without following a link and checked through that handle; false for a
    // link, a reparse point, a folder, or a file that cannot be deleted
    // (read-only, in use).
    virtual bool DeleteFileIn(Handle folder, const std::string& name) = 0;
    // Removes an open folder through its handle; false unless it is empty.
    // The handle must still be closed.
    virtual bool RemoveFolder(Handle folder) = 0;
    virtual void CloseFolder(Handle folder) = 0;

    // --- files and directories ---------------------------------------------
    virtual bool FileExists(const std::string& path) = 0;
    // Whole content of a file. A file that exists but cannot be read is told
    // apart from a missing one, so that a writer never mistakes it for empty;
    // a file bigger than the limit is not read at all. For kMissing and
    // kFailed, `systemError` (when given) gets the system's code of why: the
    // file or the path not found (kErrorFileNotFound, kErrorPathNotFound),
    // access denied, the file held by another program, ...
    enum class ReadResult { kRead, kMissing, kFailed, kTooLarge };
    static constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);
    virtual ReadResult ReadContent(const std::string& path, std::string& content, std::size_t limit = kNoLimit,
                                   std::uint32_t* systemError = nullptr) = 0;
    // Replaces (or creates) a file. Normally atomically: the new content goes
    // to a temporary file of our own in the same folder (WriteNames.h), which
    // takes the old file's attributes and permissions and is then renamed
    // over it, so a reader or a crash sees either the old or the new file;
    // the rename replaces a link that stands there, never what it leads to.
    // Most programs that read the file (the system's profile functions among
    // them) keep it open without delete sharing, which refuses the rename:
    // then, after a short retry, the content is written into the file itself
    // the way the profile functions write; so too when the folder refuses a
    // new file while the file itself may be written. In place, only the
    // existing file is opened, without following a link, and only a file of
    // its own is written: a link, a reparse point or a file with more than
    // one hard link is refused. kFailed, with the old file intact, when
    // neither can be done (folder missing, file read-only, disk full, file
    // held without write sharing, a link held open).
    enum class WriteResult { kFailed, kReplaced, kWrittenInPlace };
    // How far a write goes before it returns: into the system's cache, where
    // every program reads it at once, or onto the disk too, so that a power
    // cut leaves the old file or the new one. The disk costs a flush that
    // takes a tenth of a second and more on a busy disk.
    enum class Durability { kCache, kDisk };
    virtual WriteResult ReplaceContent(const std::string& path, const std::string& content,
                                       Durability durability = Durability::kDisk) = 0;
    // As ReadContent, for a file about to be rewritten: it is opened without
    // following a link, and only a file of its own is read. A link, a
    // junction or any other reparse point, and a file with more than one
    // hard link, read as missing: their content is another file's, and the
    // rewrite replaces the entry, never what it leads to.
    virtual ReadResult ReadOwnContent(const std::string& path, std::string& content, std::size_t limit = kNoLimit) = 0;

    // --- the system's words -------------------------------------------------------
    // The system's own text for an error code, in the user's language, as one
    // sentence: without its line break and final period; empty when the
    // system has none.
    virtual std::string SystemMessage(std::uint32_t code) = 0;

    // --- text of the stored files ------------------------------------------------
    // The stored files (settings, languages, run state) are 8-bit text in the
    // system's ANSI code page, which other programs read and write too.
    // FromAnsi gives their UTF-8; ToAnsi gives nothing when a character has
    // no form in the code page.
    virtual std::string FromAnsi(std::string_view bytes) = 0;
    virtual std::optional<std::string> ToAnsi(std::string_view utf8) = 0;

    // --- version resources ----------------------------------------------------
    // As GetFileVersionInfoSize, GetFileVersionInfo and VerQueryValue: the
    // size of a file's version information (0 when it has none), the
    // information itself, and a sub-block of it looked up without regard to
    // case: the binary ones ("\" for the fixed block,
    // "\VarFileInfo\Translation") as bytes, a string field
    // ("\StringFileInfo\040904e4\productversion") as its text up to its end
    // (never past the buffer).
    virtual std::uint32_t FileVersionInfoSize(const std::string& path) = 0;
    virtual bool FileVersionInfo(const std::string& path, std::vector<std::uint8_t>& buffer) = 0;
    virtual bool QueryVersionValue(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                                   const std::uint8_t*& data, std::uint32_t& length) = 0;
    virtual bool QueryVersionText(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                                  std::string& text) = 0;
    // The file's whole version information, empty when it has none or it
    // cannot be read.
    std::vector<std::uint8_t> VersionBlock(const std::string& path) {
        const std::uint32_t size = FileVersionInfoSize(path);
        if (size == 0) return {};
        std::vector<std::uint8_t> buffer(size);
        if (!FileVersionInfo(path, buffer)) return {};
        return buffer;
    }

    // --- system folders -------------------------------------------------------
    // The folder of the system's programs ("C:\Windows\system32") and the
    // Windows folder, without a trailing separator. A system program is run
    // by its full path there: a bare name is looked for first in the folder
    // of the running program, the installation root, which every local user
    // may write to, and a program planted there would run with the panel's
    // rights.
    virtual std::string SystemFolder() = 0;
    virtual std::string WindowsFolder() = 0;

    // --- shell ----------------------------------------------------------------
    // The panel's own shell call: what it starts runs with the panel's
    // rights (the NET commands, the consoles).
    virtual void ShellOpen(const ShellCall& call) = 0;
    // Opens a page, document or folder with the signed-in user's own rights:
    // handed to the desktop's shell, which starts it as the user. Only where
    // no desktop shell answers does the panel's own shell call open it. The
    // owner window is not used.
    virtual void ShellOpenAsUser(const ShellCall& call) = 0;
};

} // namespace vrk
