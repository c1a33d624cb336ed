#pragma once
// The record of the running panel (OnePanel.h) in a named block of shared
// memory that every session of the machine sees, guarded by a named mutex;
// and what a start of the panel does with it.
#include <windows.h>

#include <cstdint>
#include <string>

#include "OnePanel.h"
#include "Owned.h"

namespace vrk {

// The block and its lock. The block lives as long as any process holds it
// open, so a panel that crashed (and every handle with it) leaves nothing
// behind; a record of a dead process that someone else kept is simply
// replaced by the next start.
class PanelRecordBlock {
public:
    PanelRecordBlock();
    ~PanelRecordBlock();
    PanelRecordBlock(const PanelRecordBlock&) = delete;
    PanelRecordBlock& operator=(const PanelRecordBlock&) = delete;

    // False when the block could be neither made nor opened.
    explicit operator bool() const { return record_ != nullptr; }

    // Holds the lock for one short read-modify-write of the record. A lock
    // left by a process that ended while holding it is free; one held longer
    // than any panel ever holds it is not waited for, then or later.
    class Lock {
    public:
        explicit Lock(PanelRecordBlock& block);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        HANDLE mutex_;
        bool held_ = false;
    };
    // Only while a Lock is held.
    PanelRecord& record() { return *record_; }

private:
    OwnedHandle mapping_;
    OwnedHandle mutex_;
    bool lockHeldElsewhere_ = false;
    PanelRecord* record_ = nullptr;
};

// This process's own record: its id, creation time and session.
PanelRecord ThisProcessRecord(PanelState state);
// What the system says now of a process (and a handle to wait on it).
RecordedProcess InspectProcess(std::uint32_t processId, OwnedHandle& handle);

// One start of the panel, from its entry to its end.
class PanelRegistration {
public:
    // kPanelRunsHere: the panel of this session was brought forward (or,
    // when its window did not come within the wait, left to show itself);
    // kPanelRunsElsewhere: a panel of another session runs.
    enum class Outcome { kThisIsThePanel, kPanelRunsHere, kPanelRunsElsewhere };
    // Looks for a running panel and waits, about 30 s at most, for one that
    // is closing or whose window is not made yet. Registers this process,
    // starting, when no panel runs (or a close outlasts the wait). With no
    // block to be had the panel starts as it always did.
    Outcome Claim();
    // The panel's window is shown (the panel runs); its close has begun.
    void Shown(HWND window);
    void Closing();
    // Clears the record if it is still this process's own.
    ~PanelRegistration();

private:
    void Update(PanelState state, HWND window);

    PanelRecordBlock block_;
    PanelRecord own_ = ThisProcessRecord(PanelState::kStarting);
    bool registered_ = false;
};

// The message a second start posts to the panel's window, and what the
// panel does with it: its window restored when minimised or hidden, and
// brought to the front (or the dialog it has open, as the taskbar does).
UINT ComeForwardMessage();
void ComeForward(HWND window);

// One message box, before any window of the panel exists.
void ShowStartMessage(const std::string& title, const std::string& text);

} // namespace vrk
