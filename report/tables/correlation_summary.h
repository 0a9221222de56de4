#pragma once

#include "analysis/methods/correlations.h"
#include "analysis/methods/derived_results.h"
#include "report/tables/reliability_summary.h"
#include "report/tables/sensitivity_table.h"

#include <vector>

namespace zelmora {

// The pairs in use with ρ and ρ' side by side, as the window and the report show them; the
// strengths named with their rows' sets.
TextTable CorrelationTable(const std::vector<CorrelationInUse>& pairs, const SoilRows& soil);

// First order's β with correlations and its normal probability, "—" without pairs.
std::vector<SummaryLine> CorrelatedSummary(const DerivedResults& results,
                                           const std::vector<CorrelationInUse>& pairs,
                                           ProbabilityForm probability = ProbabilityText);

} // namespace zelmora
