#include "slopecalc/search.h"

#include "slopecalc/input_error.h"
#include "slopecalc/result_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <optional>
#include <utility>

namespace slopecalc {
namespace {

constexpr int GridPoints = 24;        // entry and exit positions along the ground
constexpr int AngleCount = 8;         // half angles of the arc
constexpr double FirstAngle = 5;      // degrees
constexpr double AngleStep = 10;      // degrees
constexpr double SmallestAngle = 0.5; // degrees
constexpr double LargestAngle = 85;   // degrees
constexpr std::size_t Rounds = 9;     // steps from half the grid spacing down to 1/512
constexpr int SeparationSteps = 2;    // grid steps between two kept minima
constexpr int MaximumMoves = 200;     // per candidate and stage
constexpr std::array<std::size_t, 3> KeptCandidates{6, 3, 2};

using Parameters = std::array<double, 3>; // x of both crossings, arc half angle in degrees

struct Candidate {
    Parameters p;
    Evaluation evaluation;
};

struct GridPoint {
    std::array<int, 3> index;
    Candidate candidate;
};

// Where one of the two crossings may lie, and the grid over it.
struct Axis {
    Range range;
    int points; // one for a range that is a single x
    double step;

    Axis(const Range& r, int gridPoints)
        : range(r), points(r.to > r.from ? gridPoints : 1), step((r.to - r.from) / points) {}
    double At(int i) const { return range.from + (i + 0.5) * step; }
};

std::pair<Axis, Axis> CrossingAxes(const Model& model);

class Search {
public:
    explicit Search(const Model& model) : Search(model, CrossingAxes(model)) {}

    std::vector<StageResult> Run();

private:
    Search(const Model& model, const std::pair<Axis, Axis>& axes);

    Candidate At(const Parameters& p);
    bool WithinLimits(const Evaluation& evaluation) const;
    std::vector<Candidate> GlobalStage();
    Candidate Refine(Candidate current, const Parameters& step);
    void RefineStage(std::vector<Candidate>& candidates, const Parameters& step, std::size_t keep,
                     std::vector<StageResult>& stages);
    StageResult Stage(std::string name, const Candidate& best, long before) const;

