#include "VRKLibrary.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "WriteNames.h"

namespace vrk {
namespace {

// Only a-z are folded: an accented letter must not match its other case. In
// UTF-8 a byte below 0x80 is always a letter of its own, never part of
// another, so folding bytes folds exactly these letters.
std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string FileNamePart(const std::string& path) {
    const auto cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

bool ProcessNameMatches(const std::string& reportedExeFile, const std::string& exeName) {
    const std::string wanted = UpperAscii(exeName);
    return UpperAscii(FileNamePart(reportedExeFile)) == wanted || UpperAscii(reportedExeFile) == wanted;
}

bool ProcessExists(Platform& os, const std::string& exeName) {
    const auto snapshot = os.ProcessSnapshot();
    if (!snapshot) return false;
    bool found = false;
    for (const auto& entry : *snapshot)
        if (ProcessNameMatches(entry.exeFile, exeName)) found = true;
    return found;
}

int KillTask(Platform& os, const std::string& exeName) {
    const auto snapshot = os.ProcessSnapshot();
    if (!snapshot) return 0;
    int result = 0;
    for (const auto& entry : *snapshot)
        if (ProcessNameMatches(entry.exeFile, exeName)) result = os.EndProcess(entry.processId, 0) ? 1 : 0;
    return result;
}

std::uint32_t ExecAndWait(Platform& os, const std::string& commandLine, std::uint16_t showWindow,
                          const std::string& directory) {
    const Handle child = os.StartChild(commandLine, showWindow, directory);
    if (!child) return kExecNotStarted;
    // The window must stay alive while the child runs: every waiting message
    // is handled before each look at the child, and in between the thread
    // sleeps until the child ends or a new message arrives (no spinning).
    std::uint32_t exitCode = kStillActive;
    for (;;) {
        os.DispatchMessages();
        if (os.ChildEnded(child, exitCode)) break;
        os.WaitForChildOrMessage(child);
    }
    os.CloseChild(child);
    return exitCode;
}

std::uint32_t ServiceGetStatus(Platform& os, const std::string& machine, const std::string& serviceName) {
    const Handle manager = os.OpenServiceManager(machine);
    if (!manager) return kServiceNoState;
    std::uint32_t state = kServiceNoState;
    if (const Handle service = os.OpenNamedService(manager, serviceName)) {
        if (!os.QueryServiceState(service, state)) state = kServiceNoState;
        os.ReleaseServiceHandle(service);
    }
    os.ReleaseServiceHandle(manager);
    return state;
}

bool ServiceRunning(Platform& os, const std::string& machine, const std::string& serviceName) {
    return ServiceGetStatus(os, machine, serviceName) == kServiceRunning;
}

namespace {

// An open folder, closed when it goes.
class OpenFolder {
public:
    OpenFolder(Platform& os, Handle handle) : os_(&os), handle_(handle) {}
    OpenFolder(OpenFolder&& other) noexcept : os_(other.os_), handle_(std::exchange(other.handle_, 0)) {}
    OpenFolder& operator=(OpenFolder&&) = delete;
    ~OpenFolder() {
        if (handle_) os_->CloseFolder(handle_);
    }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != 0; }

private:
    Platform* os_;
    Handle handle_;
};

// The folders from the root down to root + below, each opened inside the one
// above; all are kept open (the last is the folder wanted), so none of them
// can be renamed or removed meanwhile. Empty when one cannot be opened.
std::vector<OpenFolder> OpenBelow(Platform& os, const std::string& root, const std::string& below) {
    std::vector<OpenFolder> chain;
    chain.emplace_back(os, os.OpenFolder(0, root));
    std::size_t at = 0;
    while (chain.back() && at < below.size()) {
        const std::size_t end = std::min(below.find_first_of("\\/", at), below.size());
        if (end > at) chain.emplace_back(os, os.OpenFolder(chain.back().get(), below.substr(at, end - at)));
        at = end + 1;
    }
    if (!chain.back()) chain.clear();
    return chain;
}

void EmptyOpenFolder(Platform& os, Handle folder, int depth) {
    for (const auto& entry : os.ListFolder(folder)) {
        if (entry.attributes & (kAttrHidden | kAttrSystem | kAttrVolumeLabel)) continue;
        if (entry.name == "." || entry.name == "..") continue;
        if (entry.attributes == kAttrDirectory) {
            // What was listed as a plain folder may be a link by now: the
            // open refuses it, and it is not entered.
            if (depth >= kMaxEmptyDepth) continue;
            const OpenFolder sub(os, os.OpenFolder(folder, entry.name));
            if (!sub) continue;
            EmptyOpenFolder(os, sub.get(), depth + 1);
            os.RemoveFolder(sub.get());
        } else if (!(entry.attributes & kAttrDirectory)) {
            os.DeleteFileIn(folder, entry.name);
        }
        // A directory entry with further bits (read-only, archive, a link or
        // junction) stays with its contents: a link must never lead the
        // purge outside.
    }
}

} // namespace

void EmptyDirectory(Platform& os, const std::string& root, const std::string& below) {
    const auto chain = OpenBelow(os, root, below);
    if (!chain.empty()) EmptyOpenFolder(os, chain.back().get(), 0);
}

void RemoveInterruptedWrites(Platform& os, const std::string& root, const std::string& below) {
    const auto chain = OpenBelow(os, root, below);
    if (chain.empty()) return;
    for (const auto& entry : os.ListFolder(chain.back().get()))
        if (!(entry.attributes & kAttrDirectory) && IsTemporaryWriteName(entry.name))
            os.DeleteFileIn(chain.back().get(), entry.name);
}

std::string GetFileVersion(Platform& os, const std::string& fileName) {
    const std::vector<std::uint8_t> buffer = os.VersionBlock(fileName);
    if (buffer.empty()) return {};
    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
    // VS_FIXEDFILEINFO: signature, struct version, then FileVersionMS and LS.
    if (!os.QueryVersionValue(buffer, "\\", data, length) || !data || length < 16) return {};
    std::uint32_t ms = 0, ls = 0;
    std::memcpy(&ms, data + 8, 4);
    std::memcpy(&ls, data + 12, 4);
    char text[64];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF);
    return text;
}

} // namespace vrk
