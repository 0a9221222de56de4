#pragma once

#include "analysis/surrogate/kriging_model.h"

#include <optional>
#include <vector>

namespace zelmora {

// The population, its predictions and which of its points may still be run.
struct Candidates {
    const Eigen::MatrixXd& points;
    const KrigingPrediction& prediction;
    const std::vector<char>& open; // admissible and not run yet
};

// The first batch, before any stop test: the points of largest predicted probability of
// failure Φ((1 − μ)/σ), nearer the origin first among equals, no two in directions from the
// origin less than 60° apart; where the batch cannot fill so, that angle is halved.
std::vector<Eigen::Index> SpaceFillingBatch(const Candidates& candidates, double noiseSigma,
                                            int size);

// A learning batch: the points of least U first, none nearer to one taken before than half a
// correlation length (the distance scaled by the kernel's lengths); where the batch cannot fill
// so, that distance is halved.
std::vector<Eigen::Index> LeastCertainBatch(const Candidates& candidates,
                                            const Eigen::VectorXd& lengths, int size);

// The exploratory point: among the open points of the population's outer tenth (by distance
// from the origin), the one farthest from every point in `seen` and in `taken`; none where no point
// is open. It looks where the model has not been, whatever the model believes: a model fitted near
// one mechanism is sure of it everywhere, and the least-U points, all near the boundary it knows,
// never find a second.
std::optional<Eigen::Index> ExploratoryPoint(const Candidates& candidates,
                                             const Eigen::MatrixXd& seen,
                                             const std::vector<Eigen::Index>& taken);

} // namespace zelmora
