#pragma once

#include "analysis/surrogate/kriging_model.h"

#include <array>
#include <optional>
#include <vector>

namespace zelmora {

// How the surrogate's predictions over the population classify it, and how far that is
// trusted. A point is predicted failed where its mean factor is below 1; it may be
// misclassified with probability Φ(−|μ − 1| / σ), σ with the nugget's noise, so that a point
// within the calculator's resolution of F = 1 counts as uncertain however often it is run.
struct Classification {
    long long population = 0;
    long long failed = 0;          // predicted failed, admissible
    long long inadmissible = 0;    // counted safe, and failed in the upper bound
    long long uncertainFailed = 0; // predicted failed with U < 2, or a failed run's point
    long long uncertainSafe = 0;   // predicted safe with U < 2, or a failed run's point
    long long failedRunsSafe = 0;  // failed runs' points predicted safe
    double leastU = 0;             // over the admissible points; +∞ for none
    // The relative error of the probability from the points that may be misclassified, by
    // Wang and Shafieezadeh's bound at 95 %; none where it is unbounded.
    std::optional<double> errorEstimate;

    double Probability() const;
    // √((1 − p) / (N·p)); none while p = 0.
    std::optional<double> Cov() const;
};

// `usable` marks the admissible points, `failedRun` those whose run failed.
Classification Classify(const KrigingPrediction& prediction, double noiseSigma,
                        const std::vector<char>& usable, const std::vector<char>& failedRun);

// The predicted factors of the points `usable` marks, in bins of 1/perUnit from 0: each bin's
// middle and its points, in the order of F. A point is in the bin below 1 exactly where its mean
// is.
std::vector<std::array<double, 2>> BinnedFactors(const KrigingPrediction& prediction,
                                                 const std::vector<char>& usable, int perUnit);

// Echard's U = |μ − 1| / σ with the noise-free σ: how certain the sign of F − 1 is.
double LearningU(double mean, double sigma);

} // namespace zelmora
