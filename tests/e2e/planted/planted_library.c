/* A library planted beside vrk.exe under the name of a system library
   (MSIMG32.dll, VERSION.dll). It only records that it was loaded: the
   program that loaded it is appended to "<its file>.ran" beside it. */
#include <windows.h>

#include "Record.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t program[MAX_PATH] = L"";
        GetModuleFileNameW(NULL, program, MAX_PATH);
        RecordRun(instance, program);
    }
    return TRUE;
}
