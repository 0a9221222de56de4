#include "analysis/methods/standard_normal_draws.h"
#include "analysis/surrogate/kriging_model.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;

MatrixXd NormalPoints(int count, int dimension, std::uint64_t seed) {
    StandardNormalDraws draws(seed);
    MatrixXd points(count, dimension);
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < dimension; ++k) {
            points(i, k) = draws.Next();
        }
    }
    return points;
}

VectorXd Values(const MatrixXd& points, const std::function<double(double, double)>& f) {
    VectorXd values(points.rows());
    for (Eigen::Index i = 0; i < points.rows(); ++i) {
        values[i] = f(points(i, 0), points(i, 1));
    }
    return values;
}

double Smooth(double x, double y) {
    return 1.2 + 0.15 * x - 0.1 * y + 0.05 * std::sin(1.5 * x) * std::cos(y);
}

TEST(KrigingModel, ReproducesASmoothFunctionAwayFromAndAtItsPoints) {
    const MatrixXd training = NormalPoints(40, 2, 3);
    const KrigingModel model = KrigingModel::Fit(training, Values(training, Smooth));
    const MatrixXd elsewhere = NormalPoints(500, 2, 11) * 0.8;
    const KrigingPrediction prediction = model.Predict(elsewhere);
    const VectorXd exact = Values(elsewhere, Smooth);
    const VectorXd gaps = prediction.mean - exact;
    EXPECT_LT(std::sqrt(gaps.squaredNorm() / static_cast<double>(gaps.size())), 0.005);
    EXPECT_LT(gaps.cwiseAbs().maxCoeff(), 0.04);
    // The σ it claims covers the error it makes.
    EXPECT_LT(
        ((prediction.mean - exact).array().abs() / (prediction.sigma.array() + 1e-12)).maxCoeff(),
        5);
    const KrigingPrediction atPoints = model.Predict(training);
    EXPECT_LT(atPoints.sigma.maxCoeff(), 1e-3);
    EXPECT_LT((model.LeaveOneOut() - Values(training, Smooth)).cwiseAbs().maxCoeff(), 0.03);
}

TEST(KrigingModel, TheLinearTrendTakesALinearFunctionWhole) {
    const MatrixXd training = NormalPoints(6, 2, 5);
    const auto linear = [](double x, double y) { return 1.4 + 0.3 * x - 0.2 * y; };
    const KrigingModel model = KrigingModel::Fit(training, Values(training, linear));
    const MatrixXd far = NormalPoints(100, 2, 7) * 3;
    const KrigingPrediction prediction = model.Predict(far);
    EXPECT_LT((prediction.mean - Values(far, linear)).cwiseAbs().maxCoeff(), 1e-6);
    EXPECT_LT(prediction.sigma.maxCoeff(), 1e-4);
    EXPECT_LT((model.LeaveOneOut() - Values(training, linear)).cwiseAbs().maxCoeff(), 1e-6);
}

// A strength-reduction factor known to 0.01: the nugget takes the rounding, whose standard
// deviation is 0.01/√12 ≈ 0.0029.
TEST(KrigingModel, TheNuggetEstimatesTheResolutionOfRoundedValues) {
    const MatrixXd training = NormalPoints(60, 2, 13);
    const auto rounded = [](double x, double y) { return std::round(100 * Smooth(x, y)) / 100; };
    const KrigingModel model = KrigingModel::Fit(training, Values(training, rounded));
    EXPECT_GT(model.NoiseSigma(), 0.001);
    EXPECT_LT(model.NoiseSigma(), 0.008);
}

struct Degenerate {
    const char* name;
    std::function<MatrixXd()> points;
    KrigingBounds bounds;
};

TEST(KrigingModel, RepeatedOrCrowdedPointsAndANuggetOfZeroDoNotAbort) {
    const auto repeated = [] {
        MatrixXd points = NormalPoints(12, 2, 17);
        points.row(5) = points.row(2);
        points.row(9) = points.row(2);
        return points;
    };
    const auto crowded = [] {
        MatrixXd points = NormalPoints(12, 2, 19);
        for (int i = 6; i < 12; ++i) {
            points.row(i) = points.row(0).array() + 1e-9 * i;
        }
        return points;
    };
    const auto fewerThanTheTrend = [] { return NormalPoints(2, 2, 23); };
    const KrigingBounds noNugget{0.05, 50, 0, 0};
    const std::vector<Degenerate> cases{{"repeated", repeated, {}},
                                        {"repeated, nugget 0", repeated, noNugget},
                                        {"crowded", crowded, {}},
                                        {"crowded, nugget 0", crowded, noNugget},
                                        {"fewer points than the trend", fewerThanTheTrend, {}}};
    for (const Degenerate& c : cases) {
        SCOPED_TRACE(c.name);
        const MatrixXd points = c.points();
        // Repeated points get different values, as two runs of a noisy calculator may.
        VectorXd values = Values(points, Smooth);
        values[values.size() - 1] += 0.01;
        const KrigingModel model = KrigingModel::Fit(points, values, c.bounds);
        const KrigingPrediction prediction = model.Predict(NormalPoints(50, 2, 29));
        EXPECT_TRUE(prediction.mean.allFinite());
        EXPECT_TRUE(prediction.sigma.allFinite());
        if (points.rows() > points.cols() + 1) {
            EXPECT_TRUE(model.LeaveOneOut().allFinite());
        }
        EXPECT_LT((prediction.mean - Values(NormalPoints(50, 2, 29), Smooth)).cwiseAbs().maxCoeff(),
                  1.0);
    }
}

} // namespace
} // namespace zelmora
