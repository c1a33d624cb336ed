#pragma once
// Host utilities: processes, services, directories and file versions. Each
// call is stateless and reports only through its result; none raises.
#include <cstdint>
#include <string>

#include "Platform.h"

namespace vrk {

// Exit code ExecAndWait gives when the command's program cannot be started.
inline constexpr std::uint32_t kExecNotStarted = 0xFFFFFFFFu;

// True when the process entry's reported name matches: its file-name part or
// the whole reported name equals the argument, with only a-z folded to A-Z.
bool ProcessNameMatches(const std::string& reportedExeFile, const std::string& exeName);

bool ProcessExists(Platform& os, const std::string& exeName);

// Ends every process of that name. Nonzero when the last attempt succeeded.
int KillTask(Platform& os, const std::string& exeName);

// Runs a command line and waits for it to end, handling this thread's
// messages meanwhile (so timers and clicks run nested inside the call).
// Returns the child's exit code, or kExecNotStarted at once when it cannot
// be started. The child works in `directory`, or in the panel's own working
// folder when it is empty.
std::uint32_t ExecAndWait(Platform& os, const std::string& commandLine, std::uint16_t showWindow,
                          const std::string& directory = {});

// The service manager's state of a service (1 stopped ... 4 running), or 0
// when the manager, the service or its state cannot be had.
std::uint32_t ServiceGetStatus(Platform& os, const std::string& machine, const std::string& serviceName);
bool ServiceRunning(Platform& os, const std::string& machine, const std::string& serviceName);

// Deletes what the folder `root` + `below` holds (the folder itself stays),
// `below` being a relative path such as "\tmp\php\". The root is taken as
// it stands; each folder of `below` is opened inside the one above without
// following a link, and when one of them is a link, junction or any other
// reparse point nothing is deleted. Inside, hidden, system and volume entries
// are left alone, and so is every directory entry that is not a plain
// directory (links, junctions, directories with further attribute bits);
// each subfolder is entered through a handle opened inside its parent
// without following a link, so a folder swapped for a link after the listing
// is not entered, and each file is deleted through a handle opened the same
// way. Folders deeper than kMaxEmptyDepth are left alone.
void EmptyDirectory(Platform& os, const std::string& root, const std::string& below);
inline constexpr int kMaxEmptyDepth = 64;

// Removes what writes cut short by a crash left in the folder `root` +
// `below`: the ordinary files named as temporary writes (WriteNames.h),
// reached as EmptyDirectory reaches its folder.
void RemoveInterruptedWrites(Platform& os, const std::string& root, const std::string& below);

// "major.minor.release.build" of the file's fixed version block, or "".
std::string GetFileVersion(Platform& os, const std::string& fileName);

} // namespace vrk
