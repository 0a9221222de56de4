#pragma once

#include "analysis/methods/sampling_result.h"
#include "analysis/methods/sampling_settings.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// A point of standard-normal space whose safety factor is known: a run at known strengths.
struct TrainingPoint {
    std::vector<double> u;
    double factor = 0;
};

// What the calculator made of one point it was asked for.
struct PointRun {
    std::vector<double> u;        // as written, which the written digits may move a little
    std::optional<double> factor; // none: the run failed
    std::string error;            // why it failed
    bool ran = true; // false: its modification file was that of a run made before, not run again
};

// Runs a batch of points in standard-normal space and hands back their outcomes in order.
using BatchCalculator =
    std::function<std::vector<PointRun>(const std::vector<std::vector<double>>& points)>;

struct SurrogateProblem {
    std::size_t dimension = 0;
    std::vector<TrainingPoint> methodRuns; // the method's runs at known strengths
    // Whether the calculator can take a point's strengths; empty: every point.
    std::function<bool(const std::vector<double>& u)> admissible;
    BatchCalculator calculator;
};

// Active-learning kriging over a Monte Carlo population drawn from the seed: rounds of
// settings.batch runs where the sign of F − 1 is least certain, until the misclassified mass
// is small in two consecutive rounds and the population's CoV is at the target, or the most
// runs are spent. Its first 2·d learning rounds each give one run to the point where the model
// knows least near F = 1, and no round counts towards the stop before them: a model that has
// seen one mechanism is sure of it everywhere. Throws when more than a tenth of its own runs
// failed, judged after each round from its 20th run on and when learning stops. Nothing in the
// result depends on the order in which the calculator performs a batch.
SamplingResult LearnProbabilityOfFailure(const SurrogateProblem& problem,
                                         const SamplingSettings& settings);

} // namespace zelmora
