#include "analysis/surrogate/kriging_model.h"

#include "analysis/surrogate/bounded_simplex.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace zelmora {

namespace {

constexpr Eigen::Index Block = 4096;
constexpr double SmallestNugget = 1e-10; // the first one tried where a factor fails
constexpr double NuggetGrowth = 10;
constexpr std::array<double, 3> StartLengths{0.5, 1.5, 4.0};
constexpr double StartNugget = 1e-6;
constexpr double LeastPivot = 1e-7;

using Eigen::MatrixXd;
using Eigen::VectorXd;

MatrixXd Scaled(const MatrixXd& points, const VectorXd& lengths) {
    return points.array().rowwise() / lengths.transpose().array();
}

// Matérn 5/2 of the distances between the rows of a and b, both scaled by the lengths.
MatrixXd Correlation(const MatrixXd& a, const MatrixXd& b) {
    const VectorXd aa = a.rowwise().squaredNorm();
    const VectorXd bb = b.rowwise().squaredNorm();
    MatrixXd squared = (-2 * a * b.transpose()).colwise() + aa;
    squared.rowwise() += bb.transpose();
    const Eigen::ArrayXXd h = std::sqrt(5.0) * squared.array().max(0.0).sqrt();
    return ((1 + h + h.square() / 3) * (-h).exp()).matrix();
}

MatrixXd Trend(const MatrixXd& points) {
    MatrixXd trend(points.rows(), points.cols() + 1);
    trend.col(0).setOnes();
    trend.rightCols(points.cols()) = points;
    return trend;
}

// The profile of the likelihood: β and s² in closed form for these lengths and nugget.
struct Profile {
    Eigen::LLT<MatrixXd> factor;
    MatrixXd trendWhitened;
    Eigen::CompleteOrthogonalDecomposition<MatrixXd> trendGram;
    VectorXd beta;
    VectorXd residualWhitened;
    double variance = 0;
};

bool Factor(const MatrixXd& points, const VectorXd& lengths, double nugget, Profile& profile) {
    const MatrixXd scaled = Scaled(points, lengths);
    MatrixXd covariance = Correlation(scaled, scaled);
    covariance.diagonal().array() += nugget;
    profile.factor.compute(covariance);
    // A pivot this small leaves a factor that amplifies rounding beyond use.
    return profile.factor.info() == Eigen::Success &&
           profile.factor.matrixLLT().diagonal().minCoeff() > LeastPivot;
}

// Generalised least squares of the trend; a trend the points cannot fix (too few or aligned
// points) gets the least-norm coefficients.
void Solve(const MatrixXd& points, const VectorXd& values, Profile& profile) {
    const auto lower = profile.factor.matrixL();
    profile.trendWhitened = lower.solve(Trend(points));
    const VectorXd valuesWhitened = lower.solve(values);
    const Eigen::CompleteOrthogonalDecomposition<MatrixXd> trend(profile.trendWhitened);
    profile.beta = trend.solve(valuesWhitened);
    profile.residualWhitened = valuesWhitened - profile.trendWhitened * profile.beta;
    profile.trendGram.compute(profile.trendWhitened.transpose() * profile.trendWhitened);
    const double n = static_cast<double>(values.size());
    const double scale = 1 + values.squaredNorm() / n;
    // An exact fit leaves no residual; the floor keeps the logarithm finite.
    profile.variance = std::max(profile.residualWhitened.squaredNorm() / n, 1e-24 * scale);
}

double NegativeLogLikelihood(const MatrixXd& points, const VectorXd& values,
                             const VectorXd& lengths, double nugget) {
    Profile profile;
    if (!Factor(points, lengths, nugget, profile)) {
        return std::numeric_limits<double>::infinity();
    }
    Solve(points, values, profile);
    const double logDeterminant = 2 * profile.factor.matrixLLT().diagonal().array().log().sum();
    return static_cast<double>(values.size()) * std::log(profile.variance) + logDeterminant;
}

struct Search {
    Eigen::Index dimension;
    bool nuggetFree;
    VectorXd lower;
    VectorXd upper;
};

Search SearchBox(Eigen::Index dimension, const KrigingBounds& bounds) {
    Search search{dimension, bounds.leastNugget < bounds.mostNugget, {}, {}};
    const Eigen::Index size = dimension + (search.nuggetFree ? 1 : 0);
    search.lower = VectorXd::Constant(size, std::log(bounds.leastLength));
    search.upper = VectorXd::Constant(size, std::log(bounds.mostLength));
    if (search.nuggetFree) {
        search.lower[dimension] = std::log(bounds.leastNugget);
        search.upper[dimension] = std::log(bounds.mostNugget);
    }
    return search;
}

double NuggetOf(const VectorXd& parameters, const Search& search, const KrigingBounds& bounds) {
    return search.nuggetFree ? std::exp(parameters[search.dimension]) : bounds.leastNugget;
}

// The deterministic starts: a few common lengths with a small nugget, then the last fit's.
std::vector<VectorXd> Starts(const Search& search, const KrigingBounds& bounds,
                             const std::optional<VectorXd>& previous) {
    std::vector<VectorXd> starts;
    for (const double length : StartLengths) {
        VectorXd start = VectorXd::Constant(search.lower.size(), std::log(length));
        if (search.nuggetFree) {
            start[search.dimension] = std::log(std::max(StartNugget, bounds.leastNugget));
        }
        starts.push_back(start.cwiseMax(search.lower).cwiseMin(search.upper));
    }
    if (previous && previous->size() == search.lower.size()) {
        starts.push_back(previous->cwiseMax(search.lower).cwiseMin(search.upper));
    }
    return starts;
}

} // namespace

