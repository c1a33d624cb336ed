#include "RunState.h"

#include "Version.h"

namespace vrk {

// The state is rewritten whenever a server starts or stops, on the window's
// thread, and is worth nothing after a power cut: its writes go as far as
// the system's cache, where every reader finds them, and do not wait for
// the disk.
RunState::RunState(Platform& os, std::string path, ErrorSources* sources)
    : file_(os, std::move(path), sources, Platform::Durability::kCache) {}

void RunState::WriteIdentity() {
    file_.WriteString("gui", "version", kPanelVersion);
    file_.WriteString("credit", "creator", "Malverin");
}

void RunState::Record(ServerKey key, bool running) { file_.WriteString("servers", key.name, running ? "1" : "0"); }

} // namespace vrk
