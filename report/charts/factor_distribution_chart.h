#pragma once

#include "analysis/methods/sampling_result.h"

#include <string>

namespace zelmora {

// The histogram of the sampled safety factors (the share of the weight in each bar) and their
// empirical cumulative distribution, with F = 1 marked. An <svg> element of SVG Tiny 1.2 in the
// style of the sampling chart. Empty without sampled factors (the surrogate; a study saved
// before they were kept).
std::string FactorDistributionChartSvg(const SamplingResult& result);

} // namespace zelmora
