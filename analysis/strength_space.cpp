#include "analysis/strength_space.h"

namespace zelmora {

StrengthSpace::StrengthSpace(const std::vector<RandomVariable>& variables,
                             StrengthDistribution strengths) {
    for (const RandomVariable& v : variables) {
        transforms_.emplace_back(v, strengths);
    }
}

std::vector<double> StrengthSpace::ToPhysical(const std::vector<double>& u) const {
    std::vector<double> x;
    for (std::size_t k = 0; k < transforms_.size(); ++k) {
        x.push_back(transforms_[k].ToPhysical(u[k]));
    }
    return x;
}

std::vector<double> StrengthSpace::ToStandard(const std::vector<double>& x) const {
    std::vector<double> u;
    for (std::size_t k = 0; k < transforms_.size(); ++k) {
        u.push_back(transforms_[k].ToStandard(x[k]));
    }
    return u;
}

std::vector<double> StrengthSpace::Gradient(const std::vector<double>& x,
                                            const std::vector<double>& byStrength) const {
    std::vector<double> gradient;
    for (std::size_t k = 0; k < transforms_.size(); ++k) {
        gradient.push_back(byStrength[k] * transforms_[k].Slope(x[k]));
    }
    return gradient;
}

} // namespace zelmora
