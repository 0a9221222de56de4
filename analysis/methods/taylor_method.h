#pragma once

#include "analysis/methods/calculation_log.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/method_runs.h"
#include "analysis/runs/run_executor.h"

#include <string>

namespace zelmora {

// Runs Taylor's further runs after the first-order analysis, on the same executor, and computes
// its result from them and from the first-order runs of the context. A failing run raises its
// error; the first-order results stay as they are.
MethodResult RunTaylorMethod(RunExecutor& executor, CalculationLog& log,
                             const MethodContext& context);

} // namespace zelmora
