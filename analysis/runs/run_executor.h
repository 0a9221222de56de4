#pragma once

#include "analysis/runs/analysis_progress.h"
#include "analysis/runs/run_outcome.h"
#include "analysis/runs/run_plan.h"
#include "analysis/workcopies/work_folder.h"
#include "processes/process_set.h"
#include "project/errors.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelmora {

// What the executors consult while they wait for calculators.
struct ExecutionControl {
    std::function<bool()> stopRequested; // empty: never
    std::function<void()> idle;          // called between waits, every few tens of milliseconds
    ProgressMeter* progress = nullptr;
    std::function<void(const std::string&)> note; // empty: notes are dropped
    // Told of every run as soon as its outcome is known, before it is handed back.
    std::function<void(const PlannedRun&, const RunOutcome&)> runEnded;
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

    // Ends the runs started and not yet handed back as a stop does and forgets every run not
    // handed back; runs submitted afterwards go on as before.
    virtual void Withdraw() = 0;

    // Leaves the project and the work copies as the ending requires: after success the work
    // folder goes unless it was taken; after a stop or a failure it stays with its journal.
    virtual void Finish(Ending ending) = 0;

    // The work copies kept after a failure, empty when there are none.
    virtual std::string KeptWorkFolder() const { return {}; }

    // The journal of the runs in the locked work folder; empty when there is none.
    virtual std::string JournalPath() const { return {}; }

    // The locked work folder, for the caller to remove once the analysis's outputs are written.
    virtual std::unique_ptr<WorkFolder> TakeWorkFolder() { return nullptr; }
};

} // namespace zelmora
