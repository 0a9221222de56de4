#include "analysis/methods/exact_normal_tail.h"

#include "project/errors.h"

#include <cmath>
#include <numbers>

namespace zelmora {

double NormalTail(double x) {
    return NarrowToDouble(
        0.5L * std::erfc(static_cast<long double>(x) / std::numbers::sqrt2_v<long double>));
}

double LognormalBeta(double meanFactor, double cov) {
    const long double v = cov;
    return NarrowToDouble(std::log(meanFactor / std::sqrt(1 + v * v)) /
                          std::sqrt(std::log1p(v * v)));
}

} // namespace zelmora
