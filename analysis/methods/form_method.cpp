#include "analysis/methods/form_method.h"

#include "analysis/methods/admissible_strength.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/form_points.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/strength_space.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/value_text.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zelmora {

namespace {

constexpr int MaxIterations = 10;
constexpr double Tolerance = 0.005;
constexpr int MaxHalvings = 8;
constexpr double ArmijoFactor = 0.5;

double Dot(const std::vector<double>& a, const std::vector<double>& b) {
    return std::inner_product(a.begin(), a.end(), b.begin(), 0.0);
}

// The iteration's state at an evaluated point, in standard normal space.
struct Linearisation {
    std::vector<double> u;
    double g = 0;
    std::vector<double> gradient;
};

Linearisation Linearise(const EvaluatedPoint& point, const StrengthSpace& space) {
    return {space.ToStandard(point.at), point.factor - 1,
            space.Gradient(point.at, StrengthSlopes(point))};
}

struct Step {
    double beta;
    std::vector<double> alpha;
    std::vector<double> target; // the HL-RF point -αβ
};

// The HL-RF step: the point of the linearised limit state nearest the origin.
Step HasoferLindStep(const Linearisation& at) {
    const double norm = std::sqrt(Dot(at.gradient, at.gradient));
    Step step{NarrowToDouble(
                  CheckedDivide(static_cast<long double>(at.g) - Dot(at.gradient, at.u), norm)),
              {},
              {}};
    // α points where g grows, so a strength has a positive one; the design point lies at -αβ.
    for (double component : at.gradient) {
        // + 0.0 turns the -0 of a variable the factor does not respond to into 0.
        step.alpha.push_back(component / norm + 0.0);
        step.target.push_back(-step.alpha.back() * step.beta);
    }
    return step;
}

// m(u) = ½‖u‖² + c·|g|, whose descent along the HL-RF direction keeps the iteration from
// overshooting and oscillating. Any c above ‖u‖/‖∇g‖ makes that direction one of descent; with
// β/‖∇g‖ in the maximum too, the full step onto a linear limit state is always taken, so a
// response that is linear still converges in two iterations.
class Merit {
public:
    Merit(const Linearisation& at, const Step& step, const std::vector<double>& direction) {
        const double gradientNorm = std::sqrt(Dot(at.gradient, at.gradient));
        weight_ = 2 * std::max({std::sqrt(Dot(at.u, at.u)) / gradientNorm,
                                std::abs(step.beta) / gradientNorm, 1.0}) +
                  1;
        value_ = Of(at.u, at.g);
        const double sign = at.g < 0 ? -1 : 1;
        slope_ = Dot(at.u, direction) + weight_ * sign * Dot(at.gradient, direction);
    }

    double Of(const std::vector<double>& u, double g) const {
        return Dot(u, u) / 2 + weight_ * std::abs(g);
    }

    bool Decreases(const std::vector<double>& u, double g, double length) const {
        return Of(u, g) <= value_ + ArmijoFactor * length * slope_;
    }

private:
    double weight_ = 0;
    double value_ = 0;
    double slope_ = 0;
};

struct Accepted {
    EvaluatedPoint point;
    double length = 1;
};

std::vector<double> Along(std::vector<double> u, const std::vector<double>& direction,
                          double length) {
    for (std::size_t k = 0; k < u.size(); ++k) {
        u[k] += length * direction[k];
    }
    return u;
}

// λ = 1, ½, ¼, …: the first admissible point where the merit decreases enough; when none does,
// the shortest step if it is admissible. Trials that are not taken do not count as the method's
// runs.
class LineSearch {
public:
    LineSearch(FormPointRuns& runs, const StrengthSpace& space,
               const std::vector<RandomVariable>& variables, StrengthDistribution strengths)
        : runs_(runs), space_(space), variables_(variables), strengths_(strengths) {}

