#pragma once

#include "analysis/analysis_record.h"
#include "analysis/calculation_log.h"
#include "analysis/method_result.h"
#include "analysis/random_variables.h"
#include "analysis/run_executor.h"

#include <vector>

namespace zelmora {

// Runs a method's further runs after the first-order analysis, on the same executor, and
// computes its result from them and from the first-order runs in the state. A failing run
// raises its error; the first-order results stay as they are.
MethodResult RunTaylorMethod(RunExecutor& executor, CalculationLog& log, AnalysisRecord& record);
MethodResult RunFormMethod(RunExecutor& executor, CalculationLog& log, AnalysisRecord& record,
                           StrengthDistribution strengths);

// The safety factors of runs performed after the first-order ones, in their order. Each run's
// outcome joins the record's; a failing one carries its error there.
std::vector<double> PerformMethodRuns(RunExecutor& executor, std::vector<PlannedRun> runs,
                                      AnalysisRecord& record);

} // namespace zelmora
