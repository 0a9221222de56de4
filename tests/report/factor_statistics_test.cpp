#include "report/factor_statistics.h"

#include <array>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelmora {
namespace {

std::vector<std::array<double, 2>> Equal(int first, int last) {
    std::vector<std::array<double, 2>> factors;
    for (int f = first; f <= last; ++f) {
        factors.push_back({static_cast<double>(f), 1.0});
    }
    return factors;
}

struct Case {
    std::string name;
    std::vector<std::array<double, 2>> factors;
    double mean, sigma, quantile5;
};

TEST(FactorStatistics, MeanSigmaAndQuantileMatchHandComputedValues) {
    const std::vector<Case> cases = {
        {"four equal weights", Equal(1, 4), 2.5, 1.118033988749895, 1},
        // Weights 1 and 3: mean 7/4, variance (0.5625 + 3 · 0.0625) / 4.
        {"weighted pair", {{1, 1}, {2, 3}}, 1.75, 0.4330127018922193, 1},
        // Unsorted; the two lowest hold 4 % of the weight, so the third reaches 5 %.
        {"weighted, quantile past the light tail",
         {{1.2, 0.96}, {0.8, 0.01}, {0.9, 0.03}},
         1.187,
         0.06427285585688564,
         1.2},
        // 1 of 20 is exactly 5 %; 1 of 21 falls short, 2 of 21 reach it.
        {"twenty, the first reaches 5 %", Equal(1, 20), 10.5, 5.766281297335398, 1},
        {"twenty-one, the second reaches 5 %", Equal(1, 21), 11, 6.0553007081949835, 2},
        // Importance weights far from 1 give the same figures as their normalised shares.
        {"scaled weights", {{1, 1e-6}, {2, 3e-6}}, 1.75, 0.4330127018922193, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FactorStatistics statistics = FactorStatisticsOf(c.factors);
        EXPECT_NEAR(statistics.mean, c.mean, 1e-12);
        EXPECT_NEAR(statistics.sigma, c.sigma, 1e-12);
        EXPECT_EQ(statistics.quantile5, c.quantile5);
    }
}

TEST(FactorStatistics, CumulativeSharesAreSortedAndEndAtOne) {
    const auto shares = CumulativeShares({{1.3, 1}, {0.9, 2}, {1.1, 1}});
    ASSERT_EQ(shares.size(), 3U);
    EXPECT_EQ(shares[0][0], 0.9);
    EXPECT_DOUBLE_EQ(shares[0][1], 0.5);
    EXPECT_EQ(shares[1][0], 1.1);
    EXPECT_DOUBLE_EQ(shares[1][1], 0.75);
    EXPECT_EQ(shares[2][0], 1.3);
    EXPECT_DOUBLE_EQ(shares[2][1], 1);
}

TEST(FactorStatistics, NoWeightIsRefused) {
    EXPECT_THROW(FactorStatisticsOf({}), std::invalid_argument);
    EXPECT_THROW(FactorStatisticsOf({{1, 0}}), std::invalid_argument);
}

} // namespace
} // namespace zelmora
