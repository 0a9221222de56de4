#include "analysis/run_executor.h"

#include <csignal>

namespace zelmora {

namespace {

constexpr std::chrono::milliseconds WaitSlice{20};
constexpr std::chrono::seconds TermGrace{5};

} // namespace

void EndCalculators(ProcessSet& processes) {
    processes.SignalAll(SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + TermGrace;
    while (processes.RunningCount() > 0 && std::chrono::steady_clock::now() < deadline) {
        processes.WaitForAny(WaitSlice);
    }
    processes.SignalAll(SIGKILL);
    while (processes.RunningCount() > 0) {
        processes.WaitForAny(WaitSlice);
    }
}

std::optional<ProcessSet::Ended> WaitForCalculators(ProcessSet& processes,
                                                    const ExecutionControl& control) {
    if (control.stopRequested && control.stopRequested()) {
        EndCalculators(processes);
        throw EAnalysisStopped();
    }
    const std::optional<ProcessSet::Ended> ended = processes.WaitForAny(WaitSlice);
    if (control.idle) {
        control.idle();
    }
    if (control.progress) {
        control.progress->Tick();
    }
    return ended;
}

} // namespace zelmora
