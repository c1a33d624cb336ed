// The servers of the main window: start and stop, status poll, stop-all,
// autorun and the purge of temporary files.
#include "ui/vrk.h"

namespace vrk {

// The server control is built next; until then the start-up and the close
// call these and nothing happens.
void Tvrk_form::StopAllServers() {}
void Tvrk_form::AutorunServers() {}
void Tvrk_form::PurgeTempFiles() {}
void Tvrk_form::Timer1Timer() {}

} // namespace vrk
