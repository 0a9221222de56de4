#include "analysis/methods/exact_normal_tail.h"

#include "project/errors.h"

#include <cmath>
#include <numbers>

namespace zelmora {

double NormalTail(double x) {
    return NarrowToDouble(
        0.5L * std::erfc(static_cast<long double>(x) / std::numbers::sqrt2_v<long double>));
}

// Newton's rule on ln Φ(-x), which is concave: from any start the steps reach the root from
// above and then approach it monotonically.
double TailQuantile(double p) {
    const long double target = std::log(static_cast<long double>(p));
    long double x = 0;
    for (int step = 0; step < 100; ++step) {
        const long double tail = 0.5L * std::erfc(x / std::numbers::sqrt2_v<long double>);
        const long double density =
            std::exp(-x * x / 2) / std::sqrt(2 * std::numbers::pi_v<long double>);
        const long double change = (std::log(tail) - target) * tail / density;
        x += change;
        if (std::abs(change) < 1e-15L * (1 + std::abs(x))) {
            break;
        }
    }
    return NarrowToDouble(x);
}

double LognormalBeta(double meanFactor, double cov) {
    const long double v = cov;
    return NarrowToDouble(std::log(meanFactor / std::sqrt(1 + v * v)) /
                          std::sqrt(std::log1p(v * v)));
}

} // namespace zelmora
