#include "report/charts/probability_axis.h"

#include "report/charts/svg_elements.h"

#include <algorithm>

namespace zelmora {

namespace {

constexpr double Margin = 0.05; // of the span, above the highest band and below the lowest

} // namespace

ProbabilityAxis FitProbabilityAxis(const std::vector<SamplingPoint>& history, int ticks) {
    double lowest = history.front().probability;
    double highest = lowest;
    for (const SamplingPoint& point : history) {
        lowest = std::min({lowest, point.probability, point.interval95[0]});
        highest = std::max({highest, point.probability, point.interval95[1]});
    }
    // A band of no width (no failure in few samples) still gets an axis.
    const double span = std::max(highest - lowest, std::max(highest, 1e-12) * 0.1);
    const double low = std::max(0.0, lowest - Margin * span);
    const double high = highest + Margin * span;
    const double step = RoundStep(high - low, ticks);
    return {low, high, step, StepDecimals(step)};
}

} // namespace zelmora
