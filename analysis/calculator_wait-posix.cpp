#include "analysis/run_executor.h"

#include <csignal>

namespace zelmora {

void EndCalculators(ProcessSet& processes) {
    processes.SignalAll(SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + StopGrace;
    while (processes.RunningCount() > 0 && std::chrono::steady_clock::now() < deadline) {
        processes.WaitForAny(CalculatorWaitSlice);
    }
    processes.SignalAll(SIGKILL);
    while (processes.RunningCount() > 0) {
        processes.WaitForAny(CalculatorWaitSlice);
    }
    processes.EndAllLeftovers();
}

} // namespace zelmora
