/* The record a planted program or library leaves: a line appended to
   "<its own file>.ran" beside it, in UTF-8. Through the wide functions: the
   installation root may be named in any script. */
#pragma once
#include <windows.h>

static void RecordRun(HINSTANCE self, const wchar_t* line) {
    wchar_t marker[MAX_PATH + 8] = L"";
    const DWORD n = GetModuleFileNameW(self, marker, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    lstrcatW(marker, L".ran");
    HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    char text[4 * MAX_PATH] = "";
    const int length = WideCharToMultiByte(CP_UTF8, 0, line, -1, text, sizeof text, NULL, NULL);
    DWORD written = 0;
    if (length > 1) WriteFile(file, text, (DWORD)(length - 1), &written, NULL);
    WriteFile(file, "\r\n", 2, &written, NULL);
    CloseHandle(file);
}
