#pragma once

#include "tests/support/file_bytes.h"

#include <chrono>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace test_support {

// A process whose parent has ended, as a browser started through a launcher is: it comes to
// the nearest subreaper, ends by itself after `life` and writes its process id to `mark`,
// unless a signal ends it first.
inline void StartOrphan(const std::string& mark, std::chrono::milliseconds life) {
    const pid_t launcher = fork();
    if (launcher == 0) {
        if (fork() == 0) {
            std::this_thread::sleep_for(life);
            WriteBytes(mark, std::to_string(getpid()));
            _exit(0);
        }
        _exit(0);
    }
    waitpid(launcher, nullptr, 0);
}

} // namespace test_support
