// Rewriting a file in a folder others may change: the atomic replace, the
// write in place while another program holds the file, and the read that
// comes before a rewrite. None of them follows a link.
#include "Win32Platform.h"

#include <aclapi.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>
#include <vector>

#include "NoFollow.h"
#include "ReadAll.h"
#include "Wide.h"
#include "WriteNames.h"

namespace vrk {
namespace {

// How long a write waits for a file another program holds open: the rename
// is retried until the write has taken kRenameRetryMs, then the content goes
// into the file in place, which is retried until kInPlaceRetryMs while the
// file is held without write sharing. Both stay far inside the status poll's
// second, and a write under readers within a tenth of one.
constexpr ULONGLONG kRenameRetryMs = 10;
constexpr ULONGLONG kInPlaceRetryMs = 50;

void Backoff(DWORD& milliseconds) {
    Sleep(milliseconds);
    if (milliseconds < 8) milliseconds *= 2;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    DWORD written = 0;
    return bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                             written == bytes.size());
}

// A security descriptor the system allocated, freed once.
struct LocalMemory {
    PSECURITY_DESCRIPTOR memory = nullptr;
    LocalMemory() = default;
    LocalMemory(LocalMemory&& other) noexcept : memory(std::exchange(other.memory, nullptr)) {}
    LocalMemory& operator=(LocalMemory&&) = delete;
    ~LocalMemory() {
        if (memory) LocalFree(memory);
    }
};

// The folder a file is written in, opened by its path as it stands (the
// panel's own folders of the installation): the file is looked at, created,
// renamed and written in it through this handle, and checked against the
// folder's path as the system resolved it.
struct WriteFolder {
    OwnedHandle handle;
    std::wstring path;
    std::wstring name; // the file's
};

WriteFolder OpenWriteFolder(const std::wstring& target) {
    WriteFolder folder;
    folder.handle.reset(CreateFileW(nofollow::FolderOf(target).c_str(), FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (folder.handle) folder.path = nofollow::FinalPath(folder.handle.get());
    folder.name = nofollow::NameOf(target);
    return folder;
}

// What a rewrite keeps of the file it replaces.
struct Kept {
    bool exists = false; // an entry stands where the file goes
    bool own = false;    // and it is a file of its own
    DWORD attributes = 0;
    LocalMemory security;
    PACL dacl = nullptr;
    bool protectedDacl = false;
};

// The attributes a new file takes from the one it replaces (read-only never
// reaches here: such a file is not rewritten).
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Looks at what stands where the file goes, through a handle opened without
// following a link. A link, or a file with other hard links, is an entry of
// another file's: the rename replaces it by a new file of default attributes
// and permissions.
Kept LookAt(const WriteFolder& folder) {
    Kept kept;
    const nofollow::Opened file =
        nofollow::OpenIn(folder.handle.get(), folder.name, READ_CONTROL | FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nofollow::Kind::kFile);
    kept.exists = file.status != nofollow::kNameNotFound && file.status != nofollow::kPathNotFound;
    if (!file.handle) {
        // A folder of that name, say: no file can take its place.
        if (kept.exists) kept.attributes = FILE_ATTRIBUTE_DIRECTORY;
        return kept;
    }
    if (!nofollow::IsOwnEntry(file.handle.get(), folder.path, folder.name, false, &kept.attributes) ||
        !nofollow::IsSoleLink(file.handle.get()))
        return kept;
    kept.own = true;
    if (GetSecurityInfo(file.handle.get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &kept.dacl,
                        nullptr, &kept.security.memory) == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR_CONTROL control = 0;
        DWORD revision = 0;
        if (GetSecurityDescriptorControl(kept.security.memory, &control, &revision))
            kept.protectedDacl = (control & SE_DACL_PROTECTED) != 0;
    } else {
        kept.dacl = nullptr;
    }
    return kept;
}

// A new temporary file of our own in the folder, never one that stood there:
// a name taken already (a link planted under it included) is passed over.
nofollow::Opened NewTemporary(const WriteFolder& folder, DWORD attributes) {
    static std::atomic<std::uint32_t> counter{0};
    const std::uint32_t process = GetCurrentProcessId() * 0x9E3779B1u;
    nofollow::Opened temp;
    for (int attempt = 0; attempt < 16; ++attempt) {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        const std::uint32_t unique = process ^ (counter++ << 12) ^ static_cast<std::uint32_t>(now.QuadPart);
        temp = nofollow::CreateIn(folder.handle.get(), Wide(TemporaryWriteName(unique)),
                                  GENERIC_WRITE | DELETE | WRITE_DAC | FILE_WRITE_ATTRIBUTES,
                                  attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
        if (temp.status != nofollow::kNameCollision) break;
    }
    return temp;
}

// Gives the new file the permissions of the one it replaces. Most files have
// only those their folder hands down, which the new file has from its birth
// in the same folder: then, and whenever the two already agree, nothing is
// set.
bool KeepPermissions(HANDLE temp, const Kept& kept) {
    if (!kept.dacl) return true;
    if (!kept.protectedDacl) {
        bool inheritedOnly = true;
        for (DWORD i = 0; i < kept.dacl->AceCount && inheritedOnly; ++i) {
            void* ace = nullptr;
            inheritedOnly = GetAce(kept.dacl, i, &ace) && (static_cast<ACE_HEADER*>(ace)->AceFlags & INHERITED_ACE);
        }
        if (inheritedOnly) return true;
        LocalMemory born;
        PACL bornDacl = nullptr;
        if (GetSecurityInfo(temp, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &bornDacl, nullptr,
                            &born.memory) == ERROR_SUCCESS &&
            bornDacl && bornDacl->AclSize == kept.dacl->AclSize &&
            std::memcmp(bornDacl, kept.dacl, kept.dacl->AclSize) == 0)
            return true;
    }
    const SECURITY_INFORMATION which =
        DACL_SECURITY_INFORMATION |
        (kept.protectedDacl ? PROTECTED_DACL_SECURITY_INFORMATION : UNPROTECTED_DACL_SECURITY_INFORMATION);
    return SetSecurityInfo(temp, SE_FILE_OBJECT, which, nullptr, nullptr, kept.dacl, nullptr) == ERROR_SUCCESS;
}

void Discard(HANDLE file) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof dispose);
}

// Writes the content into the file itself, as the profile functions do,
// while another program keeps it open. Only the file that stands there is
// opened, without following a link, and only a file of its own is written.
// A reader that reads meanwhile may see the file between the write and the
// cut of its end: the content goes in with one write, and when it is shorter
// than the old file the rest is filled with empty lines, so such a reader
// finds every key whole and only empty lines after them, never a torn line
// or a key missing.
bool WriteInPlace(const WriteFolder& folder, const std::string& content, Platform::Durability durability,
                  ULONGLONG start) {
    nofollow::Opened file;
    for (DWORD pause = 1;; Backoff(pause)) {
        file = nofollow::OpenIn(folder.handle.get(), folder.name, GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nofollow::Kind::kFile);
        if (file.handle) break;
        // Only a file another program holds is waited for; "access denied"
        // and the rest are failures.
        if (!nofollow::HeldByAnother(file.status) || GetTickCount64() - start >= kInPlaceRetryMs) return false;
    }
    if (!nofollow::IsOwnEntry(file.handle.get(), folder.path, folder.name, false) ||
        !nofollow::IsSoleLink(file.handle.get()))
        return false;
    LARGE_INTEGER oldSize{};
    GetFileSizeEx(file.handle.get(), &oldSize);
    std::string bytes = content;
    if (static_cast<ULONGLONG>(oldSize.QuadPart) > bytes.size()) {
        std::size_t fill = static_cast<std::size_t>(oldSize.QuadPart) - bytes.size();
        bytes.reserve(bytes.size() + fill);
        for (; fill >= 2; fill -= 2) bytes += "\r\n";
        if (fill) bytes += ' ';
    }
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(content.size());
    const HANDLE handle = file.handle.get();
    return WriteAll(handle, bytes) && SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && SetEndOfFile(handle) &&
           (durability == Platform::Durability::kCache || FlushFileBuffers(handle));
}

} // namespace

Platform::ReadResult Win32Platform::ReadOwnContent(const std::string& path, std::string& content, std::size_t limit) {
    const WriteFolder folder = OpenWriteFolder(Wide(path));
    if (!folder.handle) {
        const DWORD error = GetLastError();
        return (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) ? ReadResult::kMissing
                                                                                : ReadResult::kFailed;
    }
    const nofollow::Opened file =
        nofollow::OpenIn(folder.handle.get(), folder.name, GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nofollow::Kind::kFile);
    if (!file.handle)
        return (file.status == nofollow::kNameNotFound || file.status == nofollow::kPathNotFound) ? ReadResult::kMissing
                                                                                                  : ReadResult::kFailed;
    if (!nofollow::IsOwnEntry(file.handle.get(), folder.path, folder.name, false) ||
        !nofollow::IsSoleLink(file.handle.get()))
        return ReadResult::kMissing;
    return ReadAll(file.handle.get(), content, limit);
}

Platform::WriteResult Win32Platform::ReplaceContent(const std::string& path, const std::string& content,
                                                    Durability durability) {
    const ULONGLONG start = GetTickCount64();
    const WriteFolder folder = OpenWriteFolder(Wide(path));
    if (!folder.handle || folder.path.empty()) return WriteResult::kFailed;
    const Kept kept = LookAt(folder);
    if (kept.exists && (kept.attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return WriteResult::kFailed;
    auto inPlace = [&] {
        return WriteInPlace(folder, content, durability, start) ? WriteResult::kWrittenInPlace : WriteResult::kFailed;
    };

    const nofollow::Opened temp = NewTemporary(folder, kept.own ? kept.attributes & kKeptAttributes : 0);
    if (!temp.handle) {
        // A folder that takes no new file may still let the file itself be
        // written, as the profile functions write it.
        return temp.status == nofollow::kAccessDenied && kept.own ? inPlace() : WriteResult::kFailed;
    }
    // The file's permissions go with it; when they cannot, the file is
    // written in place, where it keeps them.
    if (!KeepPermissions(temp.handle.get(), kept)) {
        Discard(temp.handle.get());
        return inPlace();
    }
    if (!WriteAll(temp.handle.get(), content) ||
        (durability == Durability::kDisk && !FlushFileBuffers(temp.handle.get()))) {
        Discard(temp.handle.get());
        return WriteResult::kFailed;
    }
    for (DWORD pause = 1;; Backoff(pause)) {
        const LONG status = nofollow::RenameInto(temp.handle.get(), folder.handle.get(), folder.name);
        if (status >= 0) return WriteResult::kReplaced;
        // A rename over a file another program holds without delete sharing
        // is refused with "access denied" (or a sharing violation): it is
        // retried briefly, and then the file itself is written, whose own
        // checks tell a held file from one that may not be written.
        const bool maybeHeld = status == nofollow::kAccessDenied || nofollow::HeldByAnother(status);
        if (!maybeHeld || GetTickCount64() - start >= kRenameRetryMs) {
            Discard(temp.handle.get());
            return maybeHeld ? inPlace() : WriteResult::kFailed;
        }
    }
}

} // namespace vrk
