#include "analysis/methods/derived_results.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/first_order_result.h"
#include "analysis/methods/random_variables.h"
#include "analysis/runs/run_plan.h"
#include "project/errors.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelmora {

namespace {

VariableResult Describe(const AnalysisInputs& inputs, const StoredResults& stored, int position,
                        int variable) {
    VariableResult result;
    result.position = position;
    result.variableId = variable;
    const RandomVariable listed = VariableOf(inputs.soil, variable);
    const bool friction = listed.friction;
    result.row = listed.row;
    result.setNumber = listed.setNumber;
    result.parameter = friction ? Parameter::FrictionAngle : Parameter::Cohesion;
    result.mean = listed.mean;
    result.stdDev = listed.stdDev;
    result.reducedValue = ModificationValue(inputs, variable, Strength::Reduced);
    if (friction && std::fabs(result.reducedValue) <= 1) {
        result.reducedAngle =
            NarrowToDouble(std::asin(static_cast<long double>(result.reducedValue)) * 180.0L /
                           std::numbers::pi_v<long double>);
    }
    result.safetyFactor = StoredSafetyFactor(stored, variable);
    return result;
}

// The sensitivities as the analysis computes them; none when a factor or the step is missing.
std::optional<std::vector<double>> Sensitivities(const std::vector<VariableResult>& variables,
                                                 std::optional<double> meanFactor, double step) {
    const bool complete = std::all_of(variables.begin(), variables.end(),
                                      [](const VariableResult& v) { return v.safetyFactor; });
    if (!meanFactor || !complete || step == 0) {
        return std::nullopt;
    }
    std::vector<double> sensitivities;
    for (const VariableResult& v : variables) {
        sensitivities.push_back(FirstOrderSensitivity(*meanFactor, *v.safetyFactor, step));
    }
    return sensitivities;
}

void AddVarianceResults(DerivedResults& results, const FirstOrderResult& estimate,
                        const StoredResults& stored) {
    if (!estimate.sigma) {
        return;
    }
    for (std::size_t k = 0; k < results.variables.size(); ++k) {
        results.variables[k].share = estimate.shares[k];
    }
    results.sigmaF = estimate.sigma;
    results.covF = estimate.cov;
    results.exactProbability = NormalTail(stored.beta);
    if (estimate.betaLognormal) {
        results.betaLognormal = estimate.betaLognormal;
        results.lognormalProbability = NormalTail(*results.betaLognormal);
    }
    if (StoredSafetyFactor(stored, AllReducedRun)) {
        results.linearity = stored.linearity;
    }
}

} // namespace

DerivedResults DeriveResults(const AnalysisInputs& inputs, const StoredResults& stored) {
    DerivedResults results;
    for (std::size_t i = 0; i < inputs.variables.size(); ++i) {
        results.variables.push_back(
            Describe(inputs, stored, static_cast<int>(i) + 1, inputs.variables[i]));
    }
    results.meanFactor = StoredSafetyFactor(stored, MeanValueRun);
    const std::optional<std::vector<double>> sensitivities =
        Sensitivities(results.variables, results.meanFactor, inputs.stepSize);
    if (!sensitivities) {
        return results;
    }
    for (std::size_t k = 0; k < results.variables.size(); ++k) {
        results.variables[k].sensitivity = (*sensitivities)[k];
    }
    AddVarianceResults(results,
                       FirstOrderResultOf(*results.meanFactor, *sensitivities, Precision::Extended),
                       stored);
    return results;
}

DerivedResults DeriveResults(const ProjectState& project) {
    return DeriveResults(InputsOf(project), StoredResultsOf(project));
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
