#pragma once

#include "analysis/coupling/analysis_inputs.h"
#include "analysis/methods/correlations.h"
#include "analysis/methods/stored_results.h"
#include "analysis/runs/run_executor.h"

#include <string>
#include <vector>

namespace zelmora {

// What a method takes from the analysis: its inputs (whose command line and result file its
// errors name), the first-order results it builds on, the runs applied so far (each method run
// joins them, a failing one with its error), how many runs go at once and the correlations of
// the strengths.
struct MethodContext {
    const AnalysisInputs& inputs;
    const StoredResults& firstOrder;
    std::vector<RunOutcome>& applied;
    int parallelRuns;
    const std::vector<CorrelationInUse>& correlations;
};

// Method runs get RunIds from here on, beyond those of the first-order analysis; they are never
// stored with the first-order results.
inline constexpr int FirstMethodRunId = 1000;

// The safety factors of runs performed after the first-order ones, in their order.
std::vector<double> PerformMethodRuns(RunExecutor& executor, std::vector<PlannedRun> runs,
                                      const MethodContext& context);

} // namespace zelmora
