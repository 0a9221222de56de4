#pragma once

#include "analysis/methods/method_result.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/random_variables.h"
#include "analysis/runs/run_executor.h"

#include <string>
#include <vector>

namespace zelmora {

// A point of the FORM iteration as the calculator sees it: the safety factor there and, per
// variable, the value written at the point and the one written for its difference run with that
// run's safety factor. Values in physical units, as read back from the written text.
struct EvaluatedPoint {
    std::vector<double> aimed; // the point asked for, before writing
    double factor = 0;
    std::vector<double> at;
    std::vector<double> moved;
    std::vector<double> movedFactors; // empty until the difference runs are done
};

// The run whose modification file gives every variable its physical value.
PlannedRun RunAt(const SoilRows& soil, const std::vector<RandomVariable>& variables,
                 const std::vector<double>& values);

// The first point is the mean, and the first-order runs already give it: the mean-value run
// and each variable's reduced run.
EvaluatedPoint FirstOrderPoint(const MethodContext& context,
                               const std::vector<RandomVariable>& variables);

// dF/dx per variable, from the differences of the point.
std::vector<double> StrengthSlopes(const EvaluatedPoint& point);

// Runs FORM's points and their differences: one run at the point and one per variable moved by
// step times σ towards lower strength, or towards higher strength where lower would leave what
// the calculator takes.
class FormPointRuns {
public:
    FormPointRuns(RunExecutor& executor, const MethodContext& context,
                  const std::vector<RandomVariable>& variables, StrengthDistribution strengths);

    // The run at an admissible point. With more than one run at a time its difference runs go
    // beside it, so an accepted point needs no second round; with one, they wait for Complete.
    EvaluatedPoint Trial(const std::vector<double>& point);

    // The difference runs of an accepted point that did not have them yet.
    void Complete(EvaluatedPoint& point);
    // Runs the model once at the design point (physical values), keeping the calculator's
    // picture; its safety factor.
    double AtDesignPoint(const std::vector<double>& design);

private:
    std::vector<double> MovedValues(const std::vector<double>& point) const;

    RunExecutor& executor_;
    const MethodContext& context_;
    const std::vector<RandomVariable>& variables_;
    StrengthDistribution strengths_;
};

} // namespace zelmora
