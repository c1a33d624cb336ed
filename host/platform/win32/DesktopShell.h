#pragma once
// The desktop's shell: the explorer that shows the signed-in user's desktop
// runs with that user's own rights, and what it is asked to open it starts
// with them, whatever rights the program asking has.
#include "Platform.h"

namespace vrk {

// Hands the call to the desktop's shell (through the shell view of the
// desktop window). False when no desktop shell answers: then nothing was
// started. COM is loaded from the system folder when first needed, and the
// calling thread (the window's) joins a single-threaded apartment.
bool OpenThroughDesktop(const ShellCall& call);

} // namespace vrk
