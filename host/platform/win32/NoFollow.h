#pragma once
// Files and folders opened without following links, and the check that what
// was opened is what was meant. The panel runs with administrator rights in a
// tree other users may change: it acts only on handles it has checked.
//
// Windows, asked not to follow (FILE_FLAG_OPEN_REPARSE_POINT), opens a link or
// junction itself, and the handle shows a reparse point. Wine follows a link
// whatever it is asked (and lists a Linux link to a file as a plain file): its
// handle stands for the target, and the target's path, read from the handle,
// is not the path meant. Both are checked, so a link is refused on either.
#include <windows.h>

#include <string>

#include "Owned.h"

namespace vrk::nofollow {

// The status codes of the system's native calls the callers look at.
inline constexpr LONG kSuccess = 0;
inline constexpr LONG kAccessDenied = static_cast<LONG>(0xC0000022);
inline constexpr LONG kNameNotFound = static_cast<LONG>(0xC0000034);
inline constexpr LONG kNameCollision = static_cast<LONG>(0xC0000035);
inline constexpr LONG kPathNotFound = static_cast<LONG>(0xC000003A);
inline constexpr LONG kSharingViolation = static_cast<LONG>(0xC0000043);
inline constexpr LONG kLockConflict = static_cast<LONG>(0xC0000054);
inline constexpr LONG kLockNotGranted = static_cast<LONG>(0xC0000055);

// Whether a status says another program holds the file.
inline bool HeldByAnother(LONG status) {
    return status == kSharingViolation || status == kLockConflict || status == kLockNotGranted;
}

struct Opened {
    OwnedHandle handle;
    LONG status = kSuccess;
};

enum class Kind { kFolder, kFile };

// The entry `name` of the open folder `folder`, opened relative to that
// handle without following a link, as a folder or as a file. Nothing is
// checked yet: see IsOwnEntry.
Opened OpenIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share, Kind kind);

// A new file `name` in the open folder, with the attributes given; never an
// entry that stands there already (a link included). Nobody else may open it
// while the handle is open.
Opened CreateIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access, DWORD attributes);

// Renames the file of `file` to `name` in the open folder `folder`, over the
// entry that bears that name: a link there is replaced, never what it leads
// to. (The native call: Windows' own wrapper takes a path, and Wine's reads a
// bare name as one in the working folder.)
LONG RenameInto(HANDLE file, HANDLE folder, const std::wstring& name);

// The full path the handle stands for, as the system resolves it ("" when it
// cannot say).
std::wstring FinalPath(HANDLE handle);

// Whether the handle stands for an entry of its own, named `name` in the
// folder whose final path is `folderPath`: no reparse point, a folder exactly
// when `directory`, and found where it was looked for. `attributes`, when
// given, receives the entry's attributes.
bool IsOwnEntry(HANDLE handle, const std::wstring& folderPath, const std::wstring& name, bool directory,
                DWORD* attributes = nullptr);

// Whether the file is its own only hard link. Another link's file is
// another's to write; deleting one of its names leaves it whole.
bool IsSoleLink(HANDLE handle);

// The folder part of a path (without the separator) and its last name.
std::wstring FolderOf(const std::wstring& path);
std::wstring NameOf(const std::wstring& path);

} // namespace vrk::nofollow
