#include "analysis/methods/standard_normal_draws.h"

#include <cmath>
#include <numbers>

namespace zelmora {

namespace {

constexpr double Ulp53 = 0x1p-53;

} // namespace

StandardNormalDraws::StandardNormalDraws(std::uint64_t seed) : generator_(seed) {}

double StandardNormalDraws::Next() {
    if (spare_) {
        const double value = *spare_;
        spare_.reset();
        return value;
    }
    // u1 in (0, 1], so that its logarithm is finite; u2 in [0, 1).
    const double u1 = static_cast<double>((generator_() >> 11) + 1) * Ulp53;
    const double u2 = static_cast<double>(generator_() >> 11) * Ulp53;
    const double radius = std::sqrt(-2 * std::log(u1));
    const double angle = 2 * std::numbers::pi * u2;
    spare_ = radius * std::sin(angle);
    return radius * std::cos(angle);
}

std::vector<double> StandardNormalDraws::Next(std::size_t count) {
    std::vector<double> values;
    for (std::size_t k = 0; k < count; ++k) {
        values.push_back(Next());
    }
    return values;
}

} // namespace zelmora
