#pragma once

#include "analysis/methods/method_result.h"
#include "analysis/methods/sampling_result.h"
#include "report/tables/reliability_summary.h"

#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// "Importance sampling at the design point, seed 1" or "Monte Carlo, seed 1".
std::string SamplingHeading(const SamplingResult& result);

// The estimate beside the method's probability, its interval, β, CoV, the samples and how they
// ended, and the bounds and first errors when runs failed: as the window and the report show
// them.
std::vector<SummaryLine> SamplingSummary(const SamplingResult& result,
                                         const std::optional<MethodResult>& method,
                                         ProbabilityForm probability = ProbabilityText);

} // namespace zelmora
