#include "cli/sampling_options.h"

#include "cli/option_values.h"
#include "project/terminal_text.h"

namespace zelmora::batch {

namespace {

SamplingKind KindOption(const std::string& text) {
    if (const std::optional<SamplingKind> kind = SamplingKindFromName(text)) {
        return *kind;
    }
    throw CLI::ValidationError("--sampling", "unknown sampling \"" + TerminalText(text) +
                                                 "\"; the choices are none, importance, "
                                                 "monte-carlo");
}

bool Given(const CLI::Option* option) {
    return option->count() > 0;
}

} // namespace

SamplingOptions AddSamplingOptions(CLI::App& app) {
    SamplingOptions given;
    given.options = {
        app.add_option("--sampling", *given.kind,
                       "After the method, a sampling check of the probability of failure for "
                       "this run: importance sampling at FORM's design point, Monte Carlo or "
                       "a kriging surrogate that learns from few runs "
                       "(default: the study's, none without one)")
            ->option_text("none|importance|monte-carlo|surrogate"),
        app.add_option("--samples", *given.samples,
                       "The most samples of the sampling check (default: the study's, 500)")
            ->option_text("20..100000"),
        app.add_option("--target-cov", *given.targetCov,
                       "The coefficient of variation of the probability at which sampling stops "
                       "(default: the study's, 0.10)")
            ->option_text("C in (0, 1)"),
        app.add_option("--seed", *given.seed, "The seed of the samples (default: the study's, 1)")
            ->option_text("0..18446744073709551615"),
        app.add_option("--batch", *given.batch,
                       "The surrogate's runs in each round, whatever the runs at once "
                       "(default: the study's, 4)")
            ->option_text("1..64"),
        app.add_option("--max-runs", *given.maxRuns,
                       "The most runs the surrogate makes itself (default: the study's, 200)")
            ->option_text("20..100000")};
    return given;
}

void TakeSamplingOptions(const SamplingOptions& given, BatchOptions& options) {
    if (Given(given.options[0])) {
        options.samplingKind = KindOption(*given.kind);
    }
    if (Given(given.options[1]) && options.samplingKind == SamplingKind::Surrogate) {
        throw CLI::ValidationError("--samples", "--samples does not apply to the surrogate, "
                                                "which --max-runs limits");
    }
    if (Given(given.options[1])) {
        options.samples = CountOption("--samples", *given.samples, LeastSamples, MostSamples);
    }
    if (Given(given.options[2])) {
        options.targetCov = FractionOption("--target-cov", *given.targetCov);
    }
    if (Given(given.options[3])) {
        options.seed = SeedOption("--seed", *given.seed);
    }
    if (Given(given.options[4])) {
        options.batch = CountOption("--batch", *given.batch, LeastBatch, MostBatch);
    }
    if (Given(given.options[5])) {
        options.maxRuns = CountOption("--max-runs", *given.maxRuns, LeastRuns, MostRuns);
    }
}

} // namespace zelmora::batch
