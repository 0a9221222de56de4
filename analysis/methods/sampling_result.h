#pragma once

#include "analysis/methods/sampling_settings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// The estimate as it stood at one of the points where the stop rule was judged.
struct SamplingPoint {
    int samples = 0;
    double probability = 0;
    std::array<double, 2> interval95{};
};

// One strength of a sample as drawn: φ in degrees, c in kN/m².
struct DrawnStrength {
    int variableId = 0;
    double value = 0;
};

// A sample with a strength the calculator cannot take, which was not run.
struct InadmissibleSample {
    int number = 0;
    std::vector<DrawnStrength> strengths;
};

// What only the surrogate has: how it learned and how far its classification is trusted.
struct SurrogateFacts {
    int population = 0;     // the Monte Carlo points it classified
    int runs = 0;           // the calculator runs it made itself, failed ones included
    int methodRunsUsed = 0; // the method's runs it trained on
    int rounds = 0;
    bool converged = false;
    std::optional<double> errorEstimate; // relative, of the probability; none where unbounded
    std::string stoppedBy;               // "target-cov", "max-runs" or "population"
    std::vector<int> runsPerRound;
    // At each training point its factor and the mean of the surrogate fitted without it.
    std::vector<std::array<double, 2>> leaveOneOut;
    // The predicted factors of the admissible population in bins of 0.001 from 0: each bin's
    // middle and its points, in the order of F. A bin's middle is below 1 exactly where its
    // points are predicted failed.
    std::vector<std::array<double, 2>> predictedFactors;
};

// What a sampling check found. Nothing in it depends on time or on the runs at once.
struct SamplingResult {
    SamplingKind kind = SamplingKind::MonteCarlo;
    std::uint64_t seed = 1;
    int samples = 0;  // used, failed and inadmissible ones included
    int failures = 0; // samples with F < 1
    int failedRuns = 0;
    std::vector<std::string> errors; // the first three
    int inadmissible = 0;
    double probability = 0; // the lower bound
    std::optional<double> cov;
    std::array<double, 2> interval95{};
    std::array<double, 2> bounds{};
    bool failedRunsDecide = false;
    std::optional<double> beta;         // -Φ⁻¹(p), none for p = 0
    bool stoppedByTarget = false;       // else by the most samples
    std::vector<SamplingPoint> history; // at each point the stop rule was judged
    // Whether FORM's probability lies outside interval95; none when FORM did not run.
    std::optional<bool> formDisagrees;
    std::vector<InadmissibleSample> inadmissibleSamples; // in sample order
    // Of each sample run with a factor, in sample order: F and its weight (1 for Monte Carlo).
    // Empty for the surrogate and for a study saved before they were kept.
    std::vector<std::array<double, 2>> sampledFactors;
    std::optional<SurrogateFacts> surrogate; // for the surrogate only
};

// The factors whose distribution is shown: those sampled, or the surrogate's predicted ones.
inline const std::vector<std::array<double, 2>>& DistributedFactors(const SamplingResult& result) {
    return result.surrogate ? result.surrogate->predictedFactors : result.sampledFactors;
}

// "target-cov" or "most-runs"; the surrogate's own reason.
inline std::string StoppedByName(const SamplingResult& result) {
    if (result.surrogate) {
        return result.surrogate->stoppedBy;
    }
    return result.stoppedByTarget ? "target-cov" : "most-runs";
}

} // namespace zelmora
