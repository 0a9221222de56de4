#include "analysis/runs/calculator_wait.h"

#include <csignal>

namespace zelmora {

void EndCalculators(ProcessSet& processes) {
    processes.SignalAll(SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + StopGrace;
    while (processes.RunningCount() > 0 && std::chrono::steady_clock::now() < deadline) {
        processes.WaitForAny(ChildWaitInterval);
    }
    processes.SignalAll(SIGKILL);
    while (processes.RunningCount() > 0) {
        processes.WaitForAny(ChildWaitInterval);
    }
    processes.EndAllLeftovers();
}

} // namespace zelmora
