#pragma once

#include "processes/calculator_start.h"
#include "processes/command_line.h"

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace zelmora {

// Everything the child of a calculator's start needs, made before the fork: between the fork
// and the exec the child makes system calls only, as a child of a program with threads must.
class PreparedCalculator {
public:
    explicit PreparedCalculator(const CalculatorStart& start);
    PreparedCalculator(const PreparedCalculator&) = delete;
    PreparedCalculator& operator=(const PreparedCalculator&) = delete;
    ~PreparedCalculator();

    // False when the program is not found or the descriptors cannot be made.
    bool Ready() const { return ready_; }

    // In the child: joins the cgroup, sets itself up as StartCalculatorProcess says and execs
    // the program. `parent` is the process id getppid() gives while the parent lives.
    [[noreturn]] void Become(pid_t parent) const;

    // In the child, when it cannot go on: reports errno to the parent and ends.
    [[noreturn]] void Fail() const;

    // In the parent, after the fork: the child's process id once its exec succeeded; otherwise
    // -1, the child reaped.
    pid_t AwaitExec(pid_t child);

private:
    bool ready_ = false;
    std::optional<ResolvedCommand> command_;
    std::vector<char*> arguments_;
    std::vector<std::string> environment_;
    std::vector<char*> environmentPointers_;
    int outputFd_ = -1;
    std::string startsIn_;
    int cgroupProcsFd_ = -1;
    int null_ = -1;
    int report_[2] = {-1, -1}; // the child's errno when its exec fails; closed by the exec
};

} // namespace zelmora
