#include "analysis/methods/strength_space.h"

#include <cmath>
#include <utility>

namespace zelmora {

Matrix NormalSpaceFactor(const std::vector<RandomVariable>& variables,
                         const std::vector<CorrelationInUse>& correlations) {
    std::vector<int> ids;
    for (const RandomVariable& v : variables) {
        ids.push_back(v.id);
    }
    return CholeskyFactor(CorrelationMatrix(ids, correlations, true));
}

StrengthSpace::StrengthSpace(const std::vector<RandomVariable>& variables,
                             StrengthDistribution strengths, Matrix factor)
    : factor_(std::move(factor)) {
    for (std::size_t i = 0; i < factor_.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            correlated_ = correlated_ || factor_[i][j] != 0;
        }
    }
    for (const RandomVariable& v : variables) {
        transforms_.emplace_back(v, strengths);
    }
}

std::vector<double> StrengthSpace::ToPhysical(const std::vector<double>& u) const {
    std::vector<double> x;
    for (std::size_t i = 0; i < transforms_.size(); ++i) {
        double z = 0;
        for (std::size_t j = 0; j <= i; ++j) {
            z += factor_[i][j] * u[j];
        }
        x.push_back(transforms_[i].ToPhysical(z));
    }
    return x;
}

// u = L⁻¹·z by forward substitution.
std::vector<double> StrengthSpace::ToStandard(const std::vector<double>& x) const {
    std::vector<double> u;
    for (std::size_t i = 0; i < transforms_.size(); ++i) {
        double z = transforms_[i].ToStandard(x[i]);
        for (std::size_t j = 0; j < i; ++j) {
            z -= factor_[i][j] * u[j];
        }
        u.push_back(z / factor_[i][i]);
    }
    return u;
}

// ∂g/∂u = Lᵀ·∂g/∂z.
std::vector<double> StrengthSpace::Gradient(const std::vector<double>& x,
                                            const std::vector<double>& byStrength) const {
    const std::size_t n = transforms_.size();
    std::vector<double> gradient(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double byZ = byStrength[i] * transforms_[i].Slope(x[i]);
        for (std::size_t j = 0; j <= i; ++j) {
            gradient[j] += factor_[i][j] * byZ;
        }
    }
    return gradient;
}

// γ solves Lᵀ·γ = α, by back substitution, and is then normalised.
std::vector<double> StrengthSpace::Importance(const std::vector<double>& alpha) const {
    if (!correlated_) {
        return alpha;
    }
    const std::size_t n = alpha.size();
    std::vector<double> gamma(n, 0.0);
    double squares = 0;
    for (std::size_t i = n; i-- > 0;) {
        double value = alpha[i];
        for (std::size_t j = i + 1; j < n; ++j) {
            value -= factor_[j][i] * gamma[j];
        }
        gamma[i] = value / factor_[i][i];
        squares += gamma[i] * gamma[i];
    }
    const double norm = std::sqrt(squares);
    for (double& value : gamma) {
        // + 0.0 turns the -0 of a variable the factor does not respond to into 0.
        value = value / norm + 0.0;
    }
    return gamma;
}

} // namespace zelmora
