#pragma once

#include "slopecalc/bishop.h"
#include "slopecalc/model.h"
#include "slopecalc/slices.h"
#include "slopecalc/slip_surface.h"

#include <vector>

namespace slopecalc {

struct Evaluation {
    bool admissible;
    double factor; // infinity when not admissible
    SlipSurface surface;
    BishopResult bishop;
    int slices = 0; // how many the surface was cut into
};

// Evaluates circles of one model and counts them; keeps its slice buffer between calls.
class CircleEvaluator {
public:
    explicit CircleEvaluator(const Model& model) : model_(model), cutter_(model) {}

    Evaluation Evaluate(const Circle& circle);
    const std::vector<Slice>& SlicesOf(const SlipSurface& surface);
    long Count() const { return count_; }
    const Model& ModelInUse() const { return model_; }

private:
    const Model& model_;
    SliceCutter cutter_;
    std::vector<Slice> slices_;
    long count_ = 0;
};

} // namespace slopecalc
