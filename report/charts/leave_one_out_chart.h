#pragma once

#include "analysis/methods/sampling_result.h"

#include <string>

namespace zelmora {

// The surrogate's leave-one-out check: at each training point its factor against the mean the
// surrogate fitted without it gives there, with the line of perfect agreement and F = 1 on both
// axes, so that a point classified on the wrong side shows in an off-diagonal quarter. An <svg>
// element of SVG Tiny 1.2. Empty without leave-one-out pairs.
std::string LeaveOneOutChartSvg(const SamplingResult& result);

} // namespace zelmora
