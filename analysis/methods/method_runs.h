#pragma once

#include "analysis/methods/correlations.h"
#include "analysis/runs/run_executor.h"

#include <string>
#include <vector>

namespace zelmora {

// What a method takes from the analysis: the batch command line its errors name, the runs applied
// so far (each method run joins them, a failing one with its error), how many runs go at once
// and the correlations of the strengths.
struct MethodContext {
    const std::string& batchCommandLine;
    std::vector<RunOutcome>& applied;
    int parallelRuns;
    const std::vector<CorrelationInUse>& correlations;
};

// Method runs get RunIds from this one on, beyond those of the first-order analysis.
inline constexpr int FirstMethodRunId = 1000;

// The safety factors of runs performed after the first-order ones, in their order.
std::vector<double> PerformMethodRuns(RunExecutor& executor, std::vector<PlannedRun> runs,
                                      const MethodContext& context);

} // namespace zelmora
