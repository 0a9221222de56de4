#include "analysis/methods/method_runs.h"

#include "analysis/runs/run_errors.h"

#include <algorithm>
#include <exception>

namespace zelmora {

// Method runs get RunIds beyond those of the first-order analysis, numbered on across the
// method's batches so that each run of an analysis has its own; they are never stored with the
// first-order results.
namespace {

int MethodRunsSoFar(const std::vector<RunOutcome>& applied) {
    return static_cast<int>(std::count_if(applied.begin(), applied.end(), [](const auto& run) {
        return run.runId >= FirstMethodRunId;
    }));
}

} // namespace

std::vector<double> PerformMethodRuns(RunExecutor& executor, std::vector<PlannedRun> runs,
                                      const MethodContext& context) {
    const std::size_t count = runs.size();
    const int first = FirstMethodRunId + MethodRunsSoFar(context.applied);
    for (std::size_t k = 0; k < count; ++k) {
        runs[k].runId = first + static_cast<int>(k);
    }
    executor.Submit(std::move(runs));
    std::vector<double> factors;
    for (std::size_t k = 0; k < count; ++k) {
        context.applied.push_back(executor.Next());
        try {
            factors.push_back(CheckedSafetyFactor(context.applied.back(), context.inputs));
        } catch (const std::exception& error) {
            context.applied.back().error = error.what();
            throw;
        }
    }
    return factors;
}

} // namespace zelmora
