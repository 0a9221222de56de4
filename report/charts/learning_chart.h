#pragma once

#include "analysis/methods/sampling_result.h"

#include <string>

namespace zelmora {

// How the surrogate learned: its estimate and 95 % band after each round against the calculator
// runs it had by then (the method's it started from and its own), one marker a round, so that
// the spacing shows the runs each round made. An <svg> element of SVG Tiny 1.2 in the style of
// the sampling chart. Empty for the other kinds, without a history, or where the history and the
// runs per round do not match round for round.
std::string LearningChartSvg(const SamplingResult& result);

} // namespace zelmora
