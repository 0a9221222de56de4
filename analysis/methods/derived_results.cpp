#include "analysis/methods/derived_results.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/random_variables.h"
#include "analysis/runs/run_plan.h"
#include "project/errors.h"
#include "project/project_state.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelmora {

namespace {

VariableResult Describe(int position, int variable) {
    VariableResult result;
    result.position = position;
    result.variableId = variable;
    const RandomVariable listed = VariableOf(variable);
    const bool friction = listed.friction;
    result.row = listed.row;
    result.setNumber = listed.setNumber;
    result.parameter = friction ? Parameter::FrictionAngle : Parameter::Cohesion;
    result.mean = listed.mean;
    result.stdDev = listed.stdDev;
    result.reducedValue = ModificationValue(variable, Strength::Reduced);
    if (friction && std::fabs(result.reducedValue) <= 1) {
        result.reducedAngle =
            NarrowToDouble(std::asin(static_cast<long double>(result.reducedValue)) * 180.0L /
                           std::numbers::pi_v<long double>);
    }
    result.safetyFactor = StoredSafetyFactor(variable);
    return result;
}

// The sensitivities as the analysis computes them; false when a factor or the step is missing.
bool AddSensitivities(std::vector<VariableResult>& variables, std::optional<double> meanFactor) {
    const bool complete = std::all_of(variables.begin(), variables.end(),
                                      [](const VariableResult& v) { return v.safetyFactor; });
    if (!meanFactor || !complete || State.StepSize == 0) {
        return false;
    }
    for (VariableResult& v : variables) {
        v.sensitivity = NarrowToDouble((static_cast<long double>(*meanFactor) - *v.safetyFactor) /
                                       State.StepSize);
    }
    return true;
}

// Σs², summed in the analysis's order and precision.
double SumOfSquares(const std::vector<VariableResult>& variables) {
    double squares = 0;
    for (const VariableResult& v : variables) {
        squares = NarrowToDouble(static_cast<long double>(squares) +
                                 static_cast<long double>(*v.sensitivity) * *v.sensitivity);
    }
    return squares;
}

void AddLognormal(DerivedResults& results, double meanFactor) {
    if (meanFactor <= 0) {
        return;
    }
    results.betaLognormal = LognormalBeta(meanFactor, *results.covF);
    results.lognormalProbability = NormalTail(*results.betaLognormal);
}

void AddVarianceResults(DerivedResults& results, double meanFactor) {
    const double squares = SumOfSquares(results.variables);
    if (squares == 0) {
        return;
    }
    for (VariableResult& v : results.variables) {
        v.share =
            NarrowToDouble(static_cast<long double>(*v.sensitivity) * *v.sensitivity / squares);
    }
    results.sigmaF = NarrowToDouble(std::sqrt(static_cast<long double>(squares)));
    results.covF = NarrowToDouble(static_cast<long double>(*results.sigmaF) / meanFactor);
    results.exactProbability = NormalTail(State.Beta);
    AddLognormal(results, meanFactor);
    if (StoredSafetyFactor(AllReducedRun)) {
        results.linearity = State.Linearity;
    }
}

} // namespace

std::optional<double> StoredSafetyFactor(int key) {
    const double factor = Entry(State.SafetyFactors, key);
    return factor != 0 ? std::optional<double>(factor) : std::nullopt;
}

DerivedResults DeriveResults() {
    DerivedResults results;
    const std::vector<int> variables = RandomVariables();
    for (std::size_t i = 0; i < variables.size(); ++i) {
        results.variables.push_back(Describe(static_cast<int>(i) + 1, variables[i]));
    }
    const std::optional<double> meanFactor = StoredSafetyFactor(MeanValueRun);
    if (AddSensitivities(results.variables, meanFactor)) {
        AddVarianceResults(results, *meanFactor);
    }
    return results;
}

std::vector<VariableResult> ByShare(const DerivedResults& results) {
    std::vector<VariableResult> sorted = results.variables;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const VariableResult& a, const VariableResult& b) {
                         return a.share.value_or(0) > b.share.value_or(0);
                     });
    return sorted;
}

} // namespace zelmora
