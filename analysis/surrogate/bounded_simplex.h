#pragma once

#include <Eigen/Dense>
#include <functional>

namespace zelmora {

// The least value Nelder and Mead's simplex finds of `f` from `start` within the box
// [lower, upper], every trial point clamped into the box: a few dozen parameters at most, each
// evaluation costly, no derivatives. Deterministic: the same start gives the same steps.
struct SimplexMinimum {
    Eigen::VectorXd at;
    double value = 0;
};

SimplexMinimum MinimizeInBox(const std::function<double(const Eigen::VectorXd&)>& f,
                             const Eigen::VectorXd& start, const Eigen::VectorXd& lower,
                             const Eigen::VectorXd& upper, int evaluations);

} // namespace zelmora
