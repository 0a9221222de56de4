#pragma once

#include "processes/calculator_start.h"
#include "processes/process_table.h"
#include "processes/run_cgroup.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zelmora {

// One calculator with whatever it starts, kept together so that all of it can be ended.
class CalculatorGroup {
public:
    virtual ~CalculatorGroup() = default;

    // Starts the calculator in the group: returns the process whose end is the calculator's
    // end, or -1.
    virtual pid_t Start(CalculatorStart start) = 0;

    // At every wait while the calculator runs: notes which processes are its own.
    virtual void Watch(const std::vector<ProcessEntry>& /*table*/) {}

    // Once the calculator has ended, before its result is read.
    virtual void Ended() {}

    // The processes of the group still alive, but for the calculator.
    virtual std::vector<pid_t> Living(const std::vector<ProcessEntry>& table) const = 0;

    // Sends the signal to every process of the group, the calculator too while it runs, and
    // lets them act on it.
    virtual void Signal(int signal, const std::vector<ProcessEntry>& table) = 0;
};

// The calculator in the cgroup: its leftovers are the cgroup's members, frozen from its end on.
std::unique_ptr<CalculatorGroup> MakeCgroupGroup(std::unique_ptr<RunCgroup> cgroup);

// The calculator under our init in namespaces of its own: nothing outlives the init.
std::unique_ptr<CalculatorGroup> MakeNamespaceGroup();

// The calculator as the process table shows it (the program must be a child subreaper): its
// session, the processes seen descending from it while it ran, the processes re-parented to
// us that carry its marker, and their descendants. The table's markers must be filled in for
// the processes whose parent is `self`.
std::unique_ptr<CalculatorGroup> MakeTableGroup(pid_t self);

} // namespace zelmora
