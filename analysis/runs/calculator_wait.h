#pragma once

#include "analysis/runs/run_executor.h"
#include "processes/process_runner.h"

#include <optional>

namespace zelmora {

// Waits a short while (ChildWaitInterval) for a calculator to end, calling the idle callback;
// when stop was asked, ends every calculator (EndCalculators) and throws EAnalysisStopped.
std::optional<ProcessSet::Ended> WaitForCalculators(ProcessSet& processes,
                                                    const ExecutionControl& control);

// Ends every running calculator and waits for them. POSIX: SIGTERM to each process group,
// SIGKILL to what is left 5 s later. Windows: each calculator's job is ended at once.
void EndCalculators(ProcessSet& processes);

} // namespace zelmora
