#include "analysis/surrogate/classification.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

// A factor just below 1 stays in a bin below 1 whatever the rounding of F · 1000, and the
// points not usable are left out.
TEST(BinnedFactors, BinsKeepTheSideOfFOneAndCountTheUsablePoints) {
    KrigingPrediction prediction;
    prediction.mean.resize(6);
    prediction.mean << 0.9999999999999999, 1.0, 0.9995, 1.0004, 1.0001, 0.5;
    prediction.sigma = Eigen::VectorXd::Zero(6);
    const std::vector<char> usable{1, 1, 1, 1, 1, 0};
    const std::vector<std::array<double, 2>> bins = BinnedFactors(prediction, usable, 1000);
    ASSERT_EQ(bins.size(), 2U);
    EXPECT_DOUBLE_EQ(bins[0][0], 0.9995);
    EXPECT_EQ(bins[0][1], 2);
    EXPECT_DOUBLE_EQ(bins[1][0], 1.0005);
    EXPECT_EQ(bins[1][1], 3);
}

} // namespace
} // namespace zelmora
