#include "analysis/methods/method_runs.h"

#include "analysis/runs/run_errors.h"

#include <exception>

namespace zelmora {

// Method runs are never stored in the state.
std::vector<double> PerformMethodRuns(RunExecutor& executor, std::vector<PlannedRun> runs,
                                      const MethodContext& context) {
    const std::size_t count = runs.size();
    for (std::size_t k = 0; k < count; ++k) {
        runs[k].runId = FirstMethodRunId + static_cast<int>(k);
    }
    executor.Submit(std::move(runs));
    std::vector<double> factors;
    for (std::size_t k = 0; k < count; ++k) {
        context.applied.push_back(executor.Next());
        try {
            factors.push_back(
                CheckedSafetyFactor(context.applied.back(), context.batchCommandLine));
        } catch (const std::exception& error) {
            context.applied.back().error = error.what();
            throw;
        }
    }
    return factors;
}

} // namespace zelmora
