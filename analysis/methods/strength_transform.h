#pragma once

#include "analysis/methods/method_result.h"
#include "analysis/methods/random_variables.h"

namespace zelmora {

// A random strength in standard normal space: x = μ + σu for a normal strength, x = e^(λ + ζu)
// for a lognormal one with the same mean and standard deviation.
class StrengthTransform {
public:
    // Throws when a lognormal strength has no positive mean.
    StrengthTransform(const RandomVariable& variable, StrengthDistribution distribution);

    double ToPhysical(double u) const;
    double ToStandard(double x) const;
    double Slope(double x) const; // dx/du at x

private:
    bool lognormal_;
    double mean_;
    double stdDev_;
    double lambda_ = 0;
    double zeta_ = 0;
};

} // namespace zelmora
