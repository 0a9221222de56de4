#include "slopecalc/circle_evaluator.h"

#include <limits>

namespace slopecalc {

Evaluation CircleEvaluator::Evaluate(const Circle& circle) {
    ++count_;
    Evaluation evaluation{false, std::numeric_limits<double>::infinity(), {circle, 0, 0}, {}};
    const auto surface = CutGround(model_, circle);
    if (!surface) {
        return evaluation;
    }
    evaluation.surface = *surface;
    cutter_.Cut(*surface, slices_);
    evaluation.slices = static_cast<int>(slices_.size());
    evaluation.bishop = SolveBishop(slices_);
    if (evaluation.bishop.status == BishopStatus::Converged) {
        evaluation.admissible = true;
        evaluation.factor = evaluation.bishop.factor;
    }
    return evaluation;
}

const std::vector<Slice>& CircleEvaluator::SlicesOf(const SlipSurface& surface) {
    cutter_.Cut(surface, slices_);
    return slices_;
}

} // namespace slopecalc
