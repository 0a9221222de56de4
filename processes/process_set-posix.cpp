#include "processes/process_set.h"

#include "processes/calculator_start.h"
#include "processes/process_table.h"
#include "processes/spawn_setup.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <map>
#include <poll.h>
#include <set>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zelmora {

namespace {

// glibc 2.36 declares pidfd_open without C linkage, so the system call is made directly.
int OpenProcessDescriptor(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

// A process named for good: a process id is used again once its process is reaped.
using ProcessKey = std::pair<pid_t, std::uint64_t>;

ProcessKey KeyOf(const ProcessEntry& entry) {
    return {entry.pid, entry.startTime};
}

// What a calculator started: its session (it leads one of its own) and the processes seen
// descending from it while it ran, which may have left the session.
struct Family {
    pid_t session = 0;
    std::set<ProcessKey> seen;

    // The living members, the descendants of members included, found in `table`.
    std::set<ProcessKey> Living(const std::vector<ProcessEntry>& table, pid_t leader) const {
        std::set<ProcessKey> members;
        std::set<pid_t> pids{leader};
        for (bool grew = true; grew;) {
            grew = false;
            for (const ProcessEntry& entry : table) {
                const bool member = entry.session == session || seen.contains(KeyOf(entry)) ||
                                    pids.contains(entry.parent);
                if (member && entry.pid != leader && !entry.Zombie() &&
                    members.insert(KeyOf(entry)).second) {
                    pids.insert(entry.pid);
                    grew = true;
                }
            }
        }
        return members;
    }
};

// Child processes watched through process descriptors, so that one poll waits for any of them
// to end.
class ChildProcesses : public ProcessSet {
public:
    ChildProcesses() { prctl(PR_SET_CHILD_SUBREAPER, 1); }
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    ~ChildProcesses() override {
        SignalAll(SIGKILL);
        for (const auto& [pid, child] : running_) {
            Reap(pid);
            ::close(child.pidfd);
        }
        for (auto& [pid, family] : ended_) {
            Signal(family.Living(ScanProcesses(), pid), SIGKILL);
        }
        ReapInherited(ScanProcesses());
    }

    int Start(const std::string& commandLine, int outputFd, const std::string& startsIn,
              const std::string& runMarker) override {
        const pid_t pid = StartCalculatorProcess({commandLine, outputFd, startsIn, runMarker});
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
        running_[pid] = {pidfd, {pid, {}}};
        return pid;
    }

    std::optional<Ended> WaitForAny(std::chrono::milliseconds timeout) override {
        Watch(ScanProcesses());
        std::vector<pollfd> watched;
        for (const auto& [pid, child] : running_) {
            watched.push_back({child.pidfd, POLLIN, 0});
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

    // What ended calculators left gets the signal too: a stop ends everything at once.
    void SignalAll(int signal) override {
        const std::vector<ProcessEntry> table = ScanProcesses();
        for (const auto& [pid, child] : running_) {
            kill(-pid, signal);
            Signal(child.family.Living(table, pid), signal);
        }
        for (const auto& [pid, family] : ended_) {
            Signal(family.Living(table, pid), signal);
        }
    }

    int RunningCount() const override { return static_cast<int>(running_.size()); }

    void EndLeftovers(int handle) override {
        const auto found = ended_.find(handle);
        if (found == ended_.end()) {
            return;
        }
        End(found->first, found->second);
        ended_.erase(found);
    }

    void EndAllLeftovers() override {
        for (const auto& [pid, family] : ended_) {
            End(pid, family);
        }
        ended_.clear();
    }

private:
    struct Child {
        int pidfd;
        Family family;
    };

    static int Reap(pid_t pid) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) {
                return -1;
            }
        }
        return ExitStatus(status);
    }

    static void Signal(const std::set<ProcessKey>& processes, int signal) {
        for (const auto& [pid, startTime] : processes) {
            kill(pid, signal);
        }
    }

    // Notes the descendants of every running calculator, and reaps what the program inherited.
    void Watch(const std::vector<ProcessEntry>& table) {
        for (auto& [pid, child] : running_) {
            child.family.seen = child.family.Living(table, pid);
        }
        ReapInherited(table);
    }

    // Processes that ended after their parent did come to the program, the subreaper: each is
    // reaped, a calculator's leftover or not (a browser the program opened, say).
    void ReapInherited(const std::vector<ProcessEntry>& table) const {
        const pid_t self = getpid();
        for (const ProcessEntry& entry : table) {
            if (entry.parent == self && entry.Zombie() && !running_.contains(entry.pid)) {
                waitpid(entry.pid, nullptr, WNOHANG);
            }
        }
    }

    // SIGTERM, then SIGKILL after the stop grace, until none is left; what appears meanwhile gets
    // the same.
    void End(pid_t leader, const Family& family) const {
        const auto deadline = std::chrono::steady_clock::now() + StopGrace;
        std::set<ProcessKey> asked;
        while (true) {
            const std::vector<ProcessEntry> table = ScanProcesses();
            ReapInherited(table);
            const std::set<ProcessKey> living = family.Living(table, leader);
            if (living.empty()) {
                return;
            }
            const bool late = std::chrono::steady_clock::now() >= deadline;
            for (const ProcessKey& process : living) {
                if (late || asked.insert(process).second) {
                    kill(process.first, late ? SIGKILL : SIGTERM);
                }
            }
            std::this_thread::sleep_for(CalculatorTick);
        }
    }

    static constexpr std::chrono::milliseconds CalculatorTick{20};

    Ended Collect(int pidfd) {
        for (auto it = running_.begin(); it != running_.end(); ++it) {
            if (it->second.pidfd == pidfd) {
                const pid_t pid = it->first;
                Family family = std::move(it->second.family);
                running_.erase(it);
                ::close(pidfd);
                const int status = Reap(pid);
                ended_[pid] = std::move(family);
                return {pid, status};
            }
        }
        return {-1, -1};
    }

    std::map<pid_t, Child> running_; // process id -> its process descriptor and family
    std::map<pid_t, Family> ended_;  // reported ended, what they left not yet ended
};

} // namespace

std::unique_ptr<ProcessSet> MakeChildProcesses() {
    return std::make_unique<ChildProcesses>();
}

} // namespace zelmora
