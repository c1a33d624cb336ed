#include "ScriptedPlatform.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Text.h"
#include "WriteNames.h"

namespace vrk {
namespace fs = std::filesystem;

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutRecord(std::vector<std::uint8_t>& out, const std::string& name, const std::vector<std::uint8_t>& value) {
    PutU32(out, static_cast<std::uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    PutU32(out, static_cast<std::uint32_t>(value.size()));
    out.insert(out.end(), value.begin(), value.end());
}

} // namespace

bool NoCaseLess::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

ScriptedPlatform::ScriptedPlatform() {
    char pattern[] = "/tmp/vrk-scripted-XXXXXX";
    const char* made = mkdtemp(pattern);
    root_ = made ? fs::path(made) : fs::temp_directory_path() / "vrk-scripted";
}

ScriptedPlatform::~ScriptedPlatform() {
    while (!folders_.empty()) CloseFolder(folders_.begin()->first);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

// ---------------------------------------------------------------- files

fs::path ScriptedPlatform::HostPath(const std::string& windowsPath) const {
    std::string p;
    for (char c : windowsPath) {
        if (c == '\\') c = '/';
        if (c == '/' && !p.empty() && p.back() == '/') continue;
        if (c == ':') continue;
        p += c;
    }
    while (!p.empty() && p.front() == '/') p.erase(p.begin());
    return root_ / p;
}

std::string ScriptedPlatform::NormalisedKey(const std::string& windowsPath) const {
    std::string k = HostPath(windowsPath).lexically_normal().string();
    while (k.size() > 1 && k.back() == '/') k.pop_back();
    return k;
}

void ScriptedPlatform::WriteFile(const std::string& windowsPath, const std::string& content) {
    const fs::path p = HostPath(windowsPath);
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
}

std::string ScriptedPlatform::FileContent(const std::string& windowsPath) const {
    std::ifstream in(HostPath(windowsPath), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void ScriptedPlatform::MakeDirectory(const std::string& windowsPath) { fs::create_directories(HostPath(windowsPath)); }

void ScriptedPlatform::SetAttributes(const std::string& windowsPath, std::uint32_t attributes) {
    attributes_[NormalisedKey(windowsPath)] = attributes;
}

const std::uint32_t* ScriptedPlatform::AttributesSet(const std::string& windowsPath) const {
    const auto it = attributes_.find(NormalisedKey(windowsPath));
    return it == attributes_.end() ? nullptr : &it->second;
}

namespace {

std::string JoinWindows(const std::string& folder, const std::string& name) {
    return !folder.empty() && (folder.back() == '\\' || folder.back() == '/') ? folder + name : folder + "\\" + name;
}

bool SameEntry(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

} // namespace

Handle ScriptedPlatform::OpenFolder(Handle parent, const std::string& name) {
    Folder folder;
    if (!parent) {
        folder.fd = ::open(HostPath(name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        folder.windowsPath = name;
    } else {
        const auto it = folders_.find(parent);
        if (it == folders_.end() || name.empty() || name == "." || name == ".." ||
            name.find_first_of("\\/") != std::string::npos)
            return 0;
        folder.windowsPath = JoinWindows(it->second.windowsPath, name);
        const std::uint32_t* set = AttributesSet(folder.windowsPath);
        if (set && (*set & kAttrReparsePoint)) return 0;
        folder.fd = ::openat(it->second.fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (folder.fd >= 0) folder.parentFd = ::fcntl(it->second.fd, F_DUPFD_CLOEXEC, 0);
        folder.name = name;
    }
    if (folder.fd < 0) return 0;
    const Handle h = nextHandle_++;
    folders_[h] = folder;
    ++openFolders;
    return h;
}

std::vector<DirectoryEntry> ScriptedPlatform::ListFolder(Handle handle) {
    std::vector<DirectoryEntry> entries;
    const auto it = folders_.find(handle);
    if (it == folders_.end()) return entries;
    const Folder& folder = it->second;
    DIR* dir = ::fdopendir(::fcntl(folder.fd, F_DUPFD_CLOEXEC, 0));
    if (!dir) return entries;
    ::rewinddir(dir);
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(dir))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
        std::uint32_t attributes = kAttrArchive;
        struct stat entry {};
        if (const std::uint32_t* set = AttributesSet(JoinWindows(folder.windowsPath, name))) {
            attributes = *set;
        } else if (::fstatat(folder.fd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0) {
            if (S_ISLNK(entry.st_mode)) {
                struct stat target {};
                const bool toFolder = ::fstatat(folder.fd, name.c_str(), &target, 0) == 0 && S_ISDIR(target.st_mode);
                attributes = (toFolder ? kAttrDirectory : kAttrArchive) | kAttrReparsePoint;
            } else if (S_ISDIR(entry.st_mode)) {
                attributes = kAttrDirectory;
            }
        }
        entries.push_back({name, attributes});
    }
    if (afterListing) afterListing(folder.windowsPath);
    return entries;
}

bool ScriptedPlatform::DeleteFileIn(Handle handle, const std::string& name) {
    const auto it = folders_.find(handle);
    if (it == folders_.end()) return false;
    const std::string path = JoinWindows(it->second.windowsPath, name);
    log.push_back("delete " + path);
    if (name.find_first_of("\\/") != std::string::npos) return false;
    const std::uint32_t* set = AttributesSet(path);
    if (set && (*set & (kAttrReadOnly | kAttrReparsePoint | kAttrDirectory))) return false;
    struct stat entry {};
    if (::fstatat(it->second.fd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(entry.st_mode))
        return false;
    return ::unlinkat(it->second.fd, name.c_str(), 0) == 0;
}

bool ScriptedPlatform::RemoveFolder(Handle handle) {
    const auto it = folders_.find(handle);
    if (it == folders_.end()) return false;
    const Folder& folder = it->second;
    log.push_back("rmdir " + folder.windowsPath);
    if (folder.parentFd < 0) return false;
    // Only the folder this handle stands for, should its name now lead to
    // another.
    struct stat opened {
    }, named{};
    if (::fstat(folder.fd, &opened) != 0 ||
        ::fstatat(folder.parentFd, folder.name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || !SameEntry(opened, named))
        return false;
    return ::unlinkat(folder.parentFd, folder.name.c_str(), AT_REMOVEDIR) == 0;
}

void ScriptedPlatform::CloseFolder(Handle handle) {
    const auto it = folders_.find(handle);
    if (it == folders_.end()) return;
    ::close(it->second.fd);
    if (it->second.parentFd >= 0) ::close(it->second.parentFd);
    folders_.erase(it);
    --openFolders;
}

bool ScriptedPlatform::FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(HostPath(path), ec);
}

Platform::ReadResult ScriptedPlatform::ReadContent(const std::string& path, std::string& content, std::size_t limit,
                                                   std::uint32_t* systemError) {
    // With the system's codes: a missing file in a folder that is there, or
    // a folder on the way that is not; a folder, or a refused file, denied.
    auto failed = [systemError](ReadResult result, std::uint32_t error) {
        if (systemError) *systemError = error;
        return result;
    };
    if (unreadable.count(path)) return failed(ReadResult::kFailed, kErrorAccessDenied);
    const fs::path p = HostPath(path);
    std::error_code ec;
    if (!fs::exists(p, ec))
        return failed(ReadResult::kMissing,
                      fs::is_directory(p.parent_path(), ec) ? kErrorFileNotFound : kErrorPathNotFound);
    if (!fs::is_regular_file(p, ec)) return failed(ReadResult::kFailed, kErrorAccessDenied);
    if (fs::file_size(p, ec) > limit) return ReadResult::kTooLarge;
    std::ifstream in(p, std::ios::binary);
    if (!in) return failed(ReadResult::kFailed, kErrorAccessDenied);
    std::ostringstream out;
    out << in.rdbuf();
    content = out.str();
    return ReadResult::kRead;
}

Platform::ReadResult ScriptedPlatform::ReadOwnContent(const std::string& path, std::string& content,
                                                      std::size_t limit) {
    std::error_code ec;
    const fs::path p = HostPath(path);
    if (fs::is_symlink(p, ec)) return ReadResult::kMissing;
    if (fs::is_regular_file(p, ec) && fs::hard_link_count(p, ec) > 1) return ReadResult::kMissing;
    return ReadContent(path, content, limit);
}

Platform::WriteResult ScriptedPlatform::ReplaceContent(const std::string& path, const std::string& content,
                                                       Durability) {
    if (failingWrites.count(path)) {
        ++refusedWrites;
        return WriteResult::kFailed;
    }
    const fs::path p = HostPath(path);
    std::error_code ec;
    if (!fs::is_directory(p.parent_path(), ec)) return WriteResult::kFailed;
    const auto it = attributes_.find(NormalisedKey(path));
    if (it != attributes_.end() && (it->second & kAttrReadOnly)) return WriteResult::kFailed;
    if (fs::exists(p, ec) && (fs::status(p, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
        return WriteResult::kFailed;
    const fs::path temp = p.parent_path() / TemporaryWriteName(static_cast<std::uint32_t>(::getpid()) ^ ++writes_);
    {
        std::ofstream out(temp, std::ios::binary);
        out << content;
        if (!out.flush()) {
            fs::remove(temp, ec);
            return WriteResult::kFailed;
        }
    }
    fs::rename(temp, p, ec);
    if (ec) fs::remove(temp, ec);
    return ec ? WriteResult::kFailed : WriteResult::kReplaced;
}

// ---------------------------------------------------------------- processes

std::optional<std::vector<ProcessEntry>> ScriptedPlatform::ProcessSnapshot() {
    if (!snapshotAvailable) return std::nullopt;
    return processes;
}

bool ScriptedPlatform::EndProcess(std::uint32_t processId, std::uint32_t) {
    log.push_back("terminate " + std::to_string(processId));
    if (unkillable.count(processId)) return false;
    const auto it = std::find_if(processes.begin(), processes.end(),
                                 [&](const ProcessEntry& e) { return e.processId == processId; });
    if (it == processes.end()) return false;
    processes.erase(it);
    return true;
}

void ScriptedPlatform::ScriptCommand(const std::string& commandLine, Child child) {
    scripted_.emplace_back(commandLine, std::move(child));
}

void ScriptedPlatform::Post(std::function<void()> message) { messages_.push_back(std::move(message)); }

std::vector<std::string> ScriptedPlatform::Commands() const {
    std::vector<std::string> out;
    for (const auto& line : log)
        if (line.rfind("exec ", 0) == 0) out.push_back(line.substr(line.find(' ', 5) + 1));
    return out;
}

Handle ScriptedPlatform::StartChild(const std::string& commandLine, std::uint16_t showWindow,
                                    const std::string& directory) {
    log.push_back("exec " + std::to_string(showWindow) + " " + commandLine);
    childDirectories.push_back(directory);
    Child script;
    const auto it =
        std::find_if(scripted_.begin(), scripted_.end(), [&](const auto& s) { return s.first == commandLine; });
    if (it != scripted_.end()) {
        script = std::move(it->second);
        scripted_.erase(it);
    }
    if (!script.starts) return 0;
    const Handle h = nextHandle_++;
    children_[h] = RunningChild{std::move(script), 0, false};
    children_[h].ended = children_[h].script.waitRounds <= 0;
    return h;
}

bool ScriptedPlatform::ChildEnded(Handle child, std::uint32_t& exitCode) {
    const auto& c = children_.at(child);
    if (!c.ended) return false;
    exitCode = c.script.exitCode;
    return true;
}

void ScriptedPlatform::WaitForChildOrMessage(Handle child) {
    auto& c = children_.at(child);
    if (c.ended) return;
    const int round = ++c.round;
    if (c.script.duringWait) Post([fn = c.script.duringWait, round] { fn(round); });
    if (round >= c.script.waitRounds) c.ended = true;
}

void ScriptedPlatform::CloseChild(Handle child) { children_.erase(child); }

void ScriptedPlatform::DispatchMessages() {
    while (!messages_.empty()) {
        auto message = std::move(messages_.front());
        messages_.pop_front();
        message();
    }
    if (messagePump) messagePump();
}

void ScriptedPlatform::Pause(std::uint32_t milliseconds) {
    log.push_back("sleep " + std::to_string(milliseconds));
    if (duringPause) duringPause(milliseconds);
}

// ---------------------------------------------------------------- services

Handle ScriptedPlatform::OpenServiceManager(const std::string&) {
    if (!serviceManagerAvailable) return 0;
    const Handle h = nextHandle_++;
    serviceHandles_[h] = "";
    ++openServiceHandles;
    return h;
}

Handle ScriptedPlatform::OpenNamedService(Handle manager, const std::string& serviceName) {
    if (!serviceHandles_.count(manager)) return 0;
    log.push_back("query " + serviceName);
    if (!services.count(serviceName)) return 0;
    const Handle h = nextHandle_++;
    serviceHandles_[h] = serviceName;
    ++openServiceHandles;
    return h;
}

bool ScriptedPlatform::QueryServiceState(Handle service, std::uint32_t& state) {
    const auto it = serviceHandles_.find(service);
    if (it == serviceHandles_.end() || failingQueries.count(it->second)) return false;
    const auto s = services.find(it->second);
    if (s == services.end()) return false;
    state = s->second;
    return true;
}

void ScriptedPlatform::ReleaseServiceHandle(Handle handle) {
    if (serviceHandles_.erase(handle)) --openServiceHandles;
}

// ---------------------------------------------------------------- versions
// The information handed out is a list of (sub-block path, bytes) records;
// a query finds its record without regard to case and points into the
// caller's buffer, as the system's query does.

const ScriptedPlatform::Version* ScriptedPlatform::VersionOf(const std::string& windowsPath) const {
    const auto it = versions.find(windowsPath);
    return it == versions.end() ? nullptr : &it->second;
}

std::vector<std::uint8_t> ScriptedPlatform::Serialise(const Version& version) const {
    std::vector<std::uint8_t> out;
    if (version.fixed) {
        const auto& v = *version.fixed;
        std::vector<std::uint8_t> fixed;
        PutU32(fixed, 0xFEEF04BD);
        PutU32(fixed, 0x00010000);
        PutU32(fixed, (std::uint32_t(v[0]) << 16) | v[1]);
        PutU32(fixed, (std::uint32_t(v[2]) << 16) | v[3]);
        fixed.resize(52, 0);
        PutRecord(out, "\\", fixed);
    }
    if (!version.translations.empty()) {
        std::vector<std::uint8_t> table;
        for (const auto& [language, codePage] : version.translations) {
            table.push_back(static_cast<std::uint8_t>(language));
            table.push_back(static_cast<std::uint8_t>(language >> 8));
            table.push_back(static_cast<std::uint8_t>(codePage));
            table.push_back(static_cast<std::uint8_t>(codePage >> 8));
        }
        PutRecord(out, "\\VarFileInfo\\Translation", table);
    }
    for (const auto& [tableName, fields] : version.strings)
        for (const auto& [name, text] : fields) {
            std::vector<std::uint8_t> value(text.begin(), text.end());
            value.push_back(0);
            PutRecord(out, "\\StringFileInfo\\" + tableName + "\\" + name, value);
        }
    if (out.empty()) PutRecord(out, "", {}); // a resource with nothing in it
    return out;
}

std::uint32_t ScriptedPlatform::FileVersionInfoSize(const std::string& path) {
    const Version* v = VersionOf(path);
    if (!v || !FileExists(path)) return 0;
    return static_cast<std::uint32_t>(Serialise(*v).size());
}

bool ScriptedPlatform::FileVersionInfo(const std::string& path, std::vector<std::uint8_t>& buffer) {
    const Version* v = VersionOf(path);
    if (!v || !FileExists(path)) return false;
    const auto bytes = Serialise(*v);
    if (buffer.size() < bytes.size()) return false;
    std::copy(bytes.begin(), bytes.end(), buffer.begin());
    return true;
}

bool ScriptedPlatform::QueryVersionValue(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                                         const std::uint8_t*& data, std::uint32_t& length) {
    std::size_t pos = 0;
    auto u32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        std::memcpy(&v, buffer.data() + at, 4);
        return v;
    };
    while (pos + 4 <= buffer.size()) {
        const std::uint32_t nameLength = u32(pos);
        const std::string name(buffer.begin() + static_cast<long>(pos + 4),
                               buffer.begin() + static_cast<long>(pos + 4 + nameLength));
        pos += 4 + nameLength;
        const std::uint32_t valueLength = u32(pos);
        pos += 4;
        if (!name.empty() && EqualNoCase(name, subBlock)) {
            data = buffer.data() + pos;
            length = valueLength;
            return true;
        }
        pos += valueLength;
    }
    return false;
}

bool ScriptedPlatform::QueryVersionText(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                                        std::string& text) {
    const std::uint8_t* data = nullptr;
    std::uint32_t length = 0;
    if (!QueryVersionValue(buffer, subBlock, data, length)) return false;
    const auto* begin = reinterpret_cast<const char*>(data);
    text.assign(begin, std::find(begin, begin + length, '\0'));
    return true;
}

// ---------------------------------------------------------------- text

std::string ScriptedPlatform::FromAnsi(std::string_view bytes) { return Utf8FromCp1252(bytes); }

std::optional<std::string> ScriptedPlatform::ToAnsi(std::string_view utf8) { return Cp1252FromUtf8(utf8); }

std::string ScriptedPlatform::SystemMessage(std::uint32_t code) {
    switch (code) {
    case kErrorFileNotFound: return "The system cannot find the file specified";
    case kErrorPathNotFound: return "The system cannot find the path specified";
    case kErrorAccessDenied: return "Access is denied";
    default: return {};
    }
}

std::string ScriptedPlatform::SystemFolder() { return "C:\\Windows\\system32"; }

std::string ScriptedPlatform::WindowsFolder() { return "C:\\Windows"; }

void ScriptedPlatform::ShellOpen(const ShellCall& call) {
    log.push_back("shell " + call.verb + "|" + call.file + "|" + call.parameters + "|" + call.directory + "|" +
                  std::to_string(call.showCommand) + "|" + std::to_string(call.owner));
    shellCalls.push_back(call);
}

void ScriptedPlatform::ShellOpenAsUser(const ShellCall& call) {
    log.push_back("user-shell " + call.verb + "|" + call.file + "|" + call.parameters + "|" + call.directory + "|" +
                  std::to_string(call.showCommand));
    shellCalls.push_back(call);
}

} // namespace vrk
