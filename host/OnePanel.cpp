#include "OnePanel.h"

namespace vrk {

bool PanelAlive(const PanelRecord& record, const RecordedProcess& process) {
    if (record.layout != kPanelRecordLayout || record.processId == 0) return false;
    const auto state = static_cast<PanelState>(record.state);
    if (state != PanelState::kStarting && state != PanelState::kRunning && state != PanelState::kClosing) return false;
    return process.opened && !process.ended && process.creationTime == record.creationTime;
}

StartDecision DecideStart(const PanelRecord& record, const RecordedProcess& process, std::uint32_t session) {
    if (!PanelAlive(record, process)) return StartDecision::kBecomePanel;
    // A close stops every server and purges files for seconds: whoever
    // starts meanwhile wants a panel afterwards, wherever the closing one ran.
    if (static_cast<PanelState>(record.state) == PanelState::kClosing) return StartDecision::kWaitForClose;
    if (record.sessionId != session) return StartDecision::kOtherSession;
    if (record.window == 0) return StartDecision::kWaitForWindow;
    return StartDecision::kBringForward;
}

} // namespace vrk
