#include "analysis/methods/taylor_method.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/written_value.h"
#include "analysis/methods/correlation_matrix.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/first_order_result.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/random_variables.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/value_text.h"

#include <cmath>

namespace zelmora {

namespace {

// The value written for the variable increased by the step, mirroring the reduced one: for φ
// the sine of the mean plus step times the sine of σ (kept below 1 by the checks before the
// first run).
double IncreasedValue(const RandomVariable& v, double stepSize) {
    const long double step = stepSize;
    return NarrowToDouble(v.friction ? SineOfDegrees(v.mean) + step * SineOfDegrees(v.stdDev)
                                     : v.mean + step * v.stdDev);
}

std::vector<PlannedRun> IncreasedRuns(const AnalysisInputs& inputs,
                                      const std::vector<RandomVariable>& variables) {
    std::vector<PlannedRun> runs;
    for (const RandomVariable& v : variables) {
        runs.push_back(RunWriting(inputs.soil, {{v.id, IncreasedValue(v, inputs.stepSize)}}));
    }
    return runs;
}

// σ_F² = Σ_i Σ_j s_i·s_j·ρ_ij, which is Σs² without correlations. The shares stay those of the
// variances s² / Σs²: with correlations a pair's covariance belongs to neither strength alone.
FirstOrderResult Estimate(const std::vector<RandomVariable>& variables,
                          const std::vector<double>& sensitivities, const MethodContext& context,
                          double meanFactor) {
    if (context.correlations.empty()) {
        return FirstOrderResultOf(meanFactor, sensitivities, Precision::Double);
    }
    std::vector<int> ids;
    for (const RandomVariable& v : variables) {
        ids.push_back(v.id);
    }
    const Matrix correlation = CorrelationMatrix(ids, context.correlations, false);
    return FirstOrderResultOf(meanFactor, sensitivities, Precision::Double, &correlation);
}

void AddReliability(MethodResult& result, const FirstOrderResult& estimate) {
    result.beta = estimate.Beta();
    if (!result.beta) {
        return;
    }
    result.probability = NormalTail(*result.beta);
    if (estimate.betaLognormal) {
        result.betaLognormal = estimate.betaLognormal;
        result.lognormalProbability = NormalTail(*result.betaLognormal);
    }
    for (std::size_t k = 0; k < result.variables.size(); ++k) {
        result.variables[k].share = estimate.shares[k];
    }
}

} // namespace

MethodResult RunTaylorMethod(RunExecutor& executor, CalculationLog& log,
                             const MethodContext& context) {
    const std::vector<RandomVariable> variables = ListedVariables(context.inputs);
    std::vector<PlannedRun> runs = IncreasedRuns(context.inputs, variables);
    MethodResult result;
    result.method = Method::Taylor;
    result.runs = static_cast<int>(runs.size());
    log.AppendLine("Taylor series: " + FormatInteger(result.runs, 0) + " runs");
    const std::vector<double> increased = PerformMethodRuns(executor, std::move(runs), context);

    const long double step = context.inputs.stepSize;
    const double meanFactor = Entry(context.firstOrder.safetyFactors, MeanValueRun);
    std::vector<double> sensitivities;
    for (std::size_t k = 0; k < variables.size(); ++k) {
        const long double plus = increased[k];
        const long double minus = Entry(context.firstOrder.safetyFactors, variables[k].id);
        MethodVariable v;
        v.variableId = variables[k].id;
        v.sensitivity = NarrowToDouble(CheckedDivide(plus - minus, 2 * step));
        v.curvature = NarrowToDouble(CheckedDivide(plus + minus - 2.0L * meanFactor, step * step));
        sensitivities.push_back(*v.sensitivity);
        result.variables.push_back(v);
    }
    AddReliability(result, Estimate(variables, sensitivities, context, meanFactor));
    if (result.beta) {
        log.AppendLine("Taylor series beta: " + FormatFixed(*result.beta, 0, 4));
        log.AppendLine("Taylor series probability of failure: " +
                       ProbabilityText(result.probability));
    }
    return result;
}

} // namespace zelmora
