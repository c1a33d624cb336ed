#include "VRKLibrary.h"

#include <cstdio>
#include <cstring>

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

std::uint32_t ExecAndWait(Platform& os, const std::string& commandLine, std::uint16_t showWindow) {
    const Handle child = os.StartChild(commandLine, showWindow);
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

void EmptyDirectory(Platform& os, const std::string& directory) {
    for (const auto& entry : os.ListDirectory(directory + "*.*")) {
        if (entry.attributes & (kAttrHidden | kAttrSystem | kAttrVolumeLabel)) continue;
        if (entry.name == "." || entry.name == "..") continue;
        const std::string path = directory + entry.name;
        if (entry.attributes == kAttrDirectory) {
            EmptyDirectory(os, path + "\\");
            os.RemoveFolder(path);
        } else if (!(entry.attributes & kAttrDirectory)) {
            os.RemoveFile(path);
        }
        // A directory entry with further bits (read-only, archive, a link or
        // junction) stays with its contents; on Windows deleting it as a
        // file fails anyway, and a link must never lead the purge outside.
    }
}

std::string GetFileVersion(Platform& os, const std::string& fileName) {
    const std::uint32_t size = os.FileVersionInfoSize(fileName);
    if (size == 0) return {};
    std::vector<std::uint8_t> buffer(size);
    if (!os.FileVersionInfo(fileName, buffer)) return {};
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
