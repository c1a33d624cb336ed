#include "RunState.h"

#include "Version.h"

namespace vrk {

RunState::RunState(Platform& os, std::string path, ErrorSources* sources) : file_(os, std::move(path), sources) {}

void RunState::WriteIdentity() {
    file_.WriteString("gui", "version", kPanelVersion);
    file_.WriteString("credit", "creator", "Malverin");
}

void RunState::Record(ServerKey key, bool running) { file_.WriteString("servers", key.name, running ? "1" : "0"); }

} // namespace vrk
