// The reliability arithmetic that the first-order log, the derived results, Taylor series and the
// correlated β share: the same bits as each computed before, and the cases without a spread.
#include "analysis/methods/first_order_result.h"
#include "project/errors.h"
#include "tests/analysis/support/earlier_reliability_arithmetic.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

// The bench first_order_grid walks the same grid five times finer.
TEST(FirstOrderResult, GivesTheEarlierValuesToTheLastBitOverAGrid) {
    earlier::Grid grid;
    grid.spacing = 0.05;
    const earlier::Comparison c = earlier::CompareOnGrid(grid);
    EXPECT_EQ(c.analyses, 28256U);
    EXPECT_EQ(c.values, 535198U);
    EXPECT_EQ(c.differ, 0U);
}

TEST(FirstOrderResult, TheWorkedExample) {
    // F_mean 1.5, variables at 1.4 and 1.3, step 1.
    const std::vector<double> sensitivities{FirstOrderSensitivity(1.5, 1.4, 1),
                                            FirstOrderSensitivity(1.5, 1.3, 1)};
    const FirstOrderResult result = FirstOrderResultOf(1.5, sensitivities, Precision::Extended);
    EXPECT_NEAR(result.squares, 0.05, 1e-15);
    EXPECT_NEAR(result.total, 0.3, 1e-15);
    ASSERT_EQ(result.shares.size(), 2U);
    EXPECT_NEAR(result.shares[0], 0.2, 1e-15);
    EXPECT_NEAR(*result.sigma, std::sqrt(0.05), 1e-15);
    EXPECT_NEAR(*result.Beta(), 0.5 / std::sqrt(0.05), 1e-14);
    EXPECT_NEAR(*result.cov, std::sqrt(0.05) / 1.5, 1e-15);
}

// No spread, no β: the derived results show none, and the log's division raises as it always did.
TEST(FirstOrderResult, WithoutASpreadNothingButTheSumsExists) {
    struct Case {
        double meanFactor;
        const char* logError;
    };
    for (const Case& c : {Case{1.5, "Floating point division by zero"},
                          Case{1.0, "Invalid floating point operation"}}) {
        for (const Precision precision : {Precision::Extended, Precision::Double}) {
            const FirstOrderResult result = FirstOrderResultOf(c.meanFactor, {0, 0}, precision);
            EXPECT_EQ(result.squares, 0);
            EXPECT_TRUE(result.shares.empty());
            EXPECT_FALSE(result.sigma || result.cov || result.betaLognormal || result.Beta());
        }
        try {
            ReliabilityIndex(c.meanFactor, 0);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.logError);
        }
    }
    EXPECT_THROW(FirstOrderSensitivity(1.5, 1.4, 0), EZeroDivide);
}

TEST(FirstOrderResult, TheLognormalBetaNeedsAMeanFactorAboveZero) {
    for (const double mean : {-0.5, 0.0}) {
        const FirstOrderResult result = FirstOrderResultOf(mean, {0.1, 0.2}, Precision::Double);
        EXPECT_TRUE(result.Beta());
        EXPECT_FALSE(result.betaLognormal) << mean;
        EXPECT_EQ(result.cov.has_value(), mean != 0) << mean;
    }
}

} // namespace
} // namespace zelmora
