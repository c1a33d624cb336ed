#pragma once
// The one loop that reads a file: a path's content, and a file the writes
// opened by handle before they rewrite it.
#include <windows.h>

#include <cstddef>
#include <string>

#include "Platform.h"

namespace vrk {

// Reads an open file from where it stands to its end, held to `limit` bytes
// (kTooLarge past it); kFailed leaves the system's error for GetLastError.
Platform::ReadResult ReadAll(HANDLE file, std::string& content, std::size_t limit);

} // namespace vrk
