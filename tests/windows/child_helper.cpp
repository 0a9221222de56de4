// A child process for the Windows runner tests, told by its first argument what to do:
//   exit N         ends with exit code N
//   args FILE      writes its arguments to FILE, one a line, and ends with 0
//   sleep MS       sleeps, then ends with 0
//   family FILE    starts a grandchild that sleeps, writes its process id to FILE, sleeps
//   leave FILE     starts a grandchild that sleeps, writes its process id to FILE, ends
//   print TEXT     writes TEXT to standard output and "error" to standard error
//   env NAME VALUE ends with 0 when the environment holds NAME with VALUE, else 1
//   PATH /c        a batch calculator that never ends: starts a sleeping grandchild, writes
//                  both process ids to PATH + ".pids" and sleeps
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>
#include <windows.h>

namespace {

constexpr DWORD Long = 60'000;

// Starts a grandchild that sleeps; its process id, 0 when it could not be started.
DWORD StartSleeper() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string line = std::string("\"") + self + "\" sleep 60000";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return 0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}

int StartSleepingGrandchild(const char* pidFile, bool stay) {
    const DWORD grandchild = StartSleeper();
    if (grandchild == 0) {
        return 2;
    }
    std::ofstream(pidFile) << grandchild << "\n";
    if (stay) {
        Sleep(Long);
    }
    return 0;
}

// Written whole under a temporary name first, so that a reader never sees half of it.
int CalculateForever(const std::string& project) {
    const DWORD grandchild = StartSleeper();
    if (grandchild == 0) {
        return 2;
    }
    const std::string pids = project + ".pids";
    std::ofstream(pids + ".tmp") << GetCurrentProcessId() << " " << grandchild << "\n";
    MoveFileExA((pids + ".tmp").c_str(), pids.c_str(), MOVEFILE_REPLACE_EXISTING);
    Sleep(Long);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "exit" && argc == 3) {
        return std::atoi(argv[2]);
    }
    if (mode == "args" && argc >= 3) {
        std::ofstream out(argv[2], std::ios::binary);
        for (int i = 1; i < argc; ++i) {
            out << argv[i] << "\n";
        }
        return 0;
    }
    if (mode == "sleep" && argc == 3) {
        Sleep(static_cast<DWORD>(std::atoi(argv[2])));
        return 0;
    }
    if ((mode == "family" || mode == "leave") && argc == 3) {
        return StartSleepingGrandchild(argv[2], mode == "family");
    }
    if (argc == 3 && std::string(argv[2]) == "/c") {
        return CalculateForever(mode);
    }
    if (mode == "env" && argc == 4) {
        const char* value = std::getenv(argv[2]);
        return value != nullptr && std::string(value) == argv[3] ? 0 : 1;
    }
    if (mode == "print" && argc == 3) {
        std::printf("%s\n", argv[2]);
        std::fprintf(stderr, "error\n");
        return 0;
    }
    return 2;
}
