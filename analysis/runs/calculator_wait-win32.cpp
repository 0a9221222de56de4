#include "analysis/runs/calculator_wait.h"

#include <csignal>

namespace zelmora {

// Windows has no request to end that a calculator without our console would see: its job, with
// whatever it started, is ended at once.
void EndCalculators(ProcessSet& processes) {
    processes.SignalAll(SIGTERM);
    while (processes.RunningCount() > 0) {
        processes.WaitForAny(ChildWaitInterval);
    }
    processes.EndAllLeftovers();
}

} // namespace zelmora
