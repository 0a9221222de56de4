#pragma once

#include "analysis/methods/calculation_log.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/sampling_result.h"
#include "analysis/methods/sampling_settings.h"
#include "analysis/runs/run_executor.h"

#include <optional>
#include <string>

namespace zelmora {

// Sampling runs are numbered apart from the other method runs: sample n is run
// FirstSampleRunId + n.
inline constexpr int FirstSampleRunId = 200000;

// The one sentence that says the failed runs decide the answer.
std::string FailedRunsDecideText();

// Whether FORM's probability lies outside the check's 95 % interval; none when `method` is not
// FORM or has no probability.
std::optional<bool> FormDisagrees(const SamplingResult& result,
                                  const std::optional<MethodResult>& method);

// The sentence that says which way the check departs from FORM, whose probability lies outside
// the check's 95 % interval.
std::string FormDisagreesText(const SamplingResult& result, double formProbability);

// Runs the sampling check after the method, on the same executor. Importance sampling centres
// its samples on FORM's design point, which `method` must hold. A failed run does not end the
// check; more than a tenth of the samples failing does, with an error naming the first failure.
// The samples' strengths are drawn in sample order and the stop rule is judged after every 20,
// so the result for a seed is the same for any number of runs at once.
SamplingResult RunSampling(RunExecutor& executor, CalculationLog& log, const MethodContext& context,
                           const SamplingSettings& settings, StrengthDistribution strengths,
                           const std::optional<MethodResult>& method);

} // namespace zelmora
