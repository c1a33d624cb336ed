// What a start makes of the record of the running panel.
#include <gtest/gtest.h>

#include "OnePanel.h"

namespace vrk {
namespace {

constexpr std::uint32_t kSession = 1;
constexpr std::uint64_t kCreated = 133'000'000'000'000'000;

PanelRecord Panel(PanelState state, std::uint32_t session = kSession, std::uint64_t window = 0x1234) {
    return {.layout = kPanelRecordLayout,
            .processId = 4242,
            .creationTime = kCreated,
            .sessionId = session,
            .state = static_cast<std::uint32_t>(state),
            .window = window};
}
constexpr RecordedProcess kRunsStill{.opened = true, .ended = false, .creationTime = kCreated};

TEST(OnePanel, OnlyALiveRecordedPanelKeepsAStartFromBecomingThePanel) {
    const PanelRecord running = Panel(PanelState::kRunning);
    PanelRecord otherLayout = running, unknownState = running;
    otherLayout.layout = 0x32504B56;
    unknownState.state = 7;
    struct Case {
        const char* what;
        PanelRecord record;
        RecordedProcess process;
    } cases[] = {
        {"no record yet (memory no panel has written)", PanelRecord{}, kRunsStill},
        {"a record cleared by a panel that ended", PanelRecord{.layout = kPanelRecordLayout}, kRunsStill},
        {"the process is gone", running, RecordedProcess{}},
        {"the process has ended, held open by someone",
         running,
         {.opened = true, .ended = true, .creationTime = kCreated}},
        {"the process id now names another process", running, {.opened = true, .creationTime = kCreated + 1}},
        {"another layout of the record", otherLayout, kRunsStill},
        {"a state no panel writes", unknownState, kRunsStill},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(PanelAlive(c.record, c.process)) << c.what;
        EXPECT_EQ(DecideStart(c.record, c.process, kSession), StartDecision::kBecomePanel) << c.what;
    }
    EXPECT_TRUE(PanelAlive(running, kRunsStill));
}

TEST(OnePanel, ALivePanelIsBroughtForwardWaitedForOrReportedBySessionAndState) {
    struct Case {
        const char* what;
        PanelRecord record;
        StartDecision decision;
    } cases[] = {
        {"running in this session", Panel(PanelState::kRunning), StartDecision::kBringForward},
        {"starting, its window not made yet", Panel(PanelState::kStarting, kSession, 0), StartDecision::kWaitForWindow},
        {"running in another session", Panel(PanelState::kRunning, kSession + 1), StartDecision::kOtherSession},
        {"starting in another session", Panel(PanelState::kStarting, kSession + 1, 0), StartDecision::kOtherSession},
        {"closing in this session", Panel(PanelState::kClosing), StartDecision::kWaitForClose},
        {"closing in another session", Panel(PanelState::kClosing, kSession + 1), StartDecision::kWaitForClose},
    };
    for (const auto& c : cases) EXPECT_EQ(DecideStart(c.record, kRunsStill, kSession), c.decision) << c.what;
}

} // namespace
} // namespace vrk
