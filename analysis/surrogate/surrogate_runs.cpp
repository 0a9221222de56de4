#include "analysis/surrogate/surrogate_runs.h"

#include "analysis/coupling/written_value.h"
#include "analysis/methods/admissible_strength.h"
#include "analysis/methods/form_points.h"
#include "analysis/methods/random_variables.h"
#include "analysis/methods/sampling_method.h"
#include "analysis/methods/strength_space.h"
#include "analysis/runs/run_errors.h"
#include "analysis/surrogate/active_learning.h"
#include "project/number_forms.h"
#include "project/value_text.h"

#include <exception>
#include <map>

namespace zelmora {

namespace {

// The key of a run's modification file.
std::string FileKey(const std::vector<std::string>& lines) {
    std::string key;
    for (const std::string& line : lines) {
        key += line;
        key += '\n';
    }
    return key;
}

class SurrogateCalculator {
public:
    SurrogateCalculator(RunExecutor& executor, const MethodContext& context,
                        const std::vector<RandomVariable>& variables, const StrengthSpace& space)
        : executor_(executor), context_(context), variables_(variables), space_(space) {}

    // The strengths the calculator read, in standard-normal space; none where a variable was
    // not written.
    std::optional<std::vector<double>>
    WrittenPoint(const std::vector<ValueWritten>& written) const {
        std::vector<double> x;
        for (const RandomVariable& v : variables_) {
            const auto found =
                std::find_if(written.begin(), written.end(),
                             [&](const ValueWritten& w) { return w.variableId == v.id; });
            if (found == written.end()) {
                return std::nullopt;
            }
            x.push_back(v.friction ? AngleOfWrittenSine(found->value) : WrittenValue(found->value));
        }
        return space_.ToStandard(x);
    }

    // The runs so far at known strengths, whose files are also known from now on.
    std::vector<TrainingPoint> MethodRuns() {
        std::vector<TrainingPoint> points;
        for (const RunOutcome& outcome : context_.applied) {
            const std::optional<std::vector<double>> u = WrittenPoint(outcome.written);
            if (outcome.runId == StandardRun || !outcome.error.empty() || !u) {
                continue;
            }
            try {
                const double factor = CheckedSafetyFactor(outcome, context_.inputs);
                points.push_back({*u, factor});
                known_.emplace(
                    FileKey(RunWriting(context_.inputs.soil, outcome.written).modificationLines),
                    factor);
            } catch (const std::exception&) {
                // A method run that failed tells nothing of the factor.
            }
        }
        return points;
    }

    std::vector<PointRun> operator()(const std::vector<std::vector<double>>& points) {
        std::vector<PointRun> results(points.size());
        std::vector<PlannedRun> runs;
        std::vector<std::size_t> submitted;
        for (std::size_t k = 0; k < points.size(); ++k) {
            PlannedRun run = RunAt(context_.inputs.soil, variables_, space_.ToPhysical(points[k]));
            const std::vector<double> u = WrittenPoint(run.written).value_or(points[k]);
            const auto known = known_.find(FileKey(run.modificationLines));
            if (known != known_.end()) {
                results[k] = {u, known->second, {}, false};
                continue;
            }
            results[k].u = u;
            run.runId = FirstSampleRunId + ++made_;
            run.mayFail = true;
            runs.push_back(std::move(run));
            submitted.push_back(k);
        }
        std::vector<std::string> keys;
        for (const PlannedRun& run : runs) {
            keys.push_back(FileKey(run.modificationLines));
        }
        executor_.Submit(std::move(runs));
        for (std::size_t j = 0; j < submitted.size(); ++j) {
            Take(results[submitted[j]], keys[j]);
        }
        return results;
    }

private:
    void Take(PointRun& result, const std::string& key) {
        context_.applied.push_back(executor_.Next());
        try {
            result.factor = CheckedSafetyFactor(context_.applied.back(), context_.inputs);
            known_.emplace(key, *result.factor);
        } catch (const std::exception& error) {
            // Kept with the run, so that nothing shows its factor as a result.
            context_.applied.back().error = error.what();
            result.error = error.what();
        }
    }

    RunExecutor& executor_;
    const MethodContext& context_;
    const std::vector<RandomVariable>& variables_;
    const StrengthSpace& space_;
    std::map<std::string, double> known_;
    int made_ = 0;
};

std::string Outcome(const SurrogateFacts& facts) {
    if (facts.converged) {
        return "converged";
    }
    return "not converged, stopped by the " +
           std::string(facts.stoppedBy == "population" ? "population's size" : "most runs");
}

void LogResult(CalculationLog& log, const SamplingResult& result,
               const std::optional<MethodResult>& method) {
    const SurrogateFacts& facts = *result.surrogate;
    const std::string title = SamplingTitle(SamplingKind::Surrogate);
    log.AppendLine(title + ": probability of failure " + ProbabilityText(result.probability) +
                   ", CoV " + FixedText(result.cov) + ", " + FormatInteger(facts.runs, 0) +
                   " runs of its own and " + FormatInteger(facts.methodRunsUsed, 0) +
                   " of the method, " + FormatInteger(facts.rounds, 0) + " rounds, " +
                   Outcome(facts));
    log.AppendLine(title + " beta: " + FixedText(result.beta));
    if (result.failedRunsDecide) {
        log.AppendLine(FailedRunsDecideText());
    }
    if (result.formDisagrees.value_or(false)) {
        log.AppendLine(FormDisagreesText(result, *method->probability));
    }
}

} // namespace

SamplingResult RunSurrogate(RunExecutor& executor, CalculationLog& log,
                            const MethodContext& context, const SamplingSettings& settings,
                            StrengthDistribution strengths,
                            const std::optional<MethodResult>& method) {
    const std::vector<RandomVariable> variables = ListedVariables(context.inputs);
    const StrengthSpace space(variables, strengths,
                              NormalSpaceFactor(variables, context.correlations));
    SurrogateCalculator calculator(executor, context, variables, space);
    SurrogateProblem problem;
    problem.dimension = variables.size();
    problem.methodRuns = calculator.MethodRuns();
    problem.admissible = [&](const std::vector<double>& u) {
        std::size_t position = 0;
        return FirstInadmissible(variables, space.ToPhysical(u), position) == nullptr;
    };
    problem.calculator = [&](const std::vector<std::vector<double>>& points) {
        return calculator(points);
    };
    SamplingResult result = LearnProbabilityOfFailure(problem, settings);
    result.formDisagrees = FormDisagrees(result, method);
    LogResult(log, result, method);
    return result;
}

} // namespace zelmora
