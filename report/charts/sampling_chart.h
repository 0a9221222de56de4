#pragma once

#include "analysis/methods/sampling_result.h"

#include <string>

namespace zelmora {

// The sampling estimate and its 95 % band against the samples taken, at each point where the
// stop rule was judged. An <svg> element of SVG Tiny 1.2 in the style of the iteration chart.
// Empty without a history (as in a study saved before the history was kept).
std::string SamplingChartSvg(const SamplingResult& result);

} // namespace zelmora
