#include "analysis/methods/form_method.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/written_value.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/random_variables.h"
#include "analysis/methods/strength_transform.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/project_state.h"
#include "project/value_text.h"

#include <cmath>
#include <numeric>

namespace zelmora {

namespace {

constexpr int MaxIterations = 10;
constexpr double Tolerance = 0.005;

// A point of the iteration as the calculator sees it: the safety factor there and, per
// variable, the value written at the point and the one written for its moved run with that
// run's safety factor. Values in physical units, as read back from the written text.
struct EvaluatedPoint {
    double factor = 0;
    std::vector<double> at;
    std::vector<double> moved;
    std::vector<double> movedFactors;
};

// What the calculator reads for a physical value: for φ the angle of the written sine.
double AsWritten(const RandomVariable& v, double value) {
    return v.friction ? AngleOfWrittenSine(SineOfDegrees(value)) : WrittenValue(value);
}

double Written(const RandomVariable& v, double value) {
    return v.friction ? SineOfDegrees(value) : value;
}

// Lognormal strengths cannot go below 0, so they are suggested only while normal ones are used.
void RequireWritable(const RandomVariable& v, double value, StrengthDistribution strengths) {
    if (v.friction ? value < 0 || value > 90 : value < 0) {
        throw Error("FORM: the design point needs " + Describe(v) + " of " +
                    FormatFixed(value, 0, 4) +
                    (v.friction ? " degrees, whose sine the calculator cannot take"
                                : ", below 0, which the calculator cannot take") +
                    (strengths == StrengthDistribution::Normal
                         ? "; lognormal strengths keep the strengths above 0"
                         : ""));
    }
}

// The first point is the mean, and the first-order runs already give it: the mean-value run
// and each variable's reduced run.
EvaluatedPoint FirstOrderPoint(const std::vector<RandomVariable>& variables) {
    EvaluatedPoint point;
    point.factor = Entry(State.SafetyFactors, 0);
    for (const RandomVariable& v : variables) {
        const double mean = ModificationValue(v.id, Strength::Mean);
        const double reduced = ModificationValue(v.id, Strength::Reduced);
        point.at.push_back(v.friction ? AngleOfWrittenSine(mean) : WrittenValue(mean));
        point.moved.push_back(v.friction ? AngleOfWrittenSine(reduced) : WrittenValue(reduced));
        point.movedFactors.push_back(Entry(State.SafetyFactors, v.id));
    }
    return point;
}

std::vector<std::string> LinesAt(const std::vector<RandomVariable>& variables,
                                 const std::vector<double>& values) {
    std::vector<std::string> lines{FormatInteger(static_cast<int>(variables.size()), 0)};
    for (std::size_t k = 0; k < variables.size(); ++k) {
        lines.push_back(
            ModificationLineWithValue(variables[k].id, Written(variables[k], values[k])));
    }
    return lines;
}

// N + 1 runs side by side: at the point, and with each variable moved by step times σ towards
// lower strength.
EvaluatedPoint EvaluateAt(RunExecutor& executor, const MethodRunRecord& record,
                          const std::vector<RandomVariable>& variables,
                          const std::vector<double>& point, StrengthDistribution strengths) {
    std::vector<PlannedRun> runs{{0, LinesAt(variables, point)}};
    EvaluatedPoint evaluated;
    for (std::size_t k = 0; k < variables.size(); ++k) {
        std::vector<double> moved = point;
        moved[k] -= State.StepSize * variables[k].stdDev;
        RequireWritable(variables[k], moved[k], strengths);
        runs.push_back({0, LinesAt(variables, moved)});
        evaluated.at.push_back(AsWritten(variables[k], point[k]));
        evaluated.moved.push_back(AsWritten(variables[k], moved[k]));
    }
    const std::vector<double> factors = PerformMethodRuns(executor, std::move(runs), record);
    evaluated.factor = factors[0];
    evaluated.movedFactors.assign(factors.begin() + 1, factors.end());
    return evaluated;
}

struct Step {
    double beta;
    double g;
    std::vector<double> alpha;
    std::vector<double> nextPoint; // physical
};

// One HL-RF step from the evaluated point in standard normal space.
Step HasoferLindStep(const EvaluatedPoint& point,
                     const std::vector<StrengthTransform>& transforms) {
    const std::size_t n = transforms.size();
    std::vector<double> u(n);
    std::vector<double> gradient(n);
    for (std::size_t k = 0; k < n; ++k) {
        u[k] = transforms[k].ToStandard(point.at[k]);
        const long double slope =
            CheckedDivide(static_cast<long double>(point.movedFactors[k]) - point.factor,
                          static_cast<long double>(point.moved[k]) - point.at[k]);
        gradient[k] = NarrowToDouble(slope * transforms[k].Slope(point.at[k]));
    }
    const double g = point.factor - 1;
    const double norm =
        std::sqrt(std::inner_product(gradient.begin(), gradient.end(), gradient.begin(), 0.0));
    const double along = std::inner_product(gradient.begin(), gradient.end(), u.begin(), 0.0);
    Step step{NarrowToDouble(CheckedDivide(static_cast<long double>(g) - along, norm)), g, {}, {}};
    // α points where g grows, so a strength has a positive one; the design point lies at -αβ.
    for (std::size_t k = 0; k < n; ++k) {
        // + 0.0 turns the -0 of a variable the factor does not respond to into 0.
        step.alpha.push_back(gradient[k] / norm + 0.0);
        step.nextPoint.push_back(transforms[k].ToPhysical(-step.alpha[k] * step.beta));
    }
    return step;
}

void Conclude(MethodResult& result, const Step& last,
              const std::vector<RandomVariable>& variables) {
    result.beta = last.beta;
    result.probability = NormalTail(last.beta);
    for (std::size_t k = 0; k < variables.size(); ++k) {
        const RandomVariable& v = variables[k];
        result.designPoint.push_back(
            {v.id, v.row, v.friction, v.mean, last.nextPoint[k], last.alpha[k]});
        result.variables.push_back(
            {v.id, std::nullopt, std::nullopt, last.alpha[k] * last.alpha[k]});
    }
}

void LogResult(CalculationLog& log, const MethodResult& result) {
    log.AppendLine("FORM beta: " + FormatFixed(*result.beta, 0, 4));
    log.AppendLine("FORM probability of failure: " + ProbabilityText(result.probability));
    if (!result.converged) {
        log.AppendLine("FORM did not converge in " + FormatInteger(MaxIterations, 0) +
                       " iterations: its beta is the last iteration's");
    }
}

} // namespace

MethodResult RunFormMethod(RunExecutor& executor, CalculationLog& log,
                           const MethodRunRecord& record, StrengthDistribution strengths) {
    const std::vector<RandomVariable> variables = ListedVariables();
    std::vector<StrengthTransform> transforms;
    for (const RandomVariable& v : variables) {
        transforms.emplace_back(v, strengths);
    }
    MethodResult result;
    result.method = Method::Form;
    result.strengths = strengths;
    log.AppendLine("FORM with " + DistributionName(strengths) + " strengths");
    EvaluatedPoint point = FirstOrderPoint(variables);
    for (int iteration = 1;; ++iteration) {
        const Step step = HasoferLindStep(point, transforms);
        result.history.push_back({iteration, step.beta, step.g});
        log.AppendLine("FORM iteration " + FormatInteger(iteration, 0) + ": beta " +
                       FormatFixed(step.beta, 0, 4) + ", g " + FormatFixed(step.g, 0, 4));
        result.iterations = iteration;
        const bool settled = iteration > 1 &&
                             std::abs(step.beta - result.history[iteration - 2].beta) < Tolerance &&
                             std::abs(step.g) < Tolerance;
        if (settled || iteration == MaxIterations) {
            result.converged = settled;
            Conclude(result, step, variables);
            break;
        }
        for (std::size_t k = 0; k < variables.size(); ++k) {
            RequireWritable(variables[k], step.nextPoint[k], strengths);
        }
        point = EvaluateAt(executor, record, variables, step.nextPoint, strengths);
        result.runs += static_cast<int>(variables.size()) + 1;
    }
    LogResult(log, result);
    return result;
}

} // namespace zelmora
