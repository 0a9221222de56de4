#pragma once

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zelmora {

// A cgroup (version 2) of one calculator's processes, made inside a delegated one and removed
// with this object, once empty.
class RunCgroup {
public:
    // Makes the cgroup `name` in the cgroup folder `parent`; nothing when it cannot be made.
    static std::unique_ptr<RunCgroup> Make(const std::string& parent, const std::string& name);

    RunCgroup(const RunCgroup&) = delete;
    RunCgroup& operator=(const RunCgroup&) = delete;
    // What is still in it gets SIGKILL first.
    ~RunCgroup();

    // Its cgroup.procs, open for writing: a process joins by writing "0". -1 on failure.
    int OpenProcs() const;

    // The processes in it.
    std::vector<pid_t> Members() const;

    // Sends the signal to each member; SIGKILL through cgroup.kill, which no fork outruns.
    void Signal(int signal) const;

    // A frozen cgroup's processes do not run, and leave no new result, until it is thawed.
    void Freeze(bool frozen) const;

private:
    RunCgroup(int folder, std::string path);

    bool WriteControl(const char* name, const std::string& text) const;

    int folder_;
    std::string path_;
};

} // namespace zelmora
