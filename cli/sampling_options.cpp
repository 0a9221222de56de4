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
                       "this run: importance sampling at FORM's design point or Monte Carlo "
                       "(default: the study's, none without one)")
            ->option_text("none|importance|monte-carlo"),
        app.add_option("--samples", *given.samples,
                       "The most samples of the sampling check (default: the study's, 500)")
            ->option_text("20..100000"),
        app.add_option("--target-cov", *given.targetCov,
                       "The coefficient of variation of the probability at which sampling stops "
                       "(default: the study's, 0.10)")
            ->option_text("C in (0, 1)"),
        app.add_option("--seed", *given.seed, "The seed of the samples (default: the study's, 1)")
            ->option_text("0..18446744073709551615")};
    return given;
}

void TakeSamplingOptions(const SamplingOptions& given, BatchOptions& options) {
    if (Given(given.options[0])) {
        options.samplingKind = KindOption(*given.kind);
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
}

} // namespace zelmora::batch
