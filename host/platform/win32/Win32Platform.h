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
    std::optional<std::vector<ProcessEntry>> processSnapshot() override;
    bool terminateProcess(std::uint32_t processId, std::uint32_t exitCode) override;
    Handle startChild(const std::string& commandLine, std::uint16_t showWindow) override;
    bool childEnded(Handle child, std::uint32_t& exitCode) override;
    void waitForChildOrMessage(Handle child) override;
    void closeChild(Handle child) override;
    void dispatchMessages() override;
    void sleep(std::uint32_t milliseconds) override;
    Handle openServiceManager(const std::string& machine) override;
    Handle openService(Handle manager, const std::string& serviceName) override;
    bool queryServiceState(Handle service, std::uint32_t& state) override;
    void closeServiceHandle(Handle handle) override;
    std::vector<DirectoryEntry> listDirectory(const std::string& pattern) override;
    bool deleteFile(const std::string& path) override;
    bool removeDirectory(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    ReadResult readFile(const std::string& path, std::string& content, std::size_t limit = kNoLimit) override;
    WriteResult replaceFile(const std::string& path, const std::string& content) override;
    std::uint32_t fileVersionInfoSize(const std::string& path) override;
    bool fileVersionInfo(const std::string& path, std::vector<std::uint8_t>& buffer) override;
    bool queryVersionValue(const std::vector<std::uint8_t>& buffer, const std::string& subBlock,
                           const std::uint8_t*& data, std::uint32_t& length) override;
    std::string systemFolder() override;
    std::string windowsFolder() override;
    void shellExecute(const ShellCall& call) override;

private:
    // A quit request taken from the queue inside a wait, to be handed on.
    bool quitPending_ = false;
    int quitCode_ = 0;
    // The connection to this machine's service manager, kept between queries.
    KeptConnection localManager_;
};

} // namespace vrk
