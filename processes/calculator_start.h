#pragma once

#include <string>
#include <sys/types.h>

namespace zelmora {

// What a calculator is started with.
struct CalculatorStart {
    std::string commandLine; // its program found as ResolveCommandLine finds it
    int outputFd = -1;       // its standard output and error; -1: ours
    std::string startsIn;    // its folder, the program found as FolderLocator finds it; empty: ours
    std::string marker;      // the value of ZELMORA_RUN in its environment; empty: none
    int cgroupProcsFd = -1;  // the cgroup.procs of a cgroup it joins before anything else
};

// Starts a calculator by fork and exec from the calling thread, which must be the one that
// waits for it: the child leads a session of its own, with the default signal mask and
// dispositions, standard input from /dev/null, no descriptor of ours but its output, and
// SIGKILL as its death signal, so that it dies with that thread. Returns its process id, or -1
// when it cannot be started.
pid_t StartCalculatorProcess(const CalculatorStart& start);

} // namespace zelmora
