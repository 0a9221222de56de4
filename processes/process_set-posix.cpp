#include "processes/process_set.h"

#include "processes/calculator_group.h"
#include "processes/containment.h"
#include "processes/process_table.h"
#include "processes/spawn_setup.h"

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

// Child processes watched through process descriptors, so that one poll waits for any of them
// to end. The program is a child subreaper: what a calculator leaves behind, and whatever else
// the program started, comes back to it to be reaped.
class ChildProcesses : public ProcessSet {
public:
    explicit ChildProcesses(ContainmentChoice containment) : containment_(std::move(containment)) {
        prctl(PR_SET_CHILD_SUBREAPER, 1);
    }
    ChildProcesses(const ChildProcesses&) = delete;
    ChildProcesses& operator=(const ChildProcesses&) = delete;

    ~ChildProcesses() override {
        SignalAll(SIGKILL);
        for (auto& [pid, child] : running_) {
            Reap(pid);
            ::close(child.pidfd);
            ended_[pid] = std::move(child.group);
        }
        running_.clear();
        const auto deadline = std::chrono::steady_clock::now() + StopGrace;
        while (!AllGone(Scan()) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(Tick);
        }
    }

    int Start(const std::string& commandLine, int outputFd, const std::string& startsIn,
              const std::string& runMarker) override {
        std::unique_ptr<CalculatorGroup> group = NewGroup();
        const pid_t pid = group->Start({commandLine, outputFd, startsIn, runMarker});
        if (pid < 0) {
            return -1;
        }
        const int pidfd = OpenProcessDescriptor(pid);
        if (pidfd < 0) {
            // Without a descriptor to wait on, the child cannot be watched: end it at once.
            group->Signal(SIGKILL, Scan());
            Reap(pid);
            return -1;
        }
        running_[pid] = {pidfd, std::move(group)};
        return pid;
    }

    std::optional<Ended> WaitForAny(std::chrono::milliseconds timeout) override {
        const std::vector<ProcessEntry> table = Scan();
        for (auto& [pid, child] : running_) {
            child.group->Watch(table);
        }
        ReapInherited(table);
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
        const std::vector<ProcessEntry> table = Scan();
        for (auto& [pid, child] : running_) {
            child.group->Signal(signal, table);
        }
        for (auto& [pid, group] : ended_) {
            group->Signal(signal, table);
        }
    }

    int RunningCount() const override { return static_cast<int>(running_.size()); }

    void EndLeftovers(int handle) override {
        const auto found = ended_.find(handle);
        if (found == ended_.end()) {
            return;
        }
        End(*found->second);
        ended_.erase(found);
    }

    void EndAllLeftovers() override {
        for (auto& [pid, group] : ended_) {
            End(*group);
        }
        ended_.clear();
    }

private:
    struct Child {
        int pidfd;
        std::unique_ptr<CalculatorGroup> group;
    };

    std::unique_ptr<CalculatorGroup> NewGroup() {
        if (containment_.kind == Containment::Cgroup) {
            const std::string name =
                "zelmora-" + std::to_string(getpid()) + "-" + std::to_string(++cgroups_);
            if (auto cgroup = RunCgroup::Make(containment_.cgroupFolder, name)) {
                return MakeCgroupGroup(std::move(cgroup));
            }
        }
        if (containment_.kind == Containment::Namespaces ||
            (containment_.kind == Containment::Cgroup && NamespacesWork())) {
            return MakeNamespaceGroup();
        }
        return MakeTableGroup(getpid());
    }

    static int Reap(pid_t pid) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) {
                return -1;
            }
        }
        return ExitStatus(status);
    }

    // The process table, with the run markers of the processes that came to the program.
    std::vector<ProcessEntry> Scan() {
        std::vector<ProcessEntry> table = ScanProcesses();
        const pid_t self = getpid();
        std::map<ProcessKey, std::string> markers;
        for (ProcessEntry& entry : table) {
            if (entry.parent != self || entry.Zombie() || running_.contains(entry.pid)) {
                continue;
            }
            const auto known = markers_.find(KeyOf(entry));
            entry.marker = known != markers_.end() ? known->second : RunMarkerOf(entry.pid);
            markers[KeyOf(entry)] = entry.marker;
        }
        markers_ = std::move(markers);
        return table;
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

    bool AllGone(const std::vector<ProcessEntry>& table) {
        ReapInherited(table);
        bool gone = true;
        for (auto& [pid, group] : ended_) {
            if (!group->Living(table).empty()) {
                group->Signal(SIGKILL, table);
                gone = false;
            }
        }
        return gone;
    }

    // SIGTERM, then SIGKILL after the stop grace, until none is left; what appears meanwhile gets
    // the same.
    void End(CalculatorGroup& group) {
        const auto deadline = std::chrono::steady_clock::now() + StopGrace;
        std::set<pid_t> asked;
        while (true) {
            const std::vector<ProcessEntry> table = Scan();
            ReapInherited(table);
            const std::vector<pid_t> living = group.Living(table);
            if (living.empty()) {
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                group.Signal(SIGKILL, table);
            } else if (asked.empty()) {
                group.Signal(SIGTERM, table);
                asked.insert(living.begin(), living.end());
            } else {
                for (const pid_t pid : living) {
                    if (asked.insert(pid).second) {
                        kill(pid, SIGTERM);
                    }
                }
            }
            std::this_thread::sleep_for(Tick);
        }
    }

    static constexpr std::chrono::milliseconds Tick{20};

    Ended Collect(int pidfd) {
        for (auto it = running_.begin(); it != running_.end(); ++it) {
            if (it->second.pidfd == pidfd) {
                const pid_t pid = it->first;
                std::unique_ptr<CalculatorGroup> group = std::move(it->second.group);
                running_.erase(it);
                ::close(pidfd);
                group->Ended();
                const int status = Reap(pid);
                ended_[pid] = std::move(group);
                return {pid, status};
            }
        }
        return {-1, -1};
    }

    const ContainmentChoice containment_;
    int cgroups_ = 0;
    std::map<pid_t, Child> running_;                          // by process id
    std::map<pid_t, std::unique_ptr<CalculatorGroup>> ended_; // reported ended, leftovers not ended
    std::map<ProcessKey, std::string> markers_;               // of the processes that came to us
};

} // namespace

std::unique_ptr<ProcessSet> MakeChildProcesses(const ContainmentChoice& containment) {
    return std::make_unique<ChildProcesses>(containment);
}

} // namespace zelmora
