#pragma once

#include "analysis/methods/correlations.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/sampling_result.h"
#include "analysis/runs/run_errors.h"
#include "analysis/runs/run_outcome.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

class WorkFolder;

// What an analysis did, beside the results it left in the project state: filled as it goes,
// so it is complete up to the point where an analysis failed or was stopped.
struct AnalysisRecord {
    std::string batchCommandLine;
    int parallelRuns = 1;
    std::vector<RunOutcome> outcomes; // the outcomes the evaluation applied, in plan order
    std::string keptWorkFolder;       // the work copies left for inspection after a failure
    std::string error;                // the message of the failure, empty after success
    std::optional<RunErrorDetail> errorDetail; // when a run's failure ended the analysis
    bool stopped = false;
    std::optional<MethodResult> method;         // when a method beyond the first-order one ran
    std::vector<CorrelationInUse> correlations; // the pairs with ρ ≠ 0, checked before any run
    std::optional<SamplingResult> sampling;     // when a sampling check ran
    std::shared_ptr<WorkFolder> workFolder;     // locked, when handed over after success
};

} // namespace zelmora
