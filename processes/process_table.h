#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace zelmora {

// A process as /proc/<pid>/stat shows it; pid and start time together name it for good.
struct ProcessEntry {
    pid_t pid = 0;
    char state = '?';
    pid_t parent = 0;
    pid_t session = 0;
    std::uint64_t startTime = 0;
    std::string marker; // its run marker, where the caller looked it up

    bool Zombie() const { return state == 'Z' || state == 'X'; }
};

// A process named for good: a process id is used again once its process is reaped.
using ProcessKey = std::pair<pid_t, std::uint64_t>;

inline ProcessKey KeyOf(const ProcessEntry& entry) {
    return {entry.pid, entry.startTime};
}

// Every process the system shows now.
std::vector<ProcessEntry> ScanProcesses();

// The value of ZELMORA_RUN in the environment the process started with (/proc/<pid>/environ):
// empty when it has none or it cannot be read.
std::string RunMarkerOf(pid_t pid);

} // namespace zelmora
