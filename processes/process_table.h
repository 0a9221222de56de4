#pragma once

#include <cstdint>
#include <sys/types.h>
#include <vector>

namespace zelmora {

// A process as /proc/<pid>/stat shows it; pid and start time together name it for good.
struct ProcessEntry {
    pid_t pid = 0;
    char state = '?';
    pid_t parent = 0;
    pid_t session = 0;
    std::uint64_t startTime = 0;

    bool Zombie() const { return state == 'Z' || state == 'X'; }
};

// Every process the system shows now.
std::vector<ProcessEntry> ScanProcesses();

} // namespace zelmora
