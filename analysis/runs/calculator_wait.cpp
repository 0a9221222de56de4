#include "analysis/runs/calculator_wait.h"

namespace zelmora {

std::optional<ProcessSet::Ended> WaitForCalculators(ProcessSet& processes,
                                                    const ExecutionControl& control) {
    if (control.stopRequested && control.stopRequested()) {
        EndCalculators(processes);
        throw EAnalysisStopped();
    }
    const std::optional<ProcessSet::Ended> ended = processes.WaitForAny(ChildWaitInterval);
    if (control.idle) {
        control.idle();
    }
    if (control.progress) {
        control.progress->Tick();
    }
    return ended;
}

} // namespace zelmora
