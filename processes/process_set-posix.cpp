#include "processes/process_set.h"

#include "processes/spawn_setup.h"

#include <cerrno>
#include <csignal>
#include <map>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zelmora {

namespace {

// glibc 2.36 declares pidfd_open without C linkage, so the system call is made directly.
int OpenProcessDescriptor(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

// Child processes watched through process descriptors, so that one poll waits for any of them
// to end.
class ChildProcesses : public ProcessSet {
public:
    ChildProcesses() = default;
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    ~ChildProcesses() override {
        SignalAll(SIGKILL);
        for (const auto& [pid, pidfd] : running_) {
            Reap(pid);
            ::close(pidfd);
        }
    }

    int Start(const std::string& commandLine, int outputFd) override {
        const pid_t pid = SpawnCommandLine(commandLine, outputFd);
        if (pid < 0) {
            return -1;
        }
        const int pidfd = OpenProcessDescriptor(pid);
        if (pidfd < 0) {
            // Without a descriptor to wait on, the child cannot be watched: end it at once.
            kill(-pid, SIGKILL);
            Reap(pid);
            return -1;
        }
        running_[pid] = pidfd;
        return pid;
    }

    std::optional<Ended> WaitForAny(std::chrono::milliseconds timeout) override {
        std::vector<pollfd> watched;
        for (const auto& [pid, pidfd] : running_) {
            watched.push_back({pidfd, POLLIN, 0});
        }
        if (poll(watched.data(), watched.size(), static_cast<int>(timeout.count())) <= 0) {
            return std::nullopt;
        }
        for (const pollfd& entry : watched) {
            if (entry.revents != 0) {
                return Collect(entry.fd);
            }
        }
        return std::nullopt;
    }

    void SignalAll(int signal) override {
        for (const auto& [pid, pidfd] : running_) {
            kill(-pid, signal);
        }
    }

    int RunningCount() const override { return static_cast<int>(running_.size()); }

private:
    static int Reap(pid_t pid) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) {
                return -1;
            }
        }
        return ExitStatus(status);
    }

    Ended Collect(int pidfd) {
        for (auto it = running_.begin(); it != running_.end(); ++it) {
            if (it->second == pidfd) {
                const pid_t pid = it->first;
                running_.erase(it);
                ::close(pidfd);
                return {pid, Reap(pid)};
            }
        }
        return {-1, -1};
    }

    std::map<pid_t, int> running_; // process id -> its process descriptor
};

} // namespace

std::unique_ptr<ProcessSet> MakeChildProcesses() {
    return std::make_unique<ChildProcesses>();
}

} // namespace zelmora
