#include "analysis/surrogate/batch_choice.h"

#include "analysis/methods/exact_normal_tail.h"
#include "analysis/surrogate/classification.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

namespace zelmora {

namespace {

constexpr std::size_t Shortlist = 4000; // the best points the spreading rule looks at
constexpr int Relaxations = 12;
constexpr double LeastAngleCosine = 0.5; // 60°
constexpr double LeastSpacing = 0.5;     // correlation lengths

// The open points ordered by score, the best first, ties by their place in the population.
std::vector<Eigen::Index> Ranked(const std::vector<char>& open,
                                 const std::function<double(Eigen::Index)>& score) {
    std::vector<Eigen::Index> ranked;
    for (std::size_t i = 0; i < open.size(); ++i) {
        if (open[i]) {
            ranked.push_back(static_cast<Eigen::Index>(i));
        }
    }
    const auto better = [&](Eigen::Index a, Eigen::Index b) {
        const double sa = score(a);
        const double sb = score(b);
        return sa < sb || (sa == sb && a < b);
    };
    const std::size_t kept = std::min(Shortlist, ranked.size());
    std::partial_sort(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(kept),
                      ranked.end(), better);
    ranked.resize(kept);
    return ranked;
}

// Takes the ranked points in order, each only where `apart` holds with every one taken, with
// the rule's threshold relaxed until the batch fills.
std::vector<Eigen::Index>
Spread(const std::vector<Eigen::Index>& ranked, int size,
       const std::function<bool(Eigen::Index, Eigen::Index, int)>& apart) {
    const std::size_t wanted = std::min(static_cast<std::size_t>(size), ranked.size());
    std::vector<Eigen::Index> taken;
    for (int relaxed = 0; taken.size() < wanted; ++relaxed) {
        taken.clear();
        for (const Eigen::Index candidate : ranked) {
            const bool free = relaxed >= Relaxations ||
                              std::all_of(taken.begin(), taken.end(), [&](Eigen::Index t) {
                                  return apart(candidate, t, relaxed);
                              });
            if (free) {
                taken.push_back(candidate);
            }
            if (taken.size() == wanted) {
                break;
            }
        }
    }
    return taken;
}

// The least distance from the origin of the outer tenth of the open points.
double OuterShell(const Eigen::VectorXd& norms, const std::vector<char>& open) {
    std::vector<double> openNorms;
    for (std::size_t k = 0; k < open.size(); ++k) {
        if (open[k]) {
            openNorms.push_back(norms[static_cast<Eigen::Index>(k)]);
        }
    }
    if (openNorms.empty()) {
        return 0;
    }
    const auto at = openNorms.begin() + static_cast<std::ptrdiff_t>(openNorms.size() * 9 / 10);
    std::nth_element(openNorms.begin(), at, openNorms.end());
    return *at;
}

} // namespace

std::vector<Eigen::Index> SpaceFillingBatch(const Candidates& candidates, double noiseSigma,
                                            int size) {
    const Eigen::VectorXd norms = candidates.points.rowwise().norm();
    const auto score = [&](Eigen::Index i) {
        const double mean = candidates.prediction.mean[i];
        const double sigma = std::hypot(candidates.prediction.sigma[i], noiseSigma);
        const double failure = sigma > 0 ? NormalTail((mean - 1) / sigma) : (mean < 1 ? 1 : 0);
        // Ties of a saturated probability go to the point nearer the origin.
        return -failure + 1e-12 * norms[i];
    };
    const auto apart = [&](Eigen::Index a, Eigen::Index b, int relaxed) {
        const double cosine = candidates.points.row(a).dot(candidates.points.row(b)) /
                              std::max(norms[a] * norms[b], 1e-300);
        const double angle = std::acos(LeastAngleCosine) / std::pow(2.0, relaxed);
        return cosine <= std::cos(angle);
    };
    return Spread(Ranked(candidates.open, score), size, apart);
}

std::vector<Eigen::Index> LeastCertainBatch(const Candidates& candidates,
                                            const Eigen::VectorXd& lengths, int size) {
    const auto score = [&](Eigen::Index i) {
        return LearningU(candidates.prediction.mean[i], candidates.prediction.sigma[i]);
    };
    const auto apart = [&](Eigen::Index a, Eigen::Index b, int relaxed) {
        const Eigen::VectorXd gap = (candidates.points.row(a) - candidates.points.row(b))
                                        .transpose()
                                        .cwiseQuotient(lengths);
        return gap.norm() >= LeastSpacing / std::pow(2.0, relaxed);
    };
    return Spread(Ranked(candidates.open, score), size, apart);
}

std::optional<Eigen::Index> ExploratoryPoint(const Candidates& candidates,
                                             const Eigen::MatrixXd& seen,
                                             const std::vector<Eigen::Index>& taken) {
    const Eigen::VectorXd norms = candidates.points.rowwise().norm();
    Eigen::MatrixXd known(seen.rows() + static_cast<Eigen::Index>(taken.size()), seen.cols());
    known.topRows(seen.rows()) = seen;
    for (std::size_t k = 0; k < taken.size(); ++k) {
        known.row(seen.rows() + static_cast<Eigen::Index>(k)) = candidates.points.row(taken[k]);
    }
    const double shell = OuterShell(norms, candidates.open);
    std::optional<Eigen::Index> best;
    double bestGap = -1;
    for (std::size_t k = 0; k < candidates.open.size(); ++k) {
        const auto i = static_cast<Eigen::Index>(k);
        if (!candidates.open[k] || norms[i] < shell ||
            std::find(taken.begin(), taken.end(), i) != taken.end()) {
            continue;
        }
        const double gap =
            known.rows() == 0
                ? norms[i]
                : (known.rowwise() - candidates.points.row(i)).rowwise().squaredNorm().minCoeff();
        if (gap > bestGap) {
            bestGap = gap;
            best = i;
        }
    }
    return best;
}

} // namespace zelmora
