#pragma once

#include "analysis/methods/correlation_matrix.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/random_variables.h"
#include "analysis/methods/strength_transform.h"

#include <vector>

namespace zelmora {

// The Cholesky factor L of the correlations of the strengths' standard normal variables z.
Matrix NormalSpaceFactor(const std::vector<RandomVariable>& variables,
                         const std::vector<CorrelationInUse>& correlations);

// The strengths of all random variables as a point u of independent standard normal variables:
// z = L·u are the strengths' own standard normal variables, correlated by L·Lᵀ, and each
// strength follows from its z.
class StrengthSpace {
public:
    // Throws when a lognormal strength has no positive mean. `factor` is the Cholesky factor L
    // of the correlations of z.
    StrengthSpace(const std::vector<RandomVariable>& variables, StrengthDistribution strengths,
                  Matrix factor);

    std::vector<double> ToPhysical(const std::vector<double>& u) const;
    std::vector<double> ToStandard(const std::vector<double>& x) const;

    // ∇g in u at the physical point x, from the derivatives of g by each physical strength.
    std::vector<double> Gradient(const std::vector<double>& x,
                                 const std::vector<double>& byStrength) const;

    // Each strength's importance γ = αᵀ·L⁻¹ / ‖αᵀ·L⁻¹‖ for the direction cosines α in u; α
    // itself without correlations.
    std::vector<double> Importance(const std::vector<double>& alpha) const;

private:
    std::vector<StrengthTransform> transforms_;
    Matrix factor_;
    bool correlated_ = false;
};

} // namespace zelmora
