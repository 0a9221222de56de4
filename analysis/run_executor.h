#pragma once

#include "analysis/analysis_progress.h"
#include "analysis/process_set.h"
#include "analysis/run_outcome.h"
#include "analysis/run_plan.h"
#include "project/errors.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelmora {

// Ends an analysis that the user stopped; the log says so and no error box is shown.
class EAnalysisStopped : public Error {
public:
    EAnalysisStopped() : Error("Analysis stopped.") {}
};

// What the executors consult while they wait for calculators.
struct ExecutionControl {
    std::function<bool()> stopRequested; // empty: never
    std::function<void()> idle;          // called between waits, every few tens of milliseconds
    ProgressMeter* progress = nullptr;
    std::function<void(const std::string&)> note; // empty: notes are dropped
};

// Performs the runs of an analysis and hands back their outcomes in the order submitted.
class RunExecutor {
public:
    enum class Ending { Succeeded, Failed, Stopped };

    virtual ~RunExecutor() = default;

    // Queues runs behind those submitted before.
    virtual void Submit(std::vector<PlannedRun> runs) = 0;

    // The outcome of the next run in submission order, waiting for it. Throws EAnalysisStopped
    // once stop was asked, after every running calculator has ended.
    virtual RunOutcome Next() = 0;

    // Starts no further run and waits for those running.
    virtual void Abandon() = 0;

    // Leaves the project and the work copies as the ending requires.
    virtual void Finish(Ending ending) = 0;

    // The work copies kept after a failure, empty when there are none.
    virtual std::string KeptWorkFolder() const { return {}; }
};

// One run at a time in the project's own data folder; at the end its modification file is left
// without modifications.
std::unique_ptr<RunExecutor> MakeInPlaceExecutor(ProcessSet& processes, int calculatorOutputFd,
                                                 const ExecutionControl& control);

// Up to `workers` runs at once, each worker in its own copy of the project beside it. Creating
// the copies may fail with an input/output error before any run starts.
std::unique_ptr<RunExecutor> MakeParallelExecutor(ProcessSet& processes, int workers,
                                                  const ExecutionControl& control);

// How long one wait for a calculator lasts at most.
inline constexpr std::chrono::milliseconds CalculatorWaitSlice{20};

// Waits a short while for a calculator to end, calling the idle callback; when stop was asked,
// ends every calculator (EndCalculators) and throws EAnalysisStopped.
std::optional<ProcessSet::Ended> WaitForCalculators(ProcessSet& processes,
                                                    const ExecutionControl& control);

// Ends every running calculator and waits for them. POSIX: SIGTERM to each process group,
// SIGKILL to what is left 5 s later. Windows: each calculator's job is ended at once.
void EndCalculators(ProcessSet& processes);

} // namespace zelmora
