/* The record a planted program or library leaves: a line appended to
   "<its own file>.ran" beside it. */
#pragma once
#include <windows.h>

static void RecordRun(HINSTANCE self, const char* line) {
    char marker[MAX_PATH + 8] = "";
    const DWORD n = GetModuleFileNameA(self, marker, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    lstrcatA(marker, ".ran");
    HANDLE file = CreateFileA(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, line, lstrlenA(line), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
}
