#pragma once

#include <Eigen/Dense>
#include <optional>

namespace zelmora {

// The bounds of the hyperparameters: each correlation length, in the units of the points, and
// the nugget as a share of the process variance. Least and most nugget 0 fit without one.
struct KrigingBounds {
    double leastLength = 0.05;
    double mostLength = 50;
    double leastNugget = 1e-10;
    double mostNugget = 0.1;
};

// The kriging predictions at a set of points: the mean and the noise-free standard deviation
// (the surrogate's own uncertainty, without the nugget).
struct KrigingPrediction {
    Eigen::VectorXd mean;
    Eigen::VectorXd sigma;
};

// Gaussian-process regression with a linear trend and an anisotropic Matérn-5/2 kernel:
// y = f(x)ᵀβ + Z(x) + ε, Z of variance s² and correlation lengths ℓ, ε of variance s²·τ.
// The lengths and the nugget τ maximise the likelihood, with β and s² in closed form.
class KrigingModel {
public:
    // Fits the model to the rows of `points` and their values; `previous` (log lengths, then log
    // nugget) is one more start of the search. Never throws for crowded or repeated points: a
    // covariance that is not positive definite gets a larger nugget.
    static KrigingModel Fit(const Eigen::MatrixXd& points, const Eigen::VectorXd& values,
                            const KrigingBounds& bounds = {},
                            const std::optional<Eigen::VectorXd>& previous = std::nullopt);

    // At each row of `points`, in blocks so that a large population needs little memory.
    KrigingPrediction Predict(const Eigen::MatrixXd& points) const;

    // At each training point, the mean of the model fitted to the others (the same
    // hyperparameters), in closed form.
    Eigen::VectorXd LeaveOneOut() const;

    const Eigen::VectorXd& Lengths() const { return lengths_; }
    double Nugget() const { return nugget_; }
    // The standard deviation of the noise, in the units of the values.
    double NoiseSigma() const;
    // Log lengths, then the log nugget: a start for the next fit.
    Eigen::VectorXd Parameters() const;

private:
    KrigingModel(const Eigen::MatrixXd& points, const Eigen::VectorXd& values,
                 const Eigen::VectorXd& lengths, double nugget);

    Eigen::MatrixXd points_;
    Eigen::VectorXd values_;
    Eigen::VectorXd lengths_;
    double nugget_ = 0;
    double variance_ = 0;
    Eigen::LLT<Eigen::MatrixXd> factor_; // of R + τ·I
    Eigen::MatrixXd trendWhitened_;      // L⁻¹·F
    Eigen::VectorXd beta_;
    Eigen::VectorXd weights_; // (R + τ·I)⁻¹·(y − F·β)
    Eigen::CompleteOrthogonalDecomposition<Eigen::MatrixXd> trendGram_; // of Fᵀ·C⁻¹·F
};

} // namespace zelmora
