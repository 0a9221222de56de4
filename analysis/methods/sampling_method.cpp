#include "analysis/methods/sampling_method.h"

#include "analysis/methods/admissible_strength.h"
#include "analysis/methods/exact_normal_tail.h"
#include "analysis/methods/form_points.h"
#include "analysis/methods/sampling_estimate.h"
#include "analysis/methods/standard_normal_draws.h"
#include "analysis/methods/strength_space.h"
#include "analysis/runs/run_errors.h"
#include "project/errors.h"
#include "project/number_forms.h"
#include "project/value_text.h"

#include <cmath>
#include <deque>
#include <exception>
#include <numeric>

namespace zelmora {

namespace {

constexpr int JudgeEvery = 20;
constexpr int LeastFailures = 10;
constexpr std::size_t KeptErrors = 3;

struct Sample {
    int number = 0;
    double weight = 1;
    bool admissible = true;
    std::vector<DrawnStrength> drawn; // kept for an inadmissible one only, which has no run
};

// Draws the samples in their order: u ~ N(centre, I), mapped to the strengths, and their runs.
class SampleSource {
public:
    SampleSource(const SamplingSettings& settings, const StrengthSpace& space,
                 const AnalysisInputs& inputs, const std::vector<RandomVariable>& variables,
                 std::vector<double> centre)
        : draws_(settings.seed), space_(space), inputs_(inputs), variables_(variables),
          centre_(std::move(centre)) {}

    Sample Draw(std::vector<PlannedRun>& runs) {
        std::vector<double> u = draws_.Next(variables_.size());
        Sample sample{++drawn_, 1, true, {}};
        if (!centre_.empty()) {
            // φₙ(u) / φₙ(u - u*) = exp(½‖u*‖² - u·u*).
            for (std::size_t k = 0; k < u.size(); ++k) {
                u[k] += centre_[k];
            }
            const double across = std::inner_product(u.begin(), u.end(), centre_.begin(), 0.0);
            const double centreSquared =
                std::inner_product(centre_.begin(), centre_.end(), centre_.begin(), 0.0);
            sample.weight = std::exp(centreSquared / 2 - across);
        }
        const std::vector<double> x = space_.ToPhysical(u);
        std::size_t position = 0;
        if (FirstInadmissible(variables_, x, position)) {
            sample.admissible = false;
            for (std::size_t k = 0; k < x.size(); ++k) {
                sample.drawn.push_back({variables_[k].id, x[k]});
            }
            return sample;
        }
        PlannedRun run = RunAt(inputs_.soil, variables_, x);
        run.runId = FirstSampleRunId + sample.number;
        run.mayFail = true;
        runs.push_back(std::move(run));
        return sample;
    }

    int Drawn() const { return drawn_; }

private:
    StandardNormalDraws draws_;
    const StrengthSpace& space_;
    const AnalysisInputs& inputs_;
    const std::vector<RandomVariable>& variables_;
    std::vector<double> centre_;
    int drawn_ = 0;
};

std::vector<double> DesignPointInStandardSpace(const std::optional<MethodResult>& method,
                                               const StrengthSpace& space) {
    std::vector<double> design;
    for (const DesignPointValue& value : method->designPoint) {
        design.push_back(value.value);
    }
    return space.ToStandard(design);
}

class Sampler {
public:
    Sampler(RunExecutor& executor, const MethodContext& context, const SamplingSettings& settings,
            SampleSource& source)
        : executor_(executor), context_(context), settings_(settings), source_(source),
          estimate_(settings.kind == SamplingKind::Importance) {
        result_.kind = settings.kind;
        result_.seed = settings.seed;
    }

    SamplingResult Run() {
        // Enough samples wait beyond those being judged to keep every run at once busy.
        const std::size_t ahead =
            1 + static_cast<std::size_t>((context_.parallelRuns + JudgeEvery - 1) / JudgeEvery);
        while (true) {
            while (blocks_.size() < ahead && source_.Drawn() < settings_.samples) {
                SubmitBlock();
            }
            for (const Sample& sample : blocks_.front()) {
                Take(sample);
            }
            blocks_.pop_front();
            if (Judge()) {
                break;
            }
        }
        executor_.Withdraw();
        Conclude();
        return result_;
    }

private:
    void SubmitBlock() {
        const int size = std::min(JudgeEvery, settings_.samples - source_.Drawn());
        std::vector<Sample> block;
        std::vector<PlannedRun> runs;
        for (int k = 0; k < size; ++k) {
            block.push_back(source_.Draw(runs));
        }
        executor_.Submit(std::move(runs));
        blocks_.push_back(std::move(block));
    }

