#include "processes/process_table.h"

#include "processes/run_marker.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

namespace zelmora {

namespace {

// The fields after the command name, which is in parentheses and may hold anything.
bool Parse(const std::string& line, ProcessEntry& entry) {
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) {
        return false;
    }
    std::istringstream fields(line.substr(close + 1));
    pid_t group = 0;
    std::string skipped;
    fields >> entry.state >> entry.parent >> group >> entry.session;
    // Fields 7 to 21, then the start time (field 22).
    for (int k = 7; k <= 21; ++k) {
        fields >> skipped;
    }
    fields >> entry.startTime;
    return !fields.fail();
}

// An environment is at most a few MiB; reading stops there.
constexpr std::size_t EnvironmentLimit = 8U << 20U;

} // namespace

std::vector<ProcessEntry> ScanProcesses() {
    std::vector<ProcessEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), closedir);
    if (!proc) {
        return entries;
    }
    while (const dirent* item = readdir(proc.get())) {
        char* end = nullptr;
        const long pid = std::strtol(item->d_name, &end, 10);
        if (pid <= 0 || *end != '\0') {
            continue;
        }
        std::ifstream file(std::string("/proc/") + item->d_name + "/stat");
        std::string line;
        ProcessEntry entry;
        entry.pid = static_cast<pid_t>(pid);
        if (std::getline(file, line) && Parse(line, entry)) {
            entries.push_back(entry);
        }
    }
    return entries;
}

std::string RunMarkerOf(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/environ", std::ios::binary);
    const std::string wanted = std::string(RunMarkerVariable) + "=";
    std::string entry;
    for (std::size_t read = 0; read < EnvironmentLimit && std::getline(file, entry, '\0');) {
        read += entry.size() + 1;
        if (entry.starts_with(wanted)) {
            return entry.substr(wanted.size());
        }
    }
    return "";
}

} // namespace zelmora
