#pragma once

#include "analysis/analysis_record.h"

#include <string>

namespace zelmora {

// The report's section of the sampled safety factors: its heading, their mean, σ and 5 %
// quantile and the chart of their histogram and cumulative distribution. Empty without a
// sampling check that kept its factors.
std::string DistributionSectionHtml(const AnalysisRecord* record);

} // namespace zelmora
