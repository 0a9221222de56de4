#include "report/factor_statistics.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zelmora {

namespace {

// A share reached within rounding counts as reached: 1 of 20 equal weights is 5 %.
constexpr double QuantileShare = 0.05 * (1 - 1e-12);

} // namespace

std::vector<std::array<double, 2>> CumulativeShares(std::vector<std::array<double, 2>> factors) {
    std::stable_sort(factors.begin(), factors.end(),
                     [](const auto& a, const auto& b) { return a[0] < b[0]; });
    double total = 0;
    for (const auto& factor : factors) {
        total += factor[1];
    }
    if (!(total > 0)) {
        throw std::invalid_argument("sampled factors without weight");
    }
    double sum = 0;
    for (auto& factor : factors) {
        sum += factor[1];
        factor[1] = sum / total;
    }
    return factors;
}

FactorStatistics FactorStatisticsOf(const std::vector<std::array<double, 2>>& factors) {
    FactorStatistics statistics;
    double total = 0;
    double sum = 0;
    for (const auto& [factor, weight] : factors) {
        total += weight;
        sum += weight * factor;
    }
    if (!(total > 0)) {
        throw std::invalid_argument("sampled factors without weight");
    }
    statistics.mean = sum / total;
    double squares = 0;
    for (const auto& [factor, weight] : factors) {
        squares += weight * (factor - statistics.mean) * (factor - statistics.mean);
    }
    statistics.sigma = std::sqrt(squares / total);
    const std::vector<std::array<double, 2>> shares = CumulativeShares(factors);
    statistics.quantile5 = std::find_if(shares.begin(), shares.end(), [](const auto& s) {
                               return s[1] >= QuantileShare;
                           })->at(0);
    return statistics;
}

} // namespace zelmora
