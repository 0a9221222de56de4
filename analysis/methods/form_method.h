#pragma once

#include "analysis/methods/calculation_log.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/method_runs.h"
#include "analysis/runs/run_executor.h"

#include <string>

namespace zelmora {

// Runs FORM's iterations after the first-order analysis, on the same executor, starting from
// the first-order runs of the context. A failing run raises its error; the first-order results
// stay as they are.
MethodResult RunFormMethod(RunExecutor& executor, CalculationLog& log, const MethodContext& context,
                           StrengthDistribution strengths);

} // namespace zelmora
