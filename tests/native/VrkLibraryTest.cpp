// Process, service and directory utilities on the scripted platform.
#include <gtest/gtest.h>

#include <filesystem>

#include "KeptConnection.h"
#include "Resample.h"
#include "VRKLibrary.h"
#include "ScriptedPlatform.h"

namespace vrk {
namespace {

TEST(ProcessNames, MatchFileNamePartOrWholeNameFoldingOnlyAsciiLetters) {
    struct Case {
        const char* reported;
        const char* wanted;
        bool matches;
    } cases[] = {
        {"FileZillaServerInterface.exe", "FileZillaServerInterface.exe", true},
        {"filezillaserverinterface.exe", "FileZillaServerInterface.exe", true},
        {"C:\\VORLAN\\servers\\FileZilla\\FileZillaServerInterface.exe", "FileZillaServerInterface.exe", true},
        {"D:FileZillaServerInterface.exe", "FileZillaServerInterface.exe", true},
        {"FileZillaServerInterface.exe.old", "FileZillaServerInterface.exe", false},
        {"FileZillaServerInterface", "FileZillaServerInterface.exe", false},
        {"XFileZillaServerInterface.exe", "FileZillaServerInterface.exe", false},
        // A path as argument matches only that same full path.
        {"C:\\a\\tool.exe", "C:\\A\\TOOL.EXE", true},
        {"tool.exe", "C:\\a\\tool.exe", false},
        {"C:\\b\\tool.exe", "C:\\a\\tool.exe", false},
        // Windows-1252 e-acute and E-acute are different bytes and stay so.
        {"caf\xe9.exe", "CAF\xc9.EXE", false},
        {"caf\xe9.exe", "CAF\xe9.EXE", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProcessNameMatches(c.reported, c.wanted), c.matches) << c.reported << " vs " << c.wanted;
}

TEST(ProcessExists, FindsAnyMatchingEntryAndNothingWithoutSnapshot) {
    ScriptedPlatform os;
    os.processes = {{"explorer.exe", 4}, {"C:\\x\\filezillaserverinterface.EXE", 8}};
    EXPECT_TRUE(ProcessExists(os, "FileZillaServerInterface.exe"));
    EXPECT_FALSE(ProcessExists(os, "httpd.exe"));
    os.snapshotAvailable = false;
    EXPECT_FALSE(ProcessExists(os, "explorer.exe"));
}

TEST(KillTask, EndsEveryMatchAndReportsTheLastAttempt) {
    ScriptedPlatform os;
    os.processes = {{"a.exe", 1}, {"tool.exe", 10}, {"b.exe", 2}, {"C:\\t\\TOOL.exe", 11}, {"tool.exe", 12}};
    os.unkillable = {12};
    EXPECT_EQ(KillTask(os, "tool.exe"), 0) << "the third match failed, so the result is 0";
    EXPECT_EQ(os.log, (std::vector<std::string>{"terminate 10", "terminate 11", "terminate 12"}));
    EXPECT_EQ(os.processes.size(), 3u);

    os.log.clear();
    os.processes = {{"tool.exe", 20}, {"tool.exe", 21}, {"tool.exe", 22}};
    os.unkillable = {20};
    EXPECT_NE(KillTask(os, "tool.exe"), 0) << "only the last attempt counts";
    EXPECT_EQ(os.log.size(), 3u);

    os.processes.clear();
    EXPECT_EQ(KillTask(os, "tool.exe"), 0);
    os.snapshotAvailable = false;
    EXPECT_EQ(KillTask(os, "tool.exe"), 0);
}

TEST(ExecAndWait, ReturnsTheExitCodeOnceTheChildHasEnded) {
    ScriptedPlatform os;
    os.ScriptCommand("fails.exe", {.exitCode = 1});
    os.ScriptCommand("odd.exe", {.exitCode = kStillActive, .waitRounds = 2});
    EXPECT_EQ(ExecAndWait(os, "fails.exe", kSwHide), 1u);
    EXPECT_EQ(ExecAndWait(os, "odd.exe", kSwHide), kStillActive) << "a child exiting with 259 still ends the wait";
    EXPECT_EQ(ExecAndWait(os, "other.exe -x", kSwShowNormal), 0u);
    EXPECT_EQ(os.log, (std::vector<std::string>{"exec 0 fails.exe", "exec 0 odd.exe", "exec 1 other.exe -x"}));
}

TEST(ExecAndWait, ReturnsAtOnceWithNonzeroWhenTheProgramCannotStart) {
    ScriptedPlatform os;
    os.ScriptCommand("missing.exe", {.starts = false});
    int handled = 0;
    os.Post([&] { ++handled; });
    EXPECT_EQ(ExecAndWait(os, "missing.exe", kSwHide), kExecNotStarted);
    EXPECT_NE(kExecNotStarted, 0u);
    EXPECT_EQ(handled, 0) << "nothing runs nested when there is nothing to wait for";
}

TEST(ExecAndWait, HandlesEveryMessageBeforeEachLookAtTheChild) {
    ScriptedPlatform os;
    std::vector<int> ticks;
    bool childEndedSeen = false;
    os.ScriptCommand("slow.exe", {.exitCode = 7, .waitRounds = 3, .duringWait = [&](int round) {
                                      ticks.push_back(round);
                                      EXPECT_FALSE(childEndedSeen);
                                  }});
    int earlyClick = 0;
    os.Post([&] { ++earlyClick; });
    EXPECT_EQ(ExecAndWait(os, "slow.exe", kSwHide), 7u);
    childEndedSeen = true;
    EXPECT_EQ(earlyClick, 1);
    EXPECT_EQ(ticks, (std::vector<int>{1, 2, 3})) << "the message of the last round is handled before the wait ends";
}

TEST(ExecAndWait, NestedWaitsFromAHandlerRunToTheirEnd) {
    ScriptedPlatform os;
    std::uint32_t inner = 99;
    os.ScriptCommand("outer.exe", {.exitCode = 3, .waitRounds = 1, .duringWait = [&](int) {
                                       inner = ExecAndWait(os, "inner.exe", kSwHide);
                                   }});
    os.ScriptCommand("inner.exe", {.exitCode = 4, .waitRounds = 2});
    EXPECT_EQ(ExecAndWait(os, "outer.exe", kSwHide), 3u);
    EXPECT_EQ(inner, 4u);
    EXPECT_EQ(os.Commands(), (std::vector<std::string>{"outer.exe", "inner.exe"}));
}

TEST(Services, StateOrZeroAndEveryHandleClosed) {
    ScriptedPlatform os;
    os.services = {{"Apache2.2", 4}, {"MySQL", 1}, {"broken", 4}};
    os.failingQueries = {"broken"};
    EXPECT_EQ(ServiceGetStatus(os, "", "Apache2.2"), 4u);
    EXPECT_EQ(ServiceGetStatus(os, "", "apache2.2"), 4u) << "service names have no case";
    EXPECT_EQ(ServiceGetStatus(os, "", "MySQL"), 1u);
    EXPECT_EQ(ServiceGetStatus(os, "", "MongoDB"), 0u) << "not installed";
    EXPECT_EQ(ServiceGetStatus(os, "", "broken"), 0u) << "query failed";
    EXPECT_EQ(os.openServiceHandles, 0);
    os.serviceManagerAvailable = false;
    EXPECT_EQ(ServiceGetStatus(os, "", "Apache2.2"), 0u);
    EXPECT_FALSE(ServiceRunning(os, "", "Apache2.2"));
}

// The kept connection to the service manager: a connection that goes bad
// while a caller holds it is replaced, and every handle ever opened is closed
// exactly once, the bad one by its caller's release.
TEST(Services, AKeptConnectionThatGoesBadIsRenewedAndEachHandleClosedOnce) {
    Handle next = 10;
    std::vector<Handle> closed;
    {
        KeptConnection connection([&] { return ++next; }, [&](Handle h) { closed.push_back(h); });
        const Handle first = connection.Get();
        EXPECT_EQ(connection.Get(), first) << "kept, not made again";
        connection.Release(first);
        EXPECT_TRUE(closed.empty());
        const Handle renewed = connection.Renew(first);
        EXPECT_NE(renewed, first);
        EXPECT_EQ(connection.Renew(first), renewed) << "a second caller with the same bad handle reuses the new one";
        connection.Release(first);
        connection.Release(renewed);
        EXPECT_EQ(closed, std::vector<Handle>{first});
        EXPECT_EQ(connection.Get(), renewed);
    }
    EXPECT_EQ(closed, (std::vector<Handle>{11, 12}));
}

TEST(Services, RunningOnlyForStateFour) {
    ScriptedPlatform os;
    for (std::uint32_t state = 0; state <= 7; ++state) {
        os.services["svc"] = state;
        EXPECT_EQ(ServiceRunning(os, "", "svc"), state == 4) << "state " << state;
    }
}

class EmptyDirectoryTest : public ::testing::Test {
protected:
    ScriptedPlatform os;
    const std::string root = "C:\\VORLAN\\";
    const std::string below = "\\tmp\\php\\";
    const std::string dir = "C:\\VORLAN\\tmp\\php\\";
    bool exists(const std::string& p) { return std::filesystem::exists(os.HostPath(p)); }
    // Outside the tree: what no purge may touch.
    void Precious() {
        os.WriteFile("C:\\precious\\data.txt", "keep me");
        os.WriteFile("C:\\precious\\sub\\inner.txt", "keep me");
    }
    void ExpectPreciousKept() {
        EXPECT_EQ(os.FileContent("C:\\precious\\data.txt"), "keep me");
        EXPECT_EQ(os.FileContent("C:\\precious\\sub\\inner.txt"), "keep me");
    }
    void Link(const std::string& link, const std::string& target) {
        std::filesystem::create_directories(os.HostPath(link).parent_path());
        std::filesystem::create_symlink(os.HostPath(target), os.HostPath(link));
    }
};

TEST_F(EmptyDirectoryTest, DeletesPlainEntriesAndKeepsHiddenSystemAndTheRoot) {
    os.WriteFile(dir + "sess_1", "x");
    os.WriteFile(dir + "hidden.tmp", "x");
    os.SetAttributes(dir + "hidden.tmp", kAttrHidden | kAttrArchive);
    os.WriteFile(dir + "system.tmp", "x");
    os.SetAttributes(dir + "system.tmp", kAttrSystem);
    os.WriteFile(dir + "S\\inner.txt", "x");
    os.WriteFile(dir + "S\\T\\deep.txt", "x");
    os.WriteFile(dir + "hiddendir\\kept.txt", "x");
    os.SetAttributes(dir + "hiddendir", kAttrDirectory | kAttrHidden);

    EmptyDirectory(os, root, below);

    EXPECT_FALSE(exists(dir + "sess_1"));
    EXPECT_FALSE(exists(dir + "S")) << "a plain directory is emptied and removed";
    EXPECT_TRUE(exists(dir + "hidden.tmp"));
    EXPECT_TRUE(exists(dir + "system.tmp"));
    EXPECT_TRUE(exists(dir + "hiddendir\\kept.txt")) << "a hidden directory is not entered";
    EXPECT_TRUE(exists(dir)) << "the folder itself stays";
    EXPECT_EQ(os.openFolders, 0);
}

TEST_F(EmptyDirectoryTest, LeavesADirectoryWithFurtherAttributeBitsWithItsContents) {
    os.WriteFile(dir + "archived\\keep.txt", "x");
    os.SetAttributes(dir + "archived", kAttrDirectory | kAttrArchive);
    os.WriteFile(dir + "readonly.txt", "x");
    os.SetAttributes(dir + "readonly.txt", kAttrReadOnly);
    EmptyDirectory(os, root, below);
    EXPECT_TRUE(exists(dir + "archived\\keep.txt"));
    EXPECT_TRUE(exists(dir + "readonly.txt")) << "a file that cannot be deleted is passed over";
}

// Links inside the folder stay, with what they lead to; the ordinary files
// beside them still go.
TEST_F(EmptyDirectoryTest, NeverFollowsALinkOutOfTheFolder) {
    Precious();
    os.WriteFile(dir + "sess_1", "x");
    os.WriteFile(dir + "sub\\sess_2", "x");
    Link(dir + "link", "C:\\precious");
    Link(dir + "sub\\inner", "C:\\precious\\sub");
    Link(dir + "file", "C:\\precious\\data.txt");
    EmptyDirectory(os, root, below);
    ExpectPreciousKept();
    EXPECT_TRUE(std::filesystem::is_symlink(os.HostPath(dir + "link")));
    EXPECT_TRUE(std::filesystem::is_symlink(os.HostPath(dir + "file")));
    EXPECT_FALSE(exists(dir + "sess_1"));
    EXPECT_FALSE(exists(dir + "sub\\sess_2"));
    EXPECT_TRUE(std::filesystem::is_symlink(os.HostPath(dir + "sub\\inner"))) << "and its folder stays";
}

// tmp\php, or tmp above it, a link or junction: nothing is deleted at all,
// neither where it leads nor anywhere else.
TEST_F(EmptyDirectoryTest, AFolderOnTheWayThatIsALinkMeansNothingIsDeleted) {
    Precious();
    Link("C:\\VORLAN\\tmp\\php", "C:\\precious");
    EmptyDirectory(os, root, below);
    ExpectPreciousKept();

    std::filesystem::remove_all(os.HostPath("C:\\VORLAN\\tmp"));
    os.WriteFile("C:\\outside\\php\\sess_1", "keep me");
    Link("C:\\VORLAN\\tmp", "C:\\outside");
    EmptyDirectory(os, root, below);
    EXPECT_EQ(os.FileContent("C:\\outside\\php\\sess_1"), "keep me");

    // A junction, as the system lists it.
    std::filesystem::remove(os.HostPath("C:\\VORLAN\\tmp"));
    os.WriteFile(dir + "sess_1", "x");
    os.SetAttributes(dir, kAttrDirectory | kAttrReparsePoint);
    EmptyDirectory(os, root, below);
    EXPECT_TRUE(exists(dir + "sess_1"));
    EXPECT_EQ(os.openFolders, 0);
}

// Another user swaps a folder, or a file, for a link between the listing and
// the moment the purge comes to it: the purge does not follow.
TEST_F(EmptyDirectoryTest, AnEntrySwappedForALinkAfterTheListingIsNotFollowed) {
    Precious();
    os.WriteFile(dir + "sess_1", "x");
    os.WriteFile(dir + "sess_2", "x");
    os.WriteFile(dir + "sub\\upload", "x");
    os.afterListing = [&](const std::string& folder) {
        if (folder != "C:\\VORLAN\\tmp\\php") return;
        std::filesystem::rename(os.HostPath(dir + "sub"), os.HostPath("C:\\VORLAN\\tmp\\moved"));
        Link(dir + "sub", "C:\\precious\\sub");
        std::filesystem::remove(os.HostPath(dir + "sess_2"));
        Link(dir + "sess_2", "C:\\precious\\data.txt");
    };
    EmptyDirectory(os, root, below);
    ExpectPreciousKept();
    EXPECT_FALSE(exists(dir + "sess_1")) << "what was not swapped still goes";
    EXPECT_TRUE(std::filesystem::is_symlink(os.HostPath(dir + "sub")));
    EXPECT_TRUE(std::filesystem::is_symlink(os.HostPath(dir + "sess_2")));
}

TEST_F(EmptyDirectoryTest, AMissingFolderIsNothingToDo) {
    EmptyDirectory(os, "C:\\nowhere\\", below);
    EmptyDirectory(os, root, "\\missing\\");
    EXPECT_TRUE(os.log.empty());
    EXPECT_EQ(os.openFolders, 0);
}

TEST(Resample, GrowsSmoothlyShrinksByAveragingAndKeepsTheSizeAsItIs) {
    const std::uint32_t black = 0xFF000000, white = 0xFFFFFFFF;
    // The same size: the very pixels.
    const std::vector<std::uint32_t> two{black, white};
    EXPECT_EQ(Resample(two, 2, 1, 2, 1), two);
    // Twice as wide: a ramp from black to white, no step of nearest pixels,
    // and each half mirrors the other.
    const auto grown = Resample(two, 2, 1, 4, 1);
    ASSERT_EQ(grown.size(), 4u);
    EXPECT_EQ(grown[0], black);
    EXPECT_EQ(grown[3], white);
    EXPECT_EQ(grown[1] & 0xFF, 0x40u);
    EXPECT_EQ(grown[2] & 0xFF, 0xBFu);
    // A checkerboard halved: every pixel the mean grey, fully opaque.
    const std::vector<std::uint32_t> checker{black, white, white, black};
    for (std::uint32_t p : Resample(checker, 2, 2, 1, 1)) EXPECT_EQ(p, 0xFF808080u);
    // Premultiplied: what is see-through adds no colour, so an opaque red
    // beside nothing fades in opacity, not into black.
    const auto faded = Resample({0xFFFF0000, 0x00000000}, 2, 1, 4, 1);
    for (std::uint32_t p : faded) EXPECT_EQ((p >> 16) & 0xFF, p >> 24) << std::hex << p;
    EXPECT_EQ(Resample(two, 2, 1, 0, 1), std::vector<std::uint32_t>{});
}

TEST(GetFileVersion, FourDottedNumbersFromTheFixedBlock) {
    ScriptedPlatform os;
    os.WriteFile("C:\\a.exe", "MZ");
    os.WriteFile("C:\\b.exe", "MZ");
    os.WriteFile("C:\\none.exe", "MZ");
    os.versions["C:\\a.exe"].fixed = {{1, 3, 22, 0}};
    os.versions["C:\\a.exe"].translations = {{0x0409, 0x04E4}};
    os.versions["C:\\a.exe"].strings["040904E4"]["FileVersion"] = "9.9.9.9";
    os.versions["C:\\b.exe"].fixed = {{5, 10, 0, 65535}};
    os.versions["C:\\none.exe"].translations = {{0x0409, 0x04E4}}; // a resource without a fixed block
    EXPECT_EQ(GetFileVersion(os, "C:\\a.exe"), "1.3.22.0") << "the string table does not count";
    EXPECT_EQ(GetFileVersion(os, "C:\\b.exe"), "5.10.0.65535");
    EXPECT_EQ(GetFileVersion(os, "C:\\none.exe"), "");
    EXPECT_EQ(GetFileVersion(os, "C:\\missing.exe"), "");
}

} // namespace
} // namespace vrk
