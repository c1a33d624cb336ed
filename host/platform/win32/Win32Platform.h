#pragma once
// The real platform: the Win32 calls themselves.
#include "KeptConnection.h"
#include "Platform.h"

namespace vrk {

class Win32Platform : public Platform {
public:
    Win32Platform();
    Win32Platform(const Win32Platform&) = delete;
    Win32Platform& operator=(const Win32Platform&) = delete;
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
    // Win32Folders.cpp
    Handle OpenFolder(Handle parent, const std::string& name) override;
    std::vector<DirectoryEntry> ListFolder(Handle folder) override;
    bool DeleteFileIn(Handle folder, const std::string& name) override;
    bool RemoveFolder(Handle folder) override;
    void CloseFolder(Handle folder) override;
    bool FileExists(const std::string& path) override;
    ReadResult ReadContent(const std::string& path, std::string& content, std::size_t limit = kNoLimit,
                           std::uint32_t* systemError = nullptr) override;
    // Win32Writes.cpp
    WriteResult ReplaceContent(const std::string& path, const std::string& content,
                               Durability durability = Durability::kDisk) override;
    ReadResult ReadOwnContent(const std::string& path, std::string& content, std::size_t limit = kNoLimit) override;
    std::uint32_t FileVersionInfoSize(const std::string& path) override;
    bool FileVersionInfo(const std::string& path, std::vector<std::uint8_t>& buffer) override;
    bool QueryVersionValue(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                           const std::uint8_t*& data, std::uint32_t& length) override;
    bool QueryVersionText(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                          std::string& text) override;
    std::string FromAnsi(std::string_view bytes) override;
    std::optional<std::string> ToAnsi(std::string_view utf8) override;
    std::string SystemMessage(std::uint32_t code) override;
    std::string SystemFolder() override;
    std::string WindowsFolder() override;
    void ShellOpen(const ShellCall& call) override;
    void ShellOpenAsUser(const ShellCall& call) override;

private:
    // A quit request taken from the queue inside a wait, to be handed on.
    bool quitPending_ = false;
    int quitCode_ = 0;
    // The connection to this machine's service manager, kept between queries.
    KeptConnection localManager_;
};

} // namespace vrk
