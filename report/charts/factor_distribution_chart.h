#pragma once

#include "analysis/methods/sampling_result.h"

#include <string>

namespace zelmora {

// The histogram of the sampled safety factors, or of the surrogate's predicted ones (the share of
// the weight in each bar), and their empirical cumulative distribution, with F = 1 marked. An
// <svg> element of SVG Tiny 1.2 in the style of the sampling chart. Empty without such factors
// (a study saved before they were kept).
std::string FactorDistributionChartSvg(const SamplingResult& result);

} // namespace zelmora