KrigingModel KrigingModel::Fit(const MatrixXd& points, const VectorXd& values,
                               const KrigingBounds& bounds,
                               const std::optional<VectorXd>& previous) {
    const Search search = SearchBox(points.cols(), bounds);
    const auto likelihood = [&](const VectorXd& parameters) {
        const VectorXd lengths = parameters.head(search.dimension).array().exp();
        return NegativeLogLikelihood(points, values, lengths, NuggetOf(parameters, search, bounds));
    };
    const int evaluations =
        static_cast<int>(std::min<Eigen::Index>(40 * (search.lower.size() + 1), 320));
    SimplexMinimum best{Starts(search, bounds, std::nullopt).front(),
                        std::numeric_limits<double>::infinity()};
    for (const VectorXd& start : Starts(search, bounds, previous)) {
        const SimplexMinimum found =
            MinimizeInBox(likelihood, start, search.lower, search.upper, evaluations);
        if (found.value < best.value) {
            best = found;
        }
    }
    const VectorXd lengths = best.at.head(search.dimension).array().exp();
    return KrigingModel(points, values, lengths, NuggetOf(best.at, search, bounds));
}

KrigingModel::KrigingModel(const MatrixXd& points, const VectorXd& values, const VectorXd& lengths,
                           double nugget)
    : points_(points), values_(values), lengths_(lengths), nugget_(nugget) {
    Profile profile;
    while (!Factor(points_, lengths_, nugget_, profile)) {
        nugget_ = std::max(nugget_ * NuggetGrowth, SmallestNugget);
    }
    Solve(points_, values_, profile);
    variance_ = profile.variance;
    factor_ = profile.factor;
    trendWhitened_ = profile.trendWhitened;
    beta_ = profile.beta;
    weights_ = factor_.matrixU().solve(profile.residualWhitened);
    trendGram_ = profile.trendGram;
}

KrigingPrediction KrigingModel::Predict(const MatrixXd& points) const {
    KrigingPrediction prediction{VectorXd(points.rows()), VectorXd(points.rows())};
    const MatrixXd training = Scaled(points_, lengths_);
    for (Eigen::Index first = 0; first < points.rows(); first += Block) {
        const Eigen::Index count = std::min(Block, points.rows() - first);
        const MatrixXd block = points.middleRows(first, count);
        const MatrixXd across = Correlation(Scaled(block, lengths_), training);
        prediction.mean.segment(first, count) = Trend(block) * beta_ + across * weights_;
        const MatrixXd whitened = factor_.matrixL().solve(across.transpose());
        const MatrixXd trendGap = trendWhitened_.transpose() * whitened - Trend(block).transpose();
        const VectorXd trendPart =
            (trendGap.array() * trendGram_.solve(trendGap).array()).colwise().sum().transpose();
        const VectorXd share =
            1 - whitened.colwise().squaredNorm().transpose().array() + trendPart.array();
        prediction.sigma.segment(first, count) = (variance_ * share.array().max(0.0)).sqrt();
    }
    return prediction;
}

// With C = R + τ·I and Q = C⁻¹ − C⁻¹F·(FᵀC⁻¹F)⁻¹·FᵀC⁻¹, the value left out at i is predicted as
// yᵢ − (Q·y)ᵢ / Qᵢᵢ.
VectorXd KrigingModel::LeaveOneOut() const {
    const Eigen::Index n = values_.size();
    const MatrixXd inverse = factor_.solve(MatrixXd::Identity(n, n));
    const MatrixXd projected = factor_.matrixU().solve(trendWhitened_);
    const MatrixXd q = inverse - projected * trendGram_.solve(projected.transpose());
    const VectorXd gaps = q * values_;
    return values_.array() - gaps.array() / q.diagonal().array();
}

double KrigingModel::NoiseSigma() const {
    return std::sqrt(variance_ * nugget_);
}

VectorXd KrigingModel::Parameters() const {
    VectorXd parameters(lengths_.size() + 1);
    parameters.head(lengths_.size()) = lengths_.array().log();
    parameters[lengths_.size()] = std::log(std::max(nugget_, SmallestNugget));
    return parameters;
}

} // namespace zelmora
