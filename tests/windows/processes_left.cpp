// Tells whether any of the processes named in a file still runs, waiting a few seconds for them
// to end. Usage: processes_left FILE, where FILE holds process ids (child_helper writes a
// calculator's own and its child's). Exit status 0 when none runs, 1 when one does (it is
// named on standard error), 2 when the file holds no process id.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>
#include <windows.h>

namespace {

constexpr auto EndWait = std::chrono::seconds(5);

bool Runs(DWORD pid) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (process == nullptr) {
        return false;
    }
    const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}

bool EndsSoon(DWORD pid) {
    const auto deadline = std::chrono::steady_clock::now() + EndWait;
    while (Runs(pid) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return !Runs(pid);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: processes_left FILE\n");
        return 2;
    }
    std::vector<DWORD> pids;
    std::ifstream in(argv[1]);
    for (DWORD pid = 0; in >> pid;) {
        pids.push_back(pid);
    }
    if (pids.empty()) {
        std::fprintf(stderr, "no process id in %s\n", argv[1]);
        return 2;
    }
    int left = 0;
    for (const DWORD pid : pids) {
        if (!EndsSoon(pid)) {
            std::fprintf(stderr, "process %lu still runs\n", pid);
            ++left;
        }
    }
    return left == 0 ? 0 : 1;
}
