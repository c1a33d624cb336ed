// Folders walked by handles, without following links: the purge and the
// clean-up of interrupted writes.
#include "Win32Platform.h"

#include <memory>
#include <vector>

#include "NoFollow.h"
#include "Wide.h"

namespace vrk {
namespace {

// An open folder: its handle, and its path as the system resolved it when it
// was opened, against which every entry opened inside it is checked.
struct OpenedFolder {
    OwnedHandle handle;
    std::wstring path;
};

OpenedFolder* AsFolder(Handle folder) { return reinterpret_cast<OpenedFolder*>(folder); }

// What a walk does to a folder it stands in: lists it, enters it, and removes
// it once emptied. Others may read and write in it meanwhile, but not rename
// or remove it.
constexpr ACCESS_MASK kFolderAccess = FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | DELETE;
constexpr ULONG kFolderShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

} // namespace

Handle Win32Platform::OpenFolder(Handle parent, const std::string& name) {
    auto folder = std::make_unique<OpenedFolder>();
    if (!parent) {
        // The installation root, as the administrator placed it.
        folder->handle.reset(CreateFileW(Wide(name).c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        FILE_STANDARD_INFO information{};
        if (!folder->handle ||
            !GetFileInformationByHandleEx(folder->handle.get(), FileStandardInfo, &information, sizeof information) ||
            !information.Directory)
            return 0;
        folder->path = nofollow::FinalPath(folder->handle.get());
    } else {
        const OpenedFolder* above = AsFolder(parent);
        const std::wstring entry = Wide(name);
        folder->handle =
            nofollow::OpenIn(above->handle.get(), entry, kFolderAccess, kFolderShare, nofollow::Kind::kFolder).handle;
        if (!folder->handle || !nofollow::IsOwnEntry(folder->handle.get(), above->path, entry, true)) return 0;
        folder->path = nofollow::FinalPath(folder->handle.get());
    }
    if (folder->path.empty()) return 0;
    return reinterpret_cast<Handle>(folder.release());
}

std::vector<DirectoryEntry> Win32Platform::ListFolder(Handle handle) {
    std::vector<DirectoryEntry> entries;
    const HANDLE folder = AsFolder(handle)->handle.get();
    // Read through the handle, from the start; each call fills the buffer
    // with as many entries as fit.
    std::vector<LONGLONG> buffer(64 * 1024 / sizeof(LONGLONG));
    FILE_INFO_BY_HANDLE_CLASS request = FileFullDirectoryRestartInfo;
    while (GetFileInformationByHandleEx(folder, request, buffer.data(),
                                        static_cast<DWORD>(buffer.size() * sizeof(LONGLONG)))) {
        request = FileFullDirectoryInfo;
        const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
        for (;;) {
            const auto* entry = reinterpret_cast<const FILE_FULL_DIR_INFO*>(bytes);
            const std::string name = Utf8(std::wstring_view(entry->FileName, entry->FileNameLength / sizeof(wchar_t)));
            if (name != "." && name != "..") entries.push_back({name, entry->FileAttributes});
            if (!entry->NextEntryOffset) break;
            bytes += entry->NextEntryOffset;
        }
    }
    return entries;
}

bool Win32Platform::DeleteFileIn(Handle handle, const std::string& name) {
    const OpenedFolder* folder = AsFolder(handle);
    const std::wstring entry = Wide(name);
    const OwnedHandle file =
        nofollow::OpenIn(folder->handle.get(), entry, DELETE | FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nofollow::Kind::kFile)
            .handle;
    if (!file || !nofollow::IsOwnEntry(file.get(), folder->path, entry, false)) return false;
    FILE_DISPOSITION_INFO dispose{TRUE};
    return SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof dispose) != 0;
}

bool Win32Platform::RemoveFolder(Handle handle) {
    // Only a folder opened inside another has the right to be removed (the
    // root is opened without it); the system refuses one that is not empty.
    FILE_DISPOSITION_INFO dispose{TRUE};
    return SetFileInformationByHandle(AsFolder(handle)->handle.get(), FileDispositionInfo, &dispose, sizeof dispose) !=
           0;
}

void Win32Platform::CloseFolder(Handle handle) { delete AsFolder(handle); }

} // namespace vrk
