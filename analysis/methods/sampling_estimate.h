#pragma once

#include <array>
#include <optional>

namespace zelmora {

// Wilson's 95 % interval of a share p of n.
std::array<double, 2> WilsonInterval95(long double p, long double n);

// The probability of failure from samples taken so far, in sample order. Importance sampling
// weighs each sample; Monte Carlo's weights are 1. A sample whose F is unknown (its run failed,
// or its strengths could not be run) counts as safe in the estimate and as failed in the
// upper bound.
class SamplingEstimate {
public:
    explicit SamplingEstimate(bool weighted) : weighted_(weighted) {}

    void Add(double weight, bool below, bool unknown);

    int Samples() const { return samples_; }
    int Failures() const { return failures_; }

    double Probability() const; // the lower bound
    double UpperBound() const;
    // Importance sampling's from the sample variance, Monte Carlo's √((1 - p) / (n·p)); none
    // while p = 0.
    std::optional<double> Cov() const;
    // p ± 1.96·σ/√n clamped at 0 for importance sampling, Wilson's for Monte Carlo and for
    // p = 0.
    std::array<double, 2> Interval95() const;

private:
    bool weighted_;
    int samples_ = 0;
    int failures_ = 0;
    long double sum_ = 0;
    long double squares_ = 0;
    long double upper_ = 0;
};

} // namespace zelmora
