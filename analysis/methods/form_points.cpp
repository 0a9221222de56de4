#include "analysis/methods/form_points.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/written_value.h"
#include "analysis/methods/admissible_strength.h"
#include "analysis/methods/method_runs.h"
#include "project/errors.h"
#include "project/number_forms.h"

namespace zelmora {

namespace {

// What the calculator reads for a physical value: for φ the angle of the written sine.
double AsWritten(const RandomVariable& v, double value) {
    return v.friction ? AngleOfWrittenSine(SineOfDegrees(value)) : WrittenValue(value);
}

double Written(const RandomVariable& v, double value) {
    return v.friction ? SineOfDegrees(value) : value;
}

} // namespace

PlannedRun RunAt(const SoilRows& soil, const std::vector<RandomVariable>& variables,
                 const std::vector<double>& values) {
    std::vector<ValueWritten> written;
    for (std::size_t k = 0; k < variables.size(); ++k) {
        written.push_back({variables[k].id, Written(variables[k], values[k])});
    }
    return RunWriting(soil, written);
}

EvaluatedPoint FirstOrderPoint(const MethodContext& context,
                               const std::vector<RandomVariable>& variables) {
    EvaluatedPoint point;
    point.factor = Entry(context.firstOrder.safetyFactors, MeanValueRun);
    for (const RandomVariable& v : variables) {
        const double mean = ModificationValue(context.inputs, v.id, Strength::Mean);
        const double reduced = ModificationValue(context.inputs, v.id, Strength::Reduced);
        point.aimed.push_back(v.mean);
        point.at.push_back(v.friction ? AngleOfWrittenSine(mean) : WrittenValue(mean));
        point.moved.push_back(v.friction ? AngleOfWrittenSine(reduced) : WrittenValue(reduced));
        point.movedFactors.push_back(Entry(context.firstOrder.safetyFactors, v.id));
    }
    return point;
}

std::vector<double> StrengthSlopes(const EvaluatedPoint& point) {
    std::vector<double> slopes;
    for (std::size_t k = 0; k < point.at.size(); ++k) {
        slopes.push_back(NarrowToDouble(
            CheckedDivide(static_cast<long double>(point.movedFactors[k]) - point.factor,
                          static_cast<long double>(point.moved[k]) - point.at[k])));
    }
    return slopes;
}

FormPointRuns::FormPointRuns(RunExecutor& executor, const MethodContext& context,
                             const std::vector<RandomVariable>& variables,
                             StrengthDistribution strengths)
    : executor_(executor), context_(context), variables_(variables), strengths_(strengths) {}

std::vector<double> FormPointRuns::MovedValues(const std::vector<double>& point) const {
    std::vector<double> moved;
    for (std::size_t k = 0; k < variables_.size(); ++k) {
        const double step = context_.inputs.stepSize * variables_[k].stdDev;
        const double lower = point[k] - step;
        const double value = AdmissibleStrength(variables_[k], lower) ? lower : point[k] + step;
        if (!AdmissibleStrength(variables_[k], value)) {
            throw Error("FORM: a difference at the point needs " +
                        InadmissibleText(variables_[k], value, strengths_));
        }
        moved.push_back(value);
    }
    return moved;
}

EvaluatedPoint FormPointRuns::Trial(const std::vector<double>& point) {
    EvaluatedPoint evaluated;
    evaluated.aimed = point;
    const std::vector<double> moved = MovedValues(point);
    for (std::size_t k = 0; k < variables_.size(); ++k) {
        evaluated.at.push_back(AsWritten(variables_[k], point[k]));
        evaluated.moved.push_back(AsWritten(variables_[k], moved[k]));
    }
    std::vector<PlannedRun> runs{RunAt(context_.inputs.soil, variables_, point)};
    const bool beside = context_.parallelRuns > 1;
    for (std::size_t k = 0; beside && k < variables_.size(); ++k) {
        std::vector<double> values = point;
        values[k] = moved[k];
        runs.push_back(RunAt(context_.inputs.soil, variables_, values));
    }
    const std::vector<double> factors = PerformMethodRuns(executor_, std::move(runs), context_);
    evaluated.factor = factors[0];
    evaluated.movedFactors.assign(factors.begin() + 1, factors.end());
    return evaluated;
}

double FormPointRuns::AtDesignPoint(const std::vector<double>& design) {
    PlannedRun run = RunAt(context_.inputs.soil, variables_, design);
    run.picture = true;
    return PerformMethodRuns(executor_, {run}, context_).front();
}

void FormPointRuns::Complete(EvaluatedPoint& point) {
    if (!point.movedFactors.empty() || variables_.empty()) {
        return;
    }
    const std::vector<double> moved = MovedValues(point.aimed);
    std::vector<PlannedRun> runs;
    for (std::size_t k = 0; k < variables_.size(); ++k) {
        std::vector<double> values = point.aimed;
        values[k] = moved[k];
        runs.push_back(RunAt(context_.inputs.soil, variables_, values));
    }
    point.movedFactors = PerformMethodRuns(executor_, std::move(runs), context_);
}

} // namespace zelmora
