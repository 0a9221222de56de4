#pragma once

#include "analysis/runs/run_executor.h"

#include <string>
#include <vector>

namespace zelmora {

// What a method's runs are kept in: each outcome joins the runs applied, a failing one with its
// error, and the errors name the batch command line.
struct MethodRunRecord {
    const std::string& batchCommandLine;
    std::vector<RunOutcome>& applied;
};

// The safety factors of runs performed after the first-order ones, in their order.
std::vector<double> PerformMethodRuns(RunExecutor& executor, std::vector<PlannedRun> runs,
                                      const MethodRunRecord& record);

} // namespace zelmora
