// ExecAndWait with real child processes and a real message queue.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "helpers/TestSupport.h"
#include "VRKLibrary.h"
#include "Win32Platform.h"

namespace vrk {
namespace {

using namespace vrk::testing;

// "<full path of testchild.exe>" <ms> <exit code>
std::string ChildCommand(unsigned ms, std::uint32_t exitCode) {
    return "\"" + HelperPath(VRK_TESTCHILD_EXE) + "\" " + std::to_string(ms) + " " + std::to_string(exitCode);
}

TEST(ExecAndWait, ReturnsTheChildsExitCode) {
    Win32Platform os;
    // 259 is the code an exit-code poll reads while a child runs: the wait
    // must end all the same.
    for (std::uint32_t code : {0u, 1u, 259u, 4000000000u}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(ExecAndWait(os, ChildCommand(50, code), kSwHide), code);
    }
    EXPECT_EQ(ExecAndWait(os, ChildCommand(0, 3), kSwShowNormal), 3u);
}

TEST(ExecAndWait, FindsTheProgramBesideTheApplicationWithExeAdded) {
    Win32Platform os;
    const std::string bare = std::string(VRK_TESTCHILD_EXE).substr(0, std::string(VRK_TESTCHILD_EXE).size() - 4);
    EXPECT_EQ(ExecAndWait(os, bare + " 10 6", kSwHide), 6u);
}

TEST(ExecAndWait, GivesNotStartedForAProgramThatDoesNotExist) {
    Win32Platform os;
    const std::string missing = UniqueName("vrk_no_such_program") + ".exe";
    EXPECT_EQ(ExecAndWait(os, missing + " 1 2", kSwHide), kExecNotStarted);
    EXPECT_EQ(ExecAndWait(os, "\"" + HelperPath(missing) + "\"", kSwHide), kExecNotStarted);
    EXPECT_NE(kExecNotStarted, 0u) << "callers take 0 as success";
}

// A hidden message-only window whose timer ticks are counted; on its first
// tick it can run a nested ExecAndWait, as the status poller does.
class TickWindow {
public:
    explicit TickWindow(UINT periodMs) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &TickWindow::Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VrkTestTickWindow";
        RegisterClassA(&windowClass); // a second registration fails harmlessly
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
        if (!window_) return;
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetTimer(window_, 1, periodMs, nullptr);
    }
    ~TickWindow() {
        if (!window_) return;
        KillTimer(window_, 1);
        DestroyWindow(window_);
    }
    TickWindow(const TickWindow&) = delete;
    TickWindow& operator=(const TickWindow&) = delete;

    bool ok() const { return window_ != nullptr; }
    int ticks = 0;
    std::string nestedCommand;    // run on the first tick when set
    bool quitOnFirstTick = false; // the program is told to end, as a close does
    std::uint32_t nestedResult = 0xDEADu;
    Win32Platform* os = nullptr;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<TickWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (message == WM_TIMER && self) {
            if (++self->ticks == 1 && self->quitOnFirstTick) PostQuitMessage(7);
            if (self->ticks == 1 && !self->nestedCommand.empty() && self->os)
                self->nestedResult = ExecAndWait(*self->os, self->nestedCommand, kSwHide);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
};

TEST(ExecAndWait, TimerTicksAreHandledWhileTheChildRuns) {
    Win32Platform os;
    TickWindow window(30);
    ASSERT_TRUE(window.ok());
    EXPECT_EQ(ExecAndWait(os, ChildCommand(1500, 0), kSwHide), 0u);
    // About fifty ticks fall into the child's run; a wait that blocks the
    // queue would let none through.
    EXPECT_GT(window.ticks, 5);
}

TEST(ExecAndWait, ANestedWaitFromATimerTickRunsToItsEnd) {
    Win32Platform os;
    TickWindow window(20);
    ASSERT_TRUE(window.ok());
    window.os = &os;
    window.nestedCommand = ChildCommand(200, 5);
    EXPECT_EQ(ExecAndWait(os, ChildCommand(1000, 3), kSwHide), 3u);
    EXPECT_EQ(window.nestedResult, 5u);
    EXPECT_GT(window.ticks, 1) << "ticks go on after the nested wait";
}

TEST(ExecAndWait, AQuitRequestDuringAWaitIsHandedOnOnceTheChildHasEnded) {
    Win32Platform os;
    TickWindow window(20);
    ASSERT_TRUE(window.ok());
    window.quitOnFirstTick = true;
    EXPECT_EQ(ExecAndWait(os, ChildCommand(1000, 4), kSwHide), 4u) << "the wait runs to the child's end";
    EXPECT_EQ(window.ticks, 1) << "no more messages once the program is ending";
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the request is back in the queue";
    EXPECT_EQ(msg.wParam, 7u);
}

} // namespace
} // namespace vrk
