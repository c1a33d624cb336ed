#pragma once
// One panel per machine. The services belong to the machine, so only one
// panel may control them: the panel that runs is recorded machine-wide (a
// named block of shared memory, platform/win32/PanelRegistration), and a
// start that finds a live panel there brings it forward instead of becoming
// a second one. Here are the record, as it lies in that memory, and what a
// start makes of it.
#include <cstdint>
#include <type_traits>

namespace vrk {

enum class PanelState : std::uint32_t { kNone = 0, kStarting = 1, kRunning = 2, kClosing = 3 };

// Fixed-size fields only: every build of the panel, and the test tools that
// plant a record, read and write the same bytes.
struct PanelRecord {
    std::uint32_t layout = 0; // kPanelRecordLayout once a panel has written it
    std::uint32_t processId = 0;
    // Of the process, in the system's 100 ns ticks: a process id used again
    // by another process comes with another creation time.
    std::uint64_t creationTime = 0;
    std::uint32_t sessionId = 0;
    std::uint32_t state = 0;  // a PanelState
    std::uint64_t window = 0; // the main window's handle; 0 until it is shown
};
static_assert(std::is_standard_layout_v<PanelRecord> && sizeof(PanelRecord) == 32);

// Memory that no panel has written yet is all zero: no record.
inline constexpr std::uint32_t kPanelRecordLayout = 0x31504B56; // "VKP1"

// What the system says now of the process a record names.
struct RecordedProcess {
    bool opened = false; // it could be opened (it exists, and we may look at it)
    bool ended = false;
    std::uint64_t creationTime = 0;
};

// The recorded panel still runs: its process can be opened, has not ended
// and is the process that wrote the record. A panel that crashed leaves the
// record of a dead process, which is no panel.
bool PanelAlive(const PanelRecord& record, const RecordedProcess& process);

enum class StartDecision {
    kBecomePanel,   // no live panel: this start registers itself and runs
    kWaitForClose,  // the panel is closing: wait for its process to end, then look again
    kWaitForWindow, // the panel of this session has no window yet: look again shortly
    kBringForward,  // the panel of this session: bring its window forward, then end
    kOtherSession,  // the panel of another user's session: say so, then end
};

// What a start in session `session` does, given the record and its process.
StartDecision DecideStart(const PanelRecord& record, const RecordedProcess& process, std::uint32_t session);

} // namespace vrk
