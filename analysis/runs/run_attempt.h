#pragma once

#include "analysis/coupling/result_snapshot.h"
#include "analysis/coupling/run_picture.h"
#include "analysis/runs/run_outcome.h"
#include "analysis/runs/run_plan.h"
#include "processes/process_set.h"

#include <chrono>
#include <string>

namespace zelmora {

// Where runs happen: a finite-element project (the user's own or a copy of it), the command
// that calculates it and where the calculator's output goes.
struct RunPlace {
    std::string commandLine;
    std::string modificationPath;
    std::string resultPath;
    int outputFd = -1; // -1: the calculator keeps our standard output and error
};

// One run from its start to its outcome.
class RunAttempt {
public:
    // Writes the modification file and starts the calculator. When either fails the outcome is
    // complete at once and Running() is false.
    RunAttempt(const PlannedRun& run, const RunPlace& place, ProcessSet& processes);

    bool Running() const { return handle_ >= 0; }
    int Handle() const { return handle_; }

    // Reads what the calculator left, once its process has ended.
    void Finish(int exitStatus);

    const RunOutcome& Outcome() const { return outcome_; }

private:
    RunPlace place_;
    RunOutcome outcome_;
    int handle_ = -1;
    ResultBefore before_;
    std::optional<RunPicture> picture_;
    bool pictureKept_ = false;
    std::chrono::steady_clock::time_point startTime_;
};

} // namespace zelmora
