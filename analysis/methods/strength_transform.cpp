#include "analysis/methods/strength_transform.h"

#include "project/errors.h"

#include <cmath>

namespace zelmora {

StrengthTransform::StrengthTransform(const RandomVariable& variable,
                                     StrengthDistribution distribution)
    : lognormal_(distribution == StrengthDistribution::Lognormal), mean_(variable.mean),
      stdDev_(variable.stdDev) {
    if (!lognormal_) {
        return;
    }
    if (mean_ <= 0) {
        throw Error("FORM: a lognormal strength needs a mean above 0: " + Describe(variable));
    }
    const double ratio = stdDev_ / mean_;
    zeta_ = std::sqrt(std::log1p(ratio * ratio));
    lambda_ = std::log(mean_) - zeta_ * zeta_ / 2;
}

double StrengthTransform::ToPhysical(double u) const {
    return lognormal_ ? std::exp(lambda_ + zeta_ * u) : mean_ + stdDev_ * u;
}

double StrengthTransform::ToStandard(double x) const {
    return lognormal_ ? (std::log(x) - lambda_) / zeta_ : (x - mean_) / stdDev_;
}

double StrengthTransform::Slope(double x) const {
    return lognormal_ ? zeta_ * x : stdDev_;
}

} // namespace zelmora
