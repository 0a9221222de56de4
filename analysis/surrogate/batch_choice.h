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

// The exploratory point: the open point of largest σ among those predicted within `band` of
// F = 1, none of `taken`; none where there is no such point. It looks where the model has
// not been, which the least-U points, all near the boundary it knows, never do.
std::optional<Eigen::Index> ExploratoryPoint(const Candidates& candidates, double band,
                                             const std::vector<Eigen::Index>& taken);

} // namespace zelmora
