#pragma once

#include "analysis/methods/sampling_result.h"
#include "report/tables/reliability_summary.h"

#include <vector>

namespace zelmora {

// "Distribution of the safety factor"
extern const char* const FactorDistributionHeading;

// The sampled factors' count, their weighting, mean, σ and 5 % quantile, and the samples left
// out for want of a factor, as the window and the report show them. Empty without sampled
// factors.
std::vector<SummaryLine> FactorDistributionSummary(const SamplingResult& result);

} // namespace zelmora