    Accepted Search(const Linearisation& at, const Step& step, int iteration) {
        std::vector<double> direction;
        for (std::size_t k = 0; k < at.u.size(); ++k) {
            direction.push_back(step.target[k] - at.u[k]);
        }
        const Merit merit(at, step, direction);
        double length = 1;
        for (int halving = 0;; ++halving, length /= 2) {
            const std::vector<double> x = space_.ToPhysical(Along(at.u, direction, length));
            std::size_t position = 0;
            const RandomVariable* outside = FirstInadmissible(variables_, x, position);
            const bool last = halving == MaxHalvings;
            if (outside && last) {
                throw Error("FORM: no admissible step from iteration " +
                            FormatInteger(iteration, 0) + ": even a step of " +
                            FormatFixed(length, 0, MaxHalvings) +
                            " towards the design point needs " +
                            InadmissibleText(*outside, x[position], strengths_));
            }
            if (outside) {
                continue;
            }
            EvaluatedPoint trial = runs_.Trial(x);
            if (last || merit.Decreases(space_.ToStandard(trial.at), trial.factor - 1, length)) {
                runs_.Complete(trial);
                return {std::move(trial), length};
            }
        }
    }

private:
    FormPointRuns& runs_;
    const StrengthSpace& space_;
    const std::vector<RandomVariable>& variables_;
    StrengthDistribution strengths_;
};

void LogIteration(CalculationLog& log, int iteration, double beta, double g, double length) {
    std::string line = "FORM iteration " + FormatInteger(iteration, 0) + ": beta " +
                       FormatFixed(beta, 0, 4) + ", g " + FormatFixed(g, 0, 4);
    if (length != 1) {
        // λ = 2^-h has exactly h decimals.
        line +=
            ", step " + FormatFixed(length, 0, static_cast<int>(std::round(-std::log2(length))));
    }
    log.AppendLine(line);
}

void Conclude(MethodResult& result, const Step& last, const StrengthSpace& space,
              const std::vector<RandomVariable>& variables) {
    const std::vector<double> design = space.ToPhysical(last.target);
    std::size_t position = 0;
    if (const RandomVariable* outside = FirstInadmissible(variables, design, position)) {
        throw Error("FORM: the design point needs " +
                    InadmissibleText(*outside, design[position], result.strengths));
    }
    result.beta = last.beta;
    result.probability = NormalTail(last.beta);
    // With correlations a component of α belongs to no single strength; γ does.
    const std::vector<double> importance = space.Importance(last.alpha);
    for (std::size_t k = 0; k < variables.size(); ++k) {
        const RandomVariable& v = variables[k];
        result.designPoint.push_back({v.id, v.row, v.friction, v.mean, design[k], importance[k]});
        result.variables.push_back(
            {v.id, std::nullopt, std::nullopt, importance[k] * importance[k]});
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

MethodResult RunFormMethod(RunExecutor& executor, CalculationLog& log, const MethodContext& context,
                           StrengthDistribution strengths) {
    const std::vector<RandomVariable> variables = ListedVariables(context.inputs);
    const StrengthSpace space(variables, strengths,
                              NormalSpaceFactor(variables, context.correlations));
    FormPointRuns runs(executor, context, variables, strengths);
    LineSearch search(runs, space, variables, strengths);
    MethodResult result;
    result.method = Method::Form;
    result.strengths = strengths;
    result.correlated = !context.correlations.empty();
    log.AppendLine("FORM with " + DistributionName(strengths) + " strengths");
    EvaluatedPoint point = FirstOrderPoint(context, variables);
    for (int iteration = 1;; ++iteration) {
        const Linearisation at = Linearise(point, space);
        const Step step = HasoferLindStep(at);
        result.history.push_back({iteration, step.beta, at.g});
        result.iterations = iteration;
        const bool settled = iteration > 1 &&
                             std::abs(step.beta - result.history[iteration - 2].beta) < Tolerance &&
                             std::abs(at.g) < Tolerance;
        if (settled || iteration == MaxIterations) {
            LogIteration(log, iteration, step.beta, at.g, 1);
            result.converged = settled;
            Conclude(result, step, space, variables);
            if (settled) {
                result.designPointFactor = runs.AtDesignPoint(space.ToPhysical(step.target));
                ++result.runs;
            }
            break;
        }
        Accepted next = search.Search(at, step, iteration);
        LogIteration(log, iteration, step.beta, at.g, next.length);
        point = std::move(next.point);
        result.runs += static_cast<int>(variables.size()) + 1;
    }
    LogResult(log, result);
    return result;
}

} // namespace zelmora
