#pragma once

#include "processes/process_set.h"

#include <memory>
#include <optional>
#include <string>

namespace zelmora {

// How the processes of one calculator are kept together, so that whatever it started ends with
// it, however it detached.
enum class Containment {
    Cgroup,     // a cgroup of its own, in a cgroup delegated to the user
    Namespaces, // a user and PID namespace, our own small init its first process
    Subreaper,  // the process table: what carries the run's marker or was seen descending
};

struct ContainmentChoice {
    Containment kind = Containment::Subreaper;
    std::string cgroupFolder; // with Cgroup: the folder of the cgroup the calculators' go in
};

// The folder of this program's cgroup in the cgroup2 file system, found from the texts of
// /proc/self/cgroup and /proc/self/mountinfo; nothing without a cgroup2 mount that shows it.
std::optional<std::string> OwnCgroupFolder(const std::string& cgroups, const std::string& mounts);

// This program's cgroup when it is delegated to the user: its folder and cgroup.procs owned by
// the user, who may write them, and who is not root (root's cgroups are the system's).
std::optional<std::string> DelegatedCgroup();

// The first this machine offers of: a delegated cgroup, namespaces, the subreaper rule.
ContainmentChoice BestContainment();

// Child processes kept together as `containment` says; MakeChildProcesses() takes the best.
// A cgroup that cannot be made for a calculator gives way to namespaces, where they work, else
// to the subreaper rule.
std::unique_ptr<ProcessSet> MakeChildProcesses(const ContainmentChoice& containment);

} // namespace zelmora
