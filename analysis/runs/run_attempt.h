#pragma once

#include "analysis/coupling/result_snapshot.h"
#include "analysis/coupling/run_picture.h"
#include "analysis/runs/run_outcome.h"
#include "analysis/runs/run_plan.h"
#include "processes/process_set.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace zelmora {

// Where runs happen: a finite-element project (the user's own or a copy of it), the command
// that calculates it, the folder it starts in and where the calculator's output goes.
struct RunPlace {
    std::string commandLine;
    std::string modificationPath;
    std::string resultPath;
    int outputFd = -1; // -1: the calculator keeps our standard output and error
    // As messages name the modification file: the copy's own path where the one above is
    // reached through the locked folder.
    std::string shownModificationPath;
    std::string logPath;  // the log outputFd writes, as Zelmora reads it; empty: none
    std::string copyPath; // the copy's project file; empty in place
    std::string startsIn; // the calculator's working folder; empty: ours
    std::string analysis; // the analysis's name in its runs' markers (NewAnalysisName)
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
    void ReadResult();

    RunPlace place_;
    RunOutcome outcome_;
    int handle_ = -1;
    ResultBefore before_;
    std::optional<RunPicture> picture_;
    bool pictureKept_ = false;
    std::chrono::steady_clock::time_point startTime_;
    std::uintmax_t logStart_ = 0;
};

} // namespace zelmora
