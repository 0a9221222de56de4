#include "analysis/methods/approximate_tail_probability.h"
#include "analysis/methods/exact_normal_tail.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

struct TailCase {
    double x;
    double expected;
    double tolerance; // half a unit of the last digit given
};

TEST(TailProbability, MatchesTheReferenceValues) {
    const TailCase cases[] = {
        {0, 0.4998612, 5e-8},
        {1, 0.1587151, 5e-8},
        {2, 0.0227452, 5e-8},
        {2.5, 0.00620806, 5e-9},
        {3, 0.0013459, 5e-8},
        {4, 3.06732e-5, 5e-11},
        {5, 3.40748e-7, 5e-13},
        {std::nextafter(2.5, 0.0), 0.0061547, 5e-8},
        {std::nextafter(4.0, 0.0), 1.14e-5, 5e-8},
        {-1, 0.8412849, 5e-8},
        {-3, 0.9986541, 5e-8},
    };
    for (const TailCase& c : cases) {
        EXPECT_NEAR(TailProbability(c.x), c.expected, c.tolerance) << "x = " << c.x;
    }
}

TEST(TailProbability, IsExactAtZeroForBothSigns) {
    EXPECT_EQ(TailProbability(0.0), static_cast<double>(0.4998612L));
    EXPECT_EQ(TailProbability(-0.0), static_cast<double>(0.4998612L));
}

TEST(TailProbability, StaysAProbabilityForNegativeArguments) {
    for (double x = -10; x < 0; x += 0.125) {
        EXPECT_GE(TailProbability(x), 0.5) << "x = " << x;
        EXPECT_LE(TailProbability(x), 1.0) << "x = " << x;
        EXPECT_NEAR(TailProbability(x) + TailProbability(-x), 1.0, 1e-15) << "x = " << x;
    }
}

TEST(TailProbability, DecaysToZeroForLargeArguments) {
    EXPECT_EQ(TailProbability(1e300), 0.0);
    EXPECT_EQ(TailProbability(-1e300), 1.0);
    EXPECT_GT(TailProbability(100), 0.0);
}

// β = -Φ⁻¹(p) undoes the exact tail across the probabilities sampling gives.
TEST(TailQuantile, UndoesTheExactNormalTail) {
    for (const double beta : {-3.0, -0.5, 0.0, 1e-9, 0.7, 1.6232, 2.5, 4.0, 7.5, 12.0}) {
        const double p = NormalTail(beta);
        EXPECT_NEAR(TailQuantile(p), beta, 1e-12 * (1 + std::abs(beta))) << "beta = " << beta;
    }
    EXPECT_NEAR(TailQuantile(0.05), 1.6448536269514722, 1e-14);
}

} // namespace
} // namespace zelmora
