// A writer killed at random moments never leaves a torn INI file.
//
//   ini_kill_test.exe [runs]          the test: runs the writer again and
//                                     again, killing it at random moments
//   ini_kill_test.exe --write <file> <section> <count>
//                                     the writer: writes keys k0, k1, ... to
//                                     the file through IniFile, reporting each
//                                     one on stdout once its write returned
//
// After every kill the file must parse, and hold every key the writer had
// reported, with its value, and every key the file held before. At the end,
// the clean-up a start makes removes every temporary file the killed writers
// left, and nothing else.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "IniFile.h"
#include "VRKLibrary.h"
#include "Win32Platform.h"
#include "WriteNames.h"

namespace {

std::string Value(int i) {
    return "value-" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 7) * 9, 'x');
}

int Write(const std::string& file, const std::string& section, int count) {
    vrk::Win32Platform os;
    vrk::IniFile ini(os, file);
    for (int i = 0; i < count; ++i) {
        ini.WriteString(section, "k" + std::to_string(i), Value(i));
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
    return 0;
}

struct Child {
    PROCESS_INFORMATION info{};
    HANDLE output = nullptr;
};

Child StartWriter(const std::string& self, const std::string& file, const std::string& section) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string line = "\"" + self + "\" --write \"" + file + "\" " + section + " 400";
    Child child;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child.info)) {
        std::fprintf(stderr, "cannot start the writer\n");
        std::exit(2);
    }
    CloseHandle(writeEnd);
    child.output = readEnd;
    return child;
}

// The highest key the writer reported before it died; -1 for none.
int LastReported(HANDLE output) {
    std::string all;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(output, buffer, sizeof buffer, &got, nullptr) && got > 0) all.append(buffer, got);
    int last = -1;
    std::size_t start = 0;
    for (std::size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1)
        last = std::atoi(all.substr(start, end - start).c_str());
    return last;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::string(argv[1]) == "--write") return Write(argv[2], argv[3], std::atoi(argv[4]));
    const int runs = argc > 1 ? std::atoi(argv[1]) : 500;

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "vrk-kill-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string files[] = {folder + "\\run.ini", folder + "\\settings.ini"};
    const std::string sections[] = {"servers", "autorun"};

    std::mt19937 random(12345);
    vrk::Win32Platform os;
    int failures = 0, killedMidway = 0;
    for (int run = 0; run < runs && failures == 0; ++run) {
        const std::string& file = files[run % 2];
        const std::string& section = sections[run % 2];
        // Every run starts from a file with content of its own that must survive.
        DeleteFileA(file.c_str());
        vrk::IniFile setup(os, file);
        setup.WriteString("keep", "before", "kept " + std::to_string(run));

        Child child = StartWriter(self, file, section);
        Sleep(std::uniform_int_distribution<int>(0, 120)(random));
        if (TerminateProcess(child.info.hProcess, 9)) ++killedMidway;
        WaitForSingleObject(child.info.hProcess, INFINITE);
        const int last = LastReported(child.output);
        CloseHandle(child.output);
        CloseHandle(child.info.hProcess);
        CloseHandle(child.info.hThread);

        vrk::IniFile check(os, file);
        std::string problem;
        if (check.ReadString("keep", "before", "") != "kept " + std::to_string(run))
            problem = "lost the key written before";
        for (int i = 0; i <= last && problem.empty(); ++i)
            if (check.ReadString(section, "k" + std::to_string(i), "<missing>") != Value(i))
                problem = "lost k" + std::to_string(i) + " of " + std::to_string(last + 1) + " reported";
        // And the system's own reader agrees.
        char buffer[64];
        GetPrivateProfileStringA("keep", "before", "", buffer, sizeof buffer, file.c_str());
        if (problem.empty() && std::string(buffer) != "kept " + std::to_string(run))
            problem = "the system reads it otherwise";
        if (!problem.empty()) {
            std::printf("run %d (%s): %s\n", run, file.c_str(), problem.c_str());
            ++failures;
        }
    }
    // What killed writers left behind is what a start removes: their
    // temporary files go, and only they.
    auto names = [&] {
        std::vector<std::string> found;
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE) return found;
        do {
            if (std::string(entry.cFileName) != "." && std::string(entry.cFileName) != "..")
                found.push_back(entry.cFileName);
        } while (FindNextFileA(find, &entry));
        FindClose(find);
        return found;
    };
    std::size_t leftovers = 0;
    for (const auto& name : names()) leftovers += vrk::IsTemporaryWriteName(name) ? 1 : 0;
    vrk::RemoveInterruptedWrites(os, folder, "");
    const auto kept = names();
    if (kept.size() != 2) {
        std::printf("after the clean-up of %zu temporary files %zu files are left, not the two INI files\n", leftovers,
                    kept.size());
        ++failures;
    }
    for (const auto& file : files) DeleteFileA(file.c_str());
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
    std::printf("%d runs, %d killed while writing, %d torn or lost, %zu temporary files left and removed\n", runs,
                killedMidway, failures, leftovers);
    return failures == 0 ? 0 : 1;
}
