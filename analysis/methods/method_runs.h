#pragma once

#include "analysis/runs/run_executor.h"

#include <string>
#include <vector>

namespace zelmora {

// The safety factors of runs performed after the first-order ones, in their order. A failing
// run raises its error, naming the batch command line.
std::vector<double> PerformMethodRuns(RunExecutor& executor, std::vector<PlannedRun> runs,
                                      const std::string& batchCommandLine);

} // namespace zelmora
