#pragma once
// The scale of the displays: the dots per inch of a monitor, and a window's
// frame around a client area at a given scale.
#include <windows.h>

namespace vrk::ui::win32 {

// The dots per inch of the monitor (the main one: nullptr): what the system
// scales everything on it by, 96 at 100 %.
int MonitorDpi(HMONITOR monitor = nullptr);

// The outer rectangle of a window of these styles around `client`, with its
// caption and borders at `dpi`.
RECT FrameAround(const RECT& client, DWORD style, DWORD exStyle, int dpi);

} // namespace vrk::ui::win32
