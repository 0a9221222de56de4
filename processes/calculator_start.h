#pragma once

#include <string>
#include <sys/types.h>

namespace zelmora {

// Starts the program of a command line, found as ResolveCommandLine finds it, by fork and exec
// from the calling thread, which must be the one that waits for it: the child leads a session
// of its own, with the default signal mask and dispositions, standard input from /dev/null,
// standard output and error on outputFd (ours when it is -1) and no other descriptor of ours,
// and SIGKILL as its death signal, so that it dies with that thread. Returns its process id, or
// -1 when it cannot be started. With a folder `startsIn` the child starts there and the program
// is found as FolderLocator finds it.
pid_t StartCalculatorProcess(const std::string& commandLine, int outputFd,
                             const std::string& startsIn = {});

} // namespace zelmora
