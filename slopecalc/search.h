#pragma once

#include "slopecalc/circle_evaluator.h"
#include "slopecalc/model.h"

#include <string>
#include <vector>

namespace slopecalc {

// The best circle found by one stage, and the circles that stage evaluated.
struct StageResult {
    std::string name;
    Evaluation best;
    long circles;
};

// The critical circle over all circles that cut the ground twice within its x-range, stay
// above the bedrock and meet the ground within the model's search limits, where it has them:
// a global grid over entry point, exit point and arc angle, then stages that refine the best
// few distinct grid minima by moves to the best of their 26 neighbours, halving the steps
// from stage to stage.
// Throws InputError when no circle is admissible.
std::vector<StageResult> SearchCriticalCircle(const Model& model);

// The model's own circle as a single stage; throws InputError when it is not admissible.
std::vector<StageResult> EvaluateGivenCircle(const Model& model);

// The given circle when the model names one, the search otherwise.
std::vector<StageResult> Analyse(const Model& model);

} // namespace slopecalc
