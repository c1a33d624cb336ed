#include "NoFollow.h"

#include <winternl.h>

#include <algorithm>
#include <vector>

#include "SystemLibrary.h"

namespace vrk::nofollow {
namespace {

// Not in the headers of every tool chain.
constexpr ULONG kOpenReparsePoint = 0x00200000;    // FILE_OPEN_REPARSE_POINT
constexpr ULONG kSynchronousNonAlert = 0x00000020; // FILE_SYNCHRONOUS_IO_NONALERT
constexpr ULONG kDirectoryFile = 0x00000001;       // FILE_DIRECTORY_FILE
constexpr ULONG kNonDirectoryFile = 0x00000040;    // FILE_NON_DIRECTORY_FILE
constexpr ULONG kOpenOnly = 0x00000001;            // FILE_OPEN
constexpr ULONG kCreateOnly = 0x00000002;          // FILE_CREATE
constexpr ULONG kCaseInsensitive = 0x00000040;     // OBJ_CASE_INSENSITIVE
constexpr int kRenameInformation = 10;             // FileRenameInformation

// The native calls that take a folder handle and a name; ntdll is in every
// process.
using NtCreateFileFunction = LONG(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, PIO_STATUS_BLOCK, PLARGE_INTEGER,
                                          ULONG, ULONG, ULONG, ULONG, PVOID, ULONG);
using NtSetInformationFileFunction = LONG(NTAPI*)(HANDLE, PIO_STATUS_BLOCK, PVOID, ULONG, int);
HMODULE Ntdll() { return GetModuleHandleW(L"ntdll.dll"); }
NtCreateFileFunction NtCreate() {
    static const auto function = SystemFunction<NtCreateFileFunction>(Ntdll(), "NtCreateFile");
    return function;
}
NtSetInformationFileFunction NtSetInformation() {
    static const auto function = SystemFunction<NtSetInformationFileFunction>(Ntdll(), "NtSetInformationFile");
    return function;
}

// One name, never a path: ".." or a separator would lead out of the folder.
bool IsOneName(const std::wstring& name) {
    return !name.empty() && name != L"." && name != L".." && name.find_first_of(L"\\/") == std::wstring::npos &&
           name.size() < 32767;
}

Opened NativeOpen(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share, ULONG disposition,
                  ULONG options, DWORD attributes) {
    Opened opened;
    const NtCreateFileFunction create = NtCreate();
    if (!create || !folder || !IsOneName(name)) {
        opened.status = kAccessDenied;
        return opened;
    }
    UNICODE_STRING unicode;
    unicode.Buffer = const_cast<PWSTR>(name.c_str());
    unicode.Length = unicode.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES objectAttributes{};
    objectAttributes.Length = sizeof objectAttributes;
    objectAttributes.RootDirectory = folder;
    objectAttributes.ObjectName = &unicode;
    objectAttributes.Attributes = kCaseInsensitive;
    IO_STATUS_BLOCK io{};
    HANDLE handle = nullptr;
    opened.status = create(&handle, access | SYNCHRONIZE, &objectAttributes, &io, nullptr, attributes, share,
                           disposition, options | kOpenReparsePoint | kSynchronousNonAlert, nullptr, 0);
    if (opened.status >= 0) opened.handle.reset(handle);
    return opened;
}

bool EndsWithSeparator(const std::wstring& path) {
    return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

} // namespace

Opened OpenIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share, Kind kind) {
    return NativeOpen(folder, name, access, share, kOpenOnly,
                      kind == Kind::kFolder ? kDirectoryFile : kNonDirectoryFile, 0);
}

Opened CreateIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access, DWORD attributes) {
    return NativeOpen(folder, name, access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, kCreateOnly,
                      kNonDirectoryFile, attributes);
}

LONG RenameInto(HANDLE file, HANDLE folder, const std::wstring& name) {
    const NtSetInformationFileFunction setInformation = NtSetInformation();
    if (!setInformation || !IsOneName(name)) return kAccessDenied;
    // FILE_RENAME_INFORMATION, laid out as FILE_RENAME_INFO.
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = folder;
    rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    std::copy(name.begin(), name.end(), rename->FileName);
    IO_STATUS_BLOCK io{};
    return setInformation(file, &io, rename, static_cast<ULONG>(buffer.size()), kRenameInformation);
}

std::wstring FinalPath(HANDLE handle) {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        buffer.resize(length + 1);
    }
}

bool IsOwnEntry(HANDLE handle, const std::wstring& folderPath, const std::wstring& name, bool directory,
                DWORD* attributes) {
    // (Not GetFileInformationByHandle: it asks for the volume's serial
    // number too, which under Wine is a call to another process, and a slow
    // one on a busy machine.)
    FILE_ATTRIBUTE_TAG_INFO tag{};
    FILE_STANDARD_INFO standard{};
    if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) ||
        !GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard))
        return false;
    if (attributes) *attributes = tag.FileAttributes;
    if (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return false;
    if (((tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != directory || (standard.Directory != 0) != directory)
        return false;
    if (folderPath.empty()) return false;
    const std::wstring expected = EndsWithSeparator(folderPath) ? folderPath + name : folderPath + L"\\" + name;
    return SameText(FinalPath(handle), expected);
}

bool IsSoleLink(HANDLE handle) {
    FILE_STANDARD_INFO standard{};
    return GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard) &&
           standard.NumberOfLinks == 1;
}

std::wstring FolderOf(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/");
    if (cut == std::wstring::npos) return L".";
    // "C:\x" lies in "C:\", not in "C:".
    if (cut == 2 && path[1] == L':') return path.substr(0, 3);
    return path.substr(0, cut);
}

std::wstring NameOf(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

} // namespace vrk::nofollow
