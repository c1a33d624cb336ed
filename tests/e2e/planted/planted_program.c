/* A program planted in the installation root under the name of a system
   program (sc.exe, net.exe, mmc.exe, taskmgr.exe, explorer.exe). It only
   records that it ran: its command line is appended to "<its file>.ran"
   beside it. A windows program, so that no console shows when it runs. */
#include <windows.h>

#include "Record.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    (void)previous;
    (void)commandLine;
    (void)show;
    RecordRun(instance, GetCommandLineW());
    return 0;
}
