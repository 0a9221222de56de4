#include "analysis/methods/taylor_method.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/written_value.h"
#include "analysis/methods/correlation_matrix.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/random_variables.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/project_state.h"
#include "project/value_text.h"

#include <cmath>

namespace zelmora {

namespace {

// The value written for the variable increased by the step, mirroring the reduced one: for φ
// the sine of the mean plus step times the sine of σ (kept below 1 by the checks before the
// first run).
double IncreasedValue(const RandomVariable& v) {
    const long double step = State.StepSize;
    return NarrowToDouble(v.friction ? SineOfDegrees(v.mean) + step * SineOfDegrees(v.stdDev)
                                     : v.mean + step * v.stdDev);
}

std::vector<PlannedRun> IncreasedRuns(const std::vector<RandomVariable>& variables) {
    std::vector<PlannedRun> runs;
    for (const RandomVariable& v : variables) {
        runs.push_back(RunWriting({{v.id, IncreasedValue(v)}}));
    }
    return runs;
}

// σ_F² = Σ_i Σ_j s_i·s_j·ρ_ij, which is Σs² without correlations.
double CorrelatedSpread(const std::vector<RandomVariable>& variables,
                        const std::vector<double>& sensitivities, const MethodContext& context,
                        double squares) {
    if (context.correlations.empty()) {
        return squares;
    }
    std::vector<int> ids;
    for (const RandomVariable& v : variables) {
        ids.push_back(v.id);
    }
    return CorrelatedVariance(sensitivities, CorrelationMatrix(ids, context.correlations, false));
}

// The shares stay those of the variances s² / Σs²: with correlations a pair's covariance
// belongs to neither strength alone.
void AddReliability(MethodResult& result, double meanFactor, double squares, double variance) {
    if (squares <= 0 || variance <= 0) {
        return;
    }
    const double sigma = NarrowToDouble(std::sqrt(static_cast<long double>(variance)));
    result.beta = NarrowToDouble((static_cast<long double>(meanFactor) - 1) / sigma);
    result.probability = NormalTail(*result.beta);
    if (meanFactor > 0) {
        result.betaLognormal = LognormalBeta(meanFactor, sigma / meanFactor);
        result.lognormalProbability = NormalTail(*result.betaLognormal);
    }
    for (MethodVariable& v : result.variables) {
        v.share = *v.sensitivity * *v.sensitivity / squares;
    }
}

} // namespace

MethodResult RunTaylorMethod(RunExecutor& executor, CalculationLog& log,
                             const MethodContext& context) {
    const std::vector<RandomVariable> variables = ListedVariables();
    std::vector<PlannedRun> runs = IncreasedRuns(variables);
    MethodResult result;
    result.method = Method::Taylor;
    result.runs = static_cast<int>(runs.size());
    log.AppendLine("Taylor series: " + FormatInteger(result.runs, 0) + " runs");
    const std::vector<double> increased = PerformMethodRuns(executor, std::move(runs), context);

    const long double step = State.StepSize;
    const double meanFactor = Entry(State.SafetyFactors, 0);
    double squares = 0;
    std::vector<double> sensitivities;
    for (std::size_t k = 0; k < variables.size(); ++k) {
        const long double plus = increased[k];
        const long double minus = Entry(State.SafetyFactors, variables[k].id);
        MethodVariable v;
        v.variableId = variables[k].id;
        v.sensitivity = NarrowToDouble(CheckedDivide(plus - minus, 2 * step));
        v.curvature = NarrowToDouble(CheckedDivide(plus + minus - 2.0L * meanFactor, step * step));
        squares += *v.sensitivity * *v.sensitivity;
        sensitivities.push_back(*v.sensitivity);
        result.variables.push_back(v);
    }
    AddReliability(result, meanFactor, squares,
                   CorrelatedSpread(variables, sensitivities, context, squares));
    if (result.beta) {
        log.AppendLine("Taylor series beta: " + FormatFixed(*result.beta, 0, 4));
        log.AppendLine("Taylor series probability of failure: " +
                       ProbabilityText(result.probability));
    }
    return result;
}

} // namespace zelmora
