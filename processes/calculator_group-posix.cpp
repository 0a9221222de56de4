#include "processes/calculator_group.h"

#include <csignal>
#include <set>
#include <unistd.h>

namespace zelmora {

namespace {

class CgroupGroup : public CalculatorGroup {
public:
    explicit CgroupGroup(std::unique_ptr<RunCgroup> cgroup) : cgroup_(std::move(cgroup)) {}

    pid_t Start(CalculatorStart start) override {
        start.cgroupProcsFd = cgroup_->OpenProcs();
        if (start.cgroupProcsFd < 0) {
            return -1;
        }
        const pid_t pid = StartCalculatorProcess(start);
        ::close(start.cgroupProcsFd);
        return pid;
    }

    // What the calculator left writes nothing more while its result is read.
    void Ended() override { cgroup_->Freeze(true); }

    std::vector<pid_t> Living(const std::vector<ProcessEntry>& /*table*/) const override {
        return cgroup_->Members();
    }

    void Signal(int signal, const std::vector<ProcessEntry>& /*table*/) override {
        cgroup_->Signal(signal);
        if (signal != SIGKILL) {
            cgroup_->Freeze(false);
        }
    }

private:
    std::unique_ptr<RunCgroup> cgroup_;
};

class NamespaceGroup : public CalculatorGroup {
public:
    pid_t Start(CalculatorStart start) override {
        init_ = StartCalculatorInNamespaces(start);
        return init_;
    }

    void Ended() override { running_ = false; }

    // When the init ended, the kernel ended every process of its namespace.
    std::vector<pid_t> Living(const std::vector<ProcessEntry>& /*table*/) const override {
        return {};
    }

    // The init passes the signal on to everything in the namespace; SIGKILL ends it all.
    void Signal(int signal, const std::vector<ProcessEntry>& /*table*/) override {
        if (running_) {
            kill(init_, signal);
        }
    }

private:
    pid_t init_ = -1;
    bool running_ = true;
};

class TableGroup : public CalculatorGroup {
public:
    explicit TableGroup(pid_t self) : self_(self) {}

    pid_t Start(CalculatorStart start) override {
        marker_ = start.marker;
        leader_ = StartCalculatorProcess(start);
        return leader_;
    }

    void Watch(const std::vector<ProcessEntry>& table) override { seen_ = Members(table); }

    void Ended() override { running_ = false; }

    std::vector<pid_t> Living(const std::vector<ProcessEntry>& table) const override {
        std::vector<pid_t> living;
        for (const auto& [pid, startTime] : Members(table)) {
            living.push_back(pid);
        }
        return living;
    }

    void Signal(int signal, const std::vector<ProcessEntry>& table) override {
        if (running_) {
            kill(-leader_, signal);
        }
        for (const pid_t pid : Living(table)) {
            kill(pid, signal);
        }
    }

private:
    bool Member(const ProcessEntry& entry, const std::set<pid_t>& parents) const {
        const bool marked = !marker_.empty() && entry.parent == self_ && entry.marker == marker_;
        return entry.session == leader_ || seen_.contains(KeyOf(entry)) ||
               parents.contains(entry.parent) || marked;
    }

    // The living members, the descendants of members included.
    std::set<ProcessKey> Members(const std::vector<ProcessEntry>& table) const {
        std::set<ProcessKey> members;
        std::set<pid_t> pids{leader_};
        for (bool grew = true; grew;) {
            grew = false;
            for (const ProcessEntry& entry : table) {
                if (entry.pid != leader_ && !entry.Zombie() && Member(entry, pids) &&
                    members.insert(KeyOf(entry)).second) {
                    pids.insert(entry.pid);
                    grew = true;
                }
            }
        }
        return members;
    }

    const pid_t self_;
    pid_t leader_ = -1;
    std::string marker_;
    bool running_ = true;
    std::set<ProcessKey> seen_;
};

} // namespace

std::unique_ptr<CalculatorGroup> MakeCgroupGroup(std::unique_ptr<RunCgroup> cgroup) {
    return std::make_unique<CgroupGroup>(std::move(cgroup));
}

std::unique_ptr<CalculatorGroup> MakeNamespaceGroup() {
    return std::make_unique<NamespaceGroup>();
}

std::unique_ptr<CalculatorGroup> MakeTableGroup(pid_t self) {
    return std::make_unique<TableGroup>(self);
}

} // namespace zelmora
