// ProcessExists and KillTask on real processes. Each test runs copies of
// testchild.exe under a name of its own, so that nothing else running (other
// tests included) can match or be killed.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cctype>
#include <string>
#include <vector>

#include "helpers/TestSupport.h"
#include "VRKLibrary.h"
#include "Win32Platform.h"

namespace vrk {
namespace {

using namespace vrk::testing;

constexpr DWORD kChildExitCode = 7; // what a child gives when it ends by itself

class ProcessTest : public ::testing::Test {
protected:
    Win32Platform os;
    TempFolder folder{"proc"};
    std::string name = UniqueName("vrkkid") + ".exe";
    std::vector<HANDLE> children;

    // A copy of testchild.exe in the scratch folder under `fileName`.
    std::string Copy(const std::string& fileName) {
        const std::string path = folder / fileName;
        EXPECT_TRUE(CopyFileA(HelperPath(VRK_TESTCHILD_EXE).c_str(), path.c_str(), FALSE)) << path;
        return path;
    }

    // Starts a copy that sleeps for a minute, long past any test.
    HANDLE StartSleeper(const std::string& path) {
        HANDLE child = Start(path, "\"" + path + "\" 60000 " + std::to_string(kChildExitCode));
        EXPECT_NE(child, nullptr) << "cannot start " << path;
        if (child) children.push_back(child);
        return child;
    }

    static bool Ended(HANDLE child) { return WaitForSingleObject(child, 5000) == WAIT_OBJECT_0; }

    void TearDown() override {
        for (HANDLE child : children) {
            if (WaitForSingleObject(child, 0) != WAIT_OBJECT_0) TerminateProcess(child, 1);
            WaitForSingleObject(child, 5000);
            CloseHandle(child);
        }
    }
};

TEST_F(ProcessTest, KillTaskEndsEveryProcessOfTheName) {
    const std::string path = Copy(name);
    HANDLE a = StartSleeper(path), b = StartSleeper(path), c = StartSleeper(path);
    ASSERT_TRUE(a && b && c);
    ASSERT_TRUE(ProcessExists(os, name));

    EXPECT_NE(KillTask(os, name), 0);

    for (HANDLE child : {a, b, c}) {
        ASSERT_TRUE(Ended(child)) << "a process of the name is still running";
        DWORD code = 0;
        GetExitCodeProcess(child, &code);
        EXPECT_EQ(code, 0u) << "ended by KillTask with exit code 0, not by itself";
    }
    EXPECT_FALSE(ProcessExists(os, name));
    EXPECT_EQ(KillTask(os, name), 0) << "no process of the name is left";
}

TEST_F(ProcessTest, NamesMatchWholeFileNamesWithoutRegardToLetterCase) {
    // A process whose name merely begins with the wanted name runs beside it.
    HANDLE longer = StartSleeper(Copy(name + ".old"));
    ASSERT_NE(longer, nullptr);
    EXPECT_FALSE(ProcessExists(os, name)) << "only the longer name runs yet";

    HANDLE child = StartSleeper(Copy(name));
    ASSERT_NE(child, nullptr);
    std::string upper = name, lower = name;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(ProcessExists(os, name));
    EXPECT_TRUE(ProcessExists(os, upper));
    EXPECT_TRUE(ProcessExists(os, lower));
    EXPECT_FALSE(ProcessExists(os, name.substr(0, name.size() - 4))) << "without its extension";
    EXPECT_FALSE(ProcessExists(os, name.substr(1))) << "a name the process name merely ends with";

    EXPECT_NE(KillTask(os, upper), 0);
    EXPECT_TRUE(Ended(child));
    EXPECT_EQ(WaitForSingleObject(longer, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the process with the longer name must survive";
    EXPECT_TRUE(ProcessExists(os, name + ".old"));
}

// The parent of the first process of the name, waited for 10 s at most; 0
// when none came. (The snapshot tells whose child a process is.)
DWORD ParentOf(const std::string& exeName) {
    DWORD parent = 0;
    WaitUntil([&] {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
            if (ProcessNameMatches(Utf8(entry.szExeFile), exeName)) parent = entry.th32ParentProcessID;
        CloseHandle(snapshot);
        return parent != 0;
    });
    return parent;
}

std::string NameOfProcess(DWORD processId) {
    std::string name;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (entry.th32ProcessID == processId) name = Utf8(entry.szExeFile);
    CloseHandle(snapshot);
    return name;
}

// What is opened as the user is started by the desktop's shell, the
// explorer, with the user's rights; the panel's own shell call starts it
// itself, with the panel's.
TEST_F(ProcessTest, WhatOpensAsTheUserIsStartedByTheDesktopsShell) {
    const ShellCall call = ShellCall::Open(Copy(name), "5000 0", folder.path(), kSwHide);
    os.ShellOpenAsUser(call);
    const DWORD parent = ParentOf(name);
    ASSERT_NE(parent, 0u) << "nothing was started";
    EXPECT_NE(parent, GetCurrentProcessId());
    EXPECT_TRUE(ProcessNameMatches(NameOfProcess(parent), "explorer.exe")) << "started by " << NameOfProcess(parent);
    KillTask(os, name);

    os.ShellOpen(call);
    EXPECT_EQ(ParentOf(name), GetCurrentProcessId());
    KillTask(os, name);
}

TEST_F(ProcessTest, NothingToFindOrKillForANameNoProcessHas) {
    EXPECT_FALSE(ProcessExists(os, name));
    EXPECT_EQ(KillTask(os, name), 0);
}

} // namespace
} // namespace vrk
