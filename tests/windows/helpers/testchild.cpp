// A child for the process tests: testchild.exe <milliseconds> <exit code>
// sleeps, then exits with the code.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    const DWORD ms = argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : 0;
    const UINT code = argc > 2 ? static_cast<UINT>(std::strtoul(argv[2], nullptr, 10)) : 0;
    Sleep(ms);
    ExitProcess(code);
}
