#pragma once

#include "analysis/methods/calculation_log.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/sampling_result.h"
#include "analysis/methods/sampling_settings.h"
#include "analysis/methods/strength_transform.h"
#include "analysis/runs/run_executor.h"

namespace zelmora {

// Runs the surrogate after the method, on the same executor: it trains on every run made so far
// at known strengths (the standard run's are the model's own) and runs its batches through the
// executor, numbered from FirstSampleRunId on, so that they are journaled and taken up again
// after a resume. A point whose modification file would be that of a run made before is not
// run again: its factor is taken.
SamplingResult RunSurrogate(RunExecutor& executor, CalculationLog& log,
                            const MethodContext& context, const SamplingSettings& settings,
                            StrengthDistribution strengths,
                            const std::optional<MethodResult>& method);

} // namespace zelmora
