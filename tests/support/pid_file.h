#pragma once

#include "tests/support/file_bytes.h"

#include <sstream>
#include <string>
#include <sys/types.h>
#include <vector>

namespace test_support {

// The process ids the fake calculator wrote, one per line, into a pid file.
inline std::vector<pid_t> PidsIn(const std::string& path) {
    std::istringstream text(ReadBytes(path));
    std::vector<pid_t> pids;
    for (pid_t pid = 0; text >> pid;) {
        pids.push_back(pid);
    }
    return pids;
}

} // namespace test_support
