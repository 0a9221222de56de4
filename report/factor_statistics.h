#pragma once

#include <array>
#include <vector>

namespace zelmora {

// The mean, σ and 5 % quantile of sampled safety factors, each given as (F, weight). The weights
// are normalised by their sum, so that Monte Carlo's weights of 1 give the plain sample figures
// (σ with n, not n − 1, in the denominator) and importance sampling's the target distribution.
struct FactorStatistics {
    double mean = 0;
    double sigma = 0;
    double quantile5 = 0; // the least F whose cumulative share reaches 5 %
};

// The factors need not be sorted; there must be at least one with a positive weight.
FactorStatistics FactorStatisticsOf(const std::vector<std::array<double, 2>>& factors);

// The factors sorted by F with the cumulative share of the weight up to and including each.
std::vector<std::array<double, 2>> CumulativeShares(std::vector<std::array<double, 2>> factors);

} // namespace zelmora
