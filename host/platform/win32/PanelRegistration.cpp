#include "PanelRegistration.h"

#include "Wide.h"

namespace vrk {
namespace {

// In the global namespace: the services are the machine's, whichever
// session the panel runs in. (Making a named block there takes the right to
// create global objects, which administrators have, and the panel runs as
// one.)
constexpr const wchar_t* kBlockName = L"Global\\VrkPanel";
constexpr const wchar_t* kLockName = L"Global\\VrkPanelLock";

// A panel holds the lock for a few reads and writes of memory. A lock held
// longer belongs to no panel (another program took the name), and waiting
// for it would keep the panel from starting at all.
constexpr DWORD kLongestLockMs = 5000;
// How long a start waits for a closing panel to end, or for a starting
// panel's window: a close stops every server, a start may first stop them
// all; both take seconds.
constexpr ULONGLONG kLongestWaitMs = 30000;

std::uint64_t Ticks(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

HWND WindowOf(const PanelRecord& record) { return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(record.window)); }

// The user has just started this process, which gives it the right to set
// the foreground window; a process of its own choosing may be given it too.
// The panel gets it first, so that its own activation below is allowed
// whatever happens to ours. Nothing here waits for the panel, which may be
// busy inside a start or stop for a second or two.
void BringForward(const PanelRecord& panel) {
    AllowSetForegroundWindow(panel.processId);
    HWND window = WindowOf(panel);
    if (!IsWindow(window)) return;
    if (IsIconic(window))
        ShowWindowAsync(window, SW_RESTORE);
    else if (!IsWindowVisible(window))
        ShowWindowAsync(window, SW_SHOW);
    SetForegroundWindow(GetLastActivePopup(window));
    PostMessageW(window, ComeForwardMessage(), 0, 0);
}

} // namespace

// --- the block ------------------------------------------------------------------------

PanelRecordBlock::PanelRecordBlock()
    : mapping_(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(PanelRecord), kBlockName)),
      mutex_(CreateMutexW(nullptr, FALSE, kLockName)) {
    if (!mapping_) mapping_.reset(OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kBlockName));
    if (!mutex_) mutex_.reset(OpenMutexW(SYNCHRONIZE, FALSE, kLockName));
    if (mapping_)
        record_ = static_cast<PanelRecord*>(
            MapViewOfFile(mapping_.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(PanelRecord)));
}

PanelRecordBlock::~PanelRecordBlock() {
    if (record_) UnmapViewOfFile(record_);
}

PanelRecordBlock::Lock::Lock(PanelRecordBlock& block) : mutex_(block.mutex_.get()) {
    if (!mutex_ || block.lockHeldElsewhere_) return;
    const DWORD got = WaitForSingleObject(mutex_, kLongestLockMs);
    held_ = got == WAIT_OBJECT_0 || got == WAIT_ABANDONED;
    // Not again: the panel takes the lock on its window's thread too, when
    // the window first shows and when the close begins.
    if (got == WAIT_TIMEOUT) block.lockHeldElsewhere_ = true;
}

PanelRecordBlock::Lock::~Lock() {
    if (held_) ReleaseMutex(mutex_);
}

PanelRecord ThisProcessRecord(PanelState state) {
    PanelRecord record;
    record.layout = kPanelRecordLayout;
    record.processId = GetCurrentProcessId();
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) record.creationTime = Ticks(created);
    DWORD session = 0;
    if (ProcessIdToSessionId(record.processId, &session)) record.sessionId = session;
    record.state = static_cast<std::uint32_t>(state);
    return record;
}

RecordedProcess InspectProcess(std::uint32_t processId, OwnedHandle& handle) {
    RecordedProcess seen;
    if (processId == 0) return seen;
    handle.reset(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId));
    if (!handle) return seen;
    seen.opened = true;
    seen.ended = WaitForSingleObject(handle.get(), 0) == WAIT_OBJECT_0;
    FILETIME created, exited, kernel, user;
    if (GetProcessTimes(handle.get(), &created, &exited, &kernel, &user)) seen.creationTime = Ticks(created);
    return seen;
}

// --- one start ------------------------------------------------------------------------

PanelRegistration::Outcome PanelRegistration::Claim() {
    if (!block_) return Outcome::kThisIsThePanel;
    const ULONGLONG deadline = GetTickCount64() + kLongestWaitMs;
    auto left = [deadline]() -> DWORD {
        const ULONGLONG now = GetTickCount64();
        return now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    };
    bool allowed = false;
    for (;;) {
        PanelRecord seen;
        StartDecision decision;
        OwnedHandle process;
        {
            const PanelRecordBlock::Lock lock(block_);
            seen = block_.record();
            decision = DecideStart(seen, InspectProcess(seen.processId, process), own_.sessionId);
            // A close that outlasts the wait is left to end by itself; the
            // user asked for a panel.
            if (decision == StartDecision::kBecomePanel || (decision == StartDecision::kWaitForClose && !left())) {
                block_.record() = own_;
                registered_ = true;
                return Outcome::kThisIsThePanel;
            }
        }
        switch (decision) {
        case StartDecision::kWaitForClose: WaitForSingleObject(process.get(), left()); break;
        case StartDecision::kWaitForWindow:
            // The panel shows its window when its start-up is done, and takes
            // the foreground then: with our right, as the user's start is ours.
            if (!allowed) allowed = AllowSetForegroundWindow(seen.processId);
            if (!left()) return Outcome::kPanelRunsHere;
            Sleep(100);
            break;
        case StartDecision::kBringForward: BringForward(seen); return Outcome::kPanelRunsHere;
        case StartDecision::kOtherSession: return Outcome::kPanelRunsElsewhere;
        case StartDecision::kBecomePanel: break; // registered above
        }
    }
}

void PanelRegistration::Update(PanelState state, HWND window) {
    if (!registered_) return;
    const PanelRecordBlock::Lock lock(block_);
    PanelRecord& record = block_.record();
    // A start that waited out a long close may have taken the record over.
    if (record.processId != own_.processId || record.creationTime != own_.creationTime) return;
    record.state = static_cast<std::uint32_t>(state);
    if (window) record.window = reinterpret_cast<std::uintptr_t>(window);
}

void PanelRegistration::Shown(HWND window) { Update(PanelState::kRunning, window); }

void PanelRegistration::Closing() { Update(PanelState::kClosing, nullptr); }

PanelRegistration::~PanelRegistration() {
    if (!registered_) return;
    const PanelRecordBlock::Lock lock(block_);
    PanelRecord& record = block_.record();
    if (record.processId == own_.processId && record.creationTime == own_.creationTime) record = PanelRecord{};
}

// --- the panel's side ---------------------------------------------------------------------

UINT ComeForwardMessage() {
    static const UINT message = RegisterWindowMessageW(L"VrkComeForward");
    return message;
}

void ComeForward(HWND window) {
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    else if (!IsWindowVisible(window))
        ShowWindow(window, SW_SHOW);
    // The start that sent the message has allowed us the foreground.
    SetForegroundWindow(GetLastActivePopup(window));
}

void ShowStartMessage(const std::string& title, const std::string& text) {
    MessageBoxW(nullptr, Wide(text).c_str(), Wide(title).c_str(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

} // namespace vrk
