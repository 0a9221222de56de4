#pragma once

#include "analysis/methods/sampling_result.h"

#include <vector>

namespace zelmora {

// A probability axis that takes in every estimate and band of a history with a little margin,
// no more, and never goes below 0: ticks fall on round steps within it.
struct ProbabilityAxis {
    double low;
    double high;
    double step;
    int decimals; // of the ticks, enough for the step
};

// For a history that is not empty.
ProbabilityAxis FitProbabilityAxis(const std::vector<SamplingPoint>& history, int ticks);

} // namespace zelmora