    CircleEvaluator evaluator_;
    const std::optional<SearchLimits>& limits_;
    double gridStep_; // of the ground's whole x-range
    double tolerance_;
    Axis left_;  // the crossing at the smaller x
    Axis right_; // the crossing at the larger x
};

// The grids of the left and the right crossing: the entry range lies on the crest side, left
// of the exit range on a slope that descends towards larger x.
std::pair<Axis, Axis> CrossingAxes(const Model& model) {
    if (!model.searchLimits) {
        const Range ground{model.Ground().FirstX(), model.Ground().LastX()};
        return {Axis(ground, GridPoints), Axis(ground, GridPoints)};
    }
    const SearchLimits& l = *model.searchLimits;
    const bool entryLeft = l.entry.Middle() < l.exit.Middle();
    return {Axis(entryLeft ? l.entry : l.exit, GridPoints),
            Axis(entryLeft ? l.exit : l.entry, GridPoints)};
}

Search::Search(const Model& model, const std::pair<Axis, Axis>& axes)
    : evaluator_(model), limits_(model.searchLimits),
      gridStep_((model.Ground().LastX() - model.Ground().FirstX()) / GridPoints),
      tolerance_(TouchTolerance * GridPoints * gridStep_), left_(axes.first), right_(axes.second) {}

Candidate Search::At(const Parameters& p) {
    const Candidate outside{
        p, {false, std::numeric_limits<double>::infinity(), {{0, 0, 0}, 0, 0}, {}}};
    if (p[0] < left_.range.from || p[1] > right_.range.to || p[1] - p[0] < 1e-3 * gridStep_ ||
        p[0] > left_.range.to || p[1] < right_.range.from || p[2] < SmallestAngle ||
        p[2] > LargestAngle) {
        return outside;
    }
    const Polyline& ground = evaluator_.ModelInUse().Ground();
    const Circle circle = CircleThroughGround(ground, p[0], p[1], p[2] * std::numbers::pi / 180);
    Candidate candidate{p, evaluator_.Evaluate(circle)};
    if (candidate.evaluation.admissible && !WithinLimits(candidate.evaluation)) {
        candidate.evaluation.admissible = false;
        candidate.evaluation.factor = std::numeric_limits<double>::infinity();
    }
    return candidate;
}

// A circle that slides the other way has its entry where the exit should be.
bool Search::WithinLimits(const Evaluation& evaluation) const {
    return !limits_ || (limits_->entry.Holds(EntryX(evaluation), tolerance_) &&
                        limits_->exit.Holds(ExitX(evaluation), tolerance_));
}

// Keeps the best grid points that lie apart from each other, so that refinement starts in
// every distinct valley and not only in the deepest one.
std::vector<Candidate> DistinctMinima(std::vector<GridPoint> points, std::size_t count) {
    std::sort(points.begin(), points.end(), [](const GridPoint& a, const GridPoint& b) {
        return a.candidate.evaluation.factor < b.candidate.evaluation.factor;
    });
    std::vector<const GridPoint*> kept;
    for (const GridPoint& point : points) {
        const bool apart = std::all_of(kept.begin(), kept.end(), [&](const GridPoint* other) {
            int distance = 0;
            for (std::size_t k = 0; k < 3; ++k) {
                distance = std::max(distance, std::abs(point.index[k] - other->index[k]));
            }
            return distance > SeparationSteps;
        });
        if (apart) {
            kept.push_back(&point);
        }
        if (kept.size() == count) {
            break;
        }
    }
    std::vector<Candidate> minima;
    minima.reserve(kept.size());
    for (const GridPoint* point : kept) {
        minima.push_back(point->candidate);
    }
    return minima;
}

std::vector<Candidate> Search::GlobalStage() {
    std::vector<GridPoint> admissible;
    for (int i = 0; i < left_.points; ++i) {
        for (int j = 0; j < right_.points; ++j) {
            if (!(right_.At(j) > left_.At(i))) {
                continue;
            }
            for (int m = 0; m < AngleCount; ++m) {
                const Candidate c = At({left_.At(i), right_.At(j), FirstAngle + m * AngleStep});
                if (c.evaluation.admissible) {
                    admissible.push_back({{i, j, m}, c});
                }
            }
        }
    }
    return DistinctMinima(std::move(admissible), KeptCandidates[0]);
}

// Moves to the best of the 26 neighbours on the cube of the given steps while that improves:
// the diagonals follow the creases that a circle through the toe leaves in the factor.
Candidate Search::Refine(Candidate current, const Parameters& step) {
    for (int move = 0; move < MaximumMoves; ++move) {
        Candidate best = current;
        for (int d = 0; d < 27; ++d) {
            const std::array<int, 3> direction{d % 3 - 1, d / 3 % 3 - 1, d / 9 - 1};
            Parameters p = current.p;
            bool alongFixed = false;
            for (std::size_t k = 0; k < 3; ++k) {
                p[k] += direction[k] * step[k];
                alongFixed = alongFixed || (direction[k] != 0 && step[k] == 0);
            }
            // A move along a crossing fixed to one x, or no move at all, finds nothing new.
            if (d == 13 || alongFixed) {
                continue;
            }
            const Candidate next = At(p);
            if (next.evaluation.factor < best.evaluation.factor) {
                best = next;
            }
        }
        if (best.evaluation.factor >= current.evaluation.factor) {
            break;
        }
        current = best;
    }
    return current;
}

StageResult Search::Stage(std::string name, const Candidate& best, long before) const {
    return {std::move(name), best.evaluation, evaluator_.Count() - before};
}

void Search::RefineStage(std::vector<Candidate>& candidates, const Parameters& step,
                         std::size_t keep, std::vector<StageResult>& stages) {
    const long before = evaluator_.Count();
    for (Candidate& candidate : candidates) {
        candidate = Refine(candidate, step);
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.evaluation.factor < b.evaluation.factor;
    });
    candidates.resize(std::min(candidates.size(), keep));
    stages.push_back(
        Stage("refinement " + std::to_string(stages.size()), candidates.front(), before));
}

std::vector<StageResult> Search::Run() {
    std::vector<StageResult> stages;
    std::vector<Candidate> candidates = GlobalStage();
    if (candidates.empty()) {
        throw InputError(0, "no circle cuts the ground surface twice above the bedrock");
    }
    stages.push_back(Stage("global grid", candidates.front(), 0));
    Parameters step{left_.step / 2, right_.step / 2, AngleStep / 2};
    for (std::size_t round = 1; round <= Rounds; ++round) {
        RefineStage(candidates, step, round < KeptCandidates.size() ? KeptCandidates[round] : 1,
                    stages);
        for (double& s : step) {
            s /= 2;
        }
    }
    return stages;
}

} // namespace

std::vector<StageResult> SearchCriticalCircle(const Model& model) {
    return Search(model).Run();
}

std::vector<StageResult> EvaluateGivenCircle(const Model& model) {
    CircleEvaluator evaluator(model);
    const Evaluation evaluation = evaluator.Evaluate(*model.circle);
    if (evaluation.surface.xRight <= evaluation.surface.xLeft) {
        throw InputError(0, "the given circle does not cut the ground surface twice within its "
                            "x-range above the bedrock");
    }
    if (!evaluation.admissible) {
        throw InputError(0, "the Bishop iteration fails for the given circle");
    }
    return {{"given circle", evaluation, evaluator.Count()}};
}

std::vector<StageResult> Analyse(const Model& model) {
    return model.circle ? EvaluateGivenCircle(model) : SearchCriticalCircle(model);
}

} // namespace slopecalc
