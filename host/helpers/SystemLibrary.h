#pragma once
// Functions of the system's libraries, found at run time. A library that is
// not a known DLL is loaded from the system folder alone: named bare, Windows
// would look for it beside vrk.exe first, in a folder every user may write to.
#include <windows.h>

namespace vrk {

inline HMODULE SystemLibrary(const wchar_t* library) {
    return LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// `name` in `library`, or nullptr where this Windows lacks either.
template <class Function> Function SystemFunction(HMODULE library, const char* name) {
    return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name))) : nullptr;
}

} // namespace vrk