    void Take(const Sample& sample) {
        if (!sample.admissible) {
            ++result_.inadmissible;
            result_.inadmissibleSamples.push_back({sample.number, sample.drawn});
            estimate_.Add(sample.weight, false, true);
            return;
        }
        context_.applied.push_back(executor_.Next());
        try {
            const double factor = CheckedSafetyFactor(context_.applied.back(), context_.inputs);
            estimate_.Add(sample.weight, factor < 1, false);
            result_.sampledFactors.push_back({factor, sample.weight});
        } catch (const std::exception& error) {
            // Kept with the run, so that nothing shows its factor as a result.
            context_.applied.back().error = error.what();
            ++result_.failedRuns;
            if (result_.errors.size() < KeptErrors) {
                result_.errors.emplace_back(error.what());
            }
            estimate_.Add(sample.weight, false, true);
        }
    }

    // True when the samples so far are enough.
    bool Judge() {
        const int samples = estimate_.Samples();
        if (result_.failedRuns * 10 > samples) {
            throw Error(SamplingTitle(settings_.kind) + ": " +
                        FormatInteger(result_.failedRuns, 0) + " of " + FormatInteger(samples, 0) +
                        " runs failed, more than 10 %. The first failure: " + result_.errors[0]);
        }
        result_.history.push_back({samples, estimate_.Probability(), estimate_.Interval95()});
        const std::optional<double> cov = estimate_.Cov();
        result_.stoppedByTarget =
            cov && *cov <= settings_.targetCov && estimate_.Failures() >= LeastFailures;
        return result_.stoppedByTarget || samples >= settings_.samples;
    }

    void Conclude() {
        result_.samples = estimate_.Samples();
        result_.failures = estimate_.Failures();
        result_.probability = estimate_.Probability();
        result_.cov = estimate_.Cov();
        result_.interval95 = estimate_.Interval95();
        result_.bounds = {result_.probability, estimate_.UpperBound()};
        result_.failedRunsDecide = result_.bounds[1] > result_.interval95[1];
        if (result_.probability > 0) {
            result_.beta = TailQuantile(result_.probability);
        }
    }

    RunExecutor& executor_;
    const MethodContext& context_;
    const SamplingSettings& settings_;
    SampleSource& source_;
    SamplingEstimate estimate_;
    SamplingResult result_;
    std::deque<std::vector<Sample>> blocks_;
};

void LogResult(CalculationLog& log, const SamplingResult& result, StrengthDistribution strengths,
               const std::optional<MethodResult>& method) {
    const std::string title = SamplingTitle(result.kind);
    log.AppendLine(title + ": " + FormatInteger(result.samples - result.inadmissible, 0) +
                   " runs, " + FormatInteger(result.failures, 0) + " with F < 1, " +
                   FormatInteger(result.failedRuns, 0) + " failed, probability of failure " +
                   ProbabilityText(result.probability) + ", CoV " + FixedText(result.cov));
    log.AppendLine(title + " beta: " + FixedText(result.beta));
    if (result.inadmissible > 0) {
        std::string line = title + ": " + FormatInteger(result.inadmissible, 0) +
                           " samples with strengths the calculator cannot take were not run";
        if (strengths == StrengthDistribution::Normal) {
            line += "; lognormal strengths keep the strengths above 0";
        }
        log.AppendLine(line);
    }
    if (result.bounds[0] != result.bounds[1]) {
        log.AppendLine(title + ": probability of failure between " +
                       ProbabilityText(result.bounds[0]) + " and " +
                       ProbabilityText(result.bounds[1]) + " with the samples not run");
    }
    if (result.failedRunsDecide) {
        log.AppendLine(FailedRunsDecideText());
    }
    if (result.formDisagrees.value_or(false)) {
        log.AppendLine(FormDisagreesText(result, *method->probability));
    }
}

} // namespace

std::string FailedRunsDecideText() {
    return "The failed runs decide the answer: counted as failed, they put the probability of "
           "failure above the 95 % interval.";
}

std::optional<bool> FormDisagrees(const SamplingResult& result,
                                  const std::optional<MethodResult>& method) {
    if (!method || method->method != Method::Form || !method->probability) {
        return std::nullopt;
    }
    const double form = *method->probability;
    return form < result.interval95[0] || form > result.interval95[1];
}

std::string FormDisagreesText(const SamplingResult& result, double formProbability) {
    return formProbability < result.interval95[0]
               ? "The sampling finds more probability of failure than FORM: FORM sees one "
                 "failure mechanism."
               : "The sampling finds less probability of failure than FORM.";
}

SamplingResult RunSampling(RunExecutor& executor, CalculationLog& log, const MethodContext& context,
                           const SamplingSettings& settings, StrengthDistribution strengths,
                           const std::optional<MethodResult>& method) {
    const std::vector<RandomVariable> variables = ListedVariables(context.inputs);
    const StrengthSpace space(variables, strengths,
                              NormalSpaceFactor(variables, context.correlations));
    std::vector<double> centre;
    if (settings.kind == SamplingKind::Importance) {
        centre = DesignPointInStandardSpace(method, space);
    }
    SampleSource source(settings, space, context.inputs, variables, std::move(centre));
    SamplingResult result = Sampler(executor, context, settings, source).Run();
    result.formDisagrees = FormDisagrees(result, method);
    LogResult(log, result, strengths, method);
    return result;
}

} // namespace zelmora
