// What one status poll costs, against its floor: the service-manager
// queries a poll cannot do without. The window is the real one without its
// drawing (headless), on the real system, in a demo tree.
//   bench_poll_cost.exe <demo tree root> [polls]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "IniFile.h"
#include "Picture.h"
#include "VRKLibrary.h"
#include "Win32Platform.h"
#include "HeadlessBackend.h"
#include "vrk.h"
#include "BenchClock.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_poll_cost <demo tree root> [polls]\n");
        return 2;
    }
    const int polls = argc > 2 ? std::atoi(argv[2]) : 200;
    std::string root = argv[1];
    if (root.back() != '\\') root += '\\';

    vrk::Win32Platform os;
    vrk::ui::HeadlessBackend backend(os);
    vrk::ui::Application app(backend, os);
    vrk::Tvrk_form form(app, root + "vrk.exe");
    form.Create();
    if (!backend.errors.empty()) {
        std::fprintf(stderr, "start-up failed: %s\n", backend.errors.front().c_str());
        return 1;
    }
    form.Timer1Timer(); // warm: files cached by the system

    double t0 = Now();
    for (int i = 0; i < polls; ++i) form.Timer1Timer();
    const double poll = (Now() - t0) / polls;

    // The floor: what a poll cannot do without, done directly: the six
    // queries, the six key writes and the two icon loads.
    const char* services[] = {"FileZilla Server", "memcached Server", "MySQL",
                              "Apache2.2",        "postgresql-9.1",   "MongoDB"};
    const char* keys[] = {"ftp", "mcache", "mysql", "apache", "pgsql", "mongo"};
    vrk::IniFile run(os, root + "\\vrk\\tmp\\run.ini");
    const std::string skin = root + "\\vrk\\skins\\default";
    t0 = Now();
    for (int i = 0; i < polls; ++i) {
        for (int s = 0; s < 6; ++s)
            run.WriteString("servers", keys[s], vrk::ServiceRunning(os, "", services[s]) ? "1" : "0");
        vrk::LoadPicture(os, skin + "\\user_off.ico");
        vrk::LoadPicture(os, skin + "\\home_off.ico");
    }
    const double floor = (Now() - t0) / polls;

    std::printf("poll_cost: %d polls, none of the six services installed\n", polls);
    std::printf("  one status poll        %.2f ms\n", poll * 1000);
    std::printf("  floor                  %.2f ms (6 queries, 6 key writes, 2 icon loads)\n", floor * 1000);
    std::printf("  poll / floor           %.2f\n", poll / floor);
    std::printf("figure: poll_cost %.1f ms against a floor of %.1f ms = %.2fx (target <= 1.5x)\n", poll * 1000,
                floor * 1000, poll / floor);
    return 0;
}
