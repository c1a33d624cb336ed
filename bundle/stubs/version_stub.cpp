// Stand-in for a program of the bundle that the control panel never runs but
// whose version resource its information page reads (php.exe, perl.exe,
// mysql.exe). Run by hand it names itself, as the real one answers -v.
#include <cstdio>

#ifndef VRK_STUB_BANNER
#error "VRK_STUB_BANNER names the program this stand-in replaces"
#endif

int main() {
    std::printf("%s (stand-in of the VORLAN demo bundle)\n", VRK_STUB_BANNER);
    return 0;
}
