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

// The same, the calculator the only child of our own init, the first process of a user and
// PID namespace of their own: what the calculator starts cannot leave that namespace, and ends
// when the init does. The init forwards SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGUSR1 and SIGUSR2
// to every process there, and ends with the calculator's status (128 + n for signal n) as soon
// as the calculator has ended. It keeps our user and group ids, and dies with the calling
// thread. Returns the init's process id, or -1.
pid_t StartCalculatorInNamespaces(const CalculatorStart& start);

// Whether a user and PID namespace can be made here: a container's rules or a chroot may forbid
// it.
bool NamespacesWork();

} // namespace zelmora
