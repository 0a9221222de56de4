#pragma once

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

    // Starts the command line in the folder `startsIn` (empty: ours), its program found from
    // there as FolderLocator finds it, with its standard output and error going to outputFd (-1
    // keeps ours; on Windows it gives the process a console window of its own instead) and
    // runMarker as the value of ZELMORA_RUN in its environment (empty: none). Returns the
    // process's handle, or -1 when it cannot be started.
    virtual int Start(const std::string& commandLine, int outputFd, const std::string& startsIn,
                      const std::string& runMarker) = 0;

    // A process that has ended, waiting at most `timeout` for one; nothing when none ended.
    virtual std::optional<Ended> WaitForAny(std::chrono::milliseconds timeout) = 0;

    // Sends the signal to every process that has not been reported ended, with what it started,
    // and to what those reported ended left behind.
    // Windows has no signals: there each one's job is ended at once, with 128 + signal as the
    // exit status.
    virtual void SignalAll(int signal) = 0;

    virtual int RunningCount() const = 0;

    // Ends, and waits for, every process that the process of `handle`, reported ended, left
    // behind: POSIX SIGTERM, SIGKILL after the stop grace; Windows ends its job.
    virtual void EndLeftovers(int handle) = 0;

    // The same for every process reported ended.
    virtual void EndAllLeftovers() = 0;
};

// How long a process that was asked to end (SIGTERM) has before it is killed.
inline constexpr std::chrono::seconds StopGrace{5};

// Real child processes. On Linux each calculator is kept together with what it starts, in the
// first way this machine offers (containment.h); the program becomes a child subreaper, so that
// whatever it started comes back to it to be reaped. On Windows each has a job object. Ending
// the set kills and reaps what still runs.
std::unique_ptr<ProcessSet> MakeChildProcesses();

} // namespace zelmora
