#pragma once

#include "processes/process_runner.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace zelmora {

// The child processes of an analysis: several may run at once, each in a process group of its
// own (a job object on Windows), so that stopping one ends whatever it started.
class ProcessSet {
public:
    struct Ended {
        int handle;
        int exitStatus; // as ExecuteAndWait returns it
    };

    virtual ~ProcessSet() = default;

    // Starts the command line with its standard output and error going to outputFd (-1 keeps
    // ours; on Windows it gives the process a console window of its own instead). Returns the
    // process's handle, or -1 when it cannot be started.
    virtual int Start(const std::string& commandLine, int outputFd) = 0;

    // A process that has ended, waiting at most `timeout` for one; nothing when none ended.
    virtual std::optional<Ended> WaitForAny(std::chrono::milliseconds timeout) = 0;

    // Sends the signal to the process group of every process that has not been reported ended.
    // Windows has no signals: there each one's job is ended at once, with 128 + signal as the
    // exit status.
    virtual void SignalAll(int signal) = 0;

    virtual int RunningCount() const = 0;
};

// Real child processes. Ending it kills and reaps what still runs.
std::unique_ptr<ProcessSet> MakeChildProcesses();

} // namespace zelmora
