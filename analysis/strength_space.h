#pragma once

#include "analysis/method_result.h"
#include "analysis/random_variables.h"
#include "analysis/strength_transform.h"

#include <vector>

namespace zelmora {

// The strengths of all random variables as a point u of independent standard normal variables.
class StrengthSpace {
public:
    // Throws when a lognormal strength has no positive mean.
    StrengthSpace(const std::vector<RandomVariable>& variables, StrengthDistribution strengths);

    std::vector<double> ToPhysical(const std::vector<double>& u) const;
    std::vector<double> ToStandard(const std::vector<double>& x) const;

    // ∇g in u at the physical point x, from the derivatives of g by each physical strength.
    std::vector<double> Gradient(const std::vector<double>& x,
                                 const std::vector<double>& byStrength) const;

private:
    std::vector<StrengthTransform> transforms_;
};

} // namespace zelmora
