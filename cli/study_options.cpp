#include "cli/study_options.h"

#include "cli/option_values.h"
#include "study/study.h"

#include <map>
#include <memory>
#include <string>

namespace zelmora::batch {

namespace {

// Taken as text and read after the parse, so that an unknown method is answered with the
// methods' names.
CLI::Option* AddMethod(CLI::App& app, std::string& text) {
    return app
        .add_option("--method", text,
                    "After the first-order analysis, also the Taylor series method or FORM, for "
                    "this run (default: the study's, first-order without one)")
        ->option_text("first-order|taylor|form");
}

CLI::Option* AddStrengths(CLI::App& app, BatchOptions& options) {
    std::map<std::string, StrengthDistribution> distributions;
    for (const StrengthDistribution strengths :
         {StrengthDistribution::Normal, StrengthDistribution::Lognormal}) {
        distributions[DistributionName(strengths)] = strengths;
    }
    options.strengths = StrengthDistribution::Normal;
    return app
        .add_option("--strengths", *options.strengths,
                    "FORM's strength distribution for this run (default: the study's, normal "
                    "without one)")
        ->transform(CLI::CheckedTransformer(distributions, CLI::ignore_case))
        ->option_text("normal|lognormal");
}

} // namespace

StudyOptions AddStudyOptions(CLI::App& app, BatchOptions& options) {
    StudyOptions given;
    given.methodText = std::make_unique<std::string>();
    given.method = AddMethod(app, *given.methodText);
    given.strengths = AddStrengths(app, options);
    given.lognormal = app.add_flag("--lognormal")
                          ->description("Short for --strengths lognormal")
                          ->excludes(given.strengths);
    given.sampling = AddSamplingOptions(app);
    given.targetBetaText = std::make_unique<std::string>();
    given.targetBeta =
        app.add_option("--target-beta", *given.targetBetaText,
                       "The β the report judges the analysis against (default: the study's, 3.0 "
                       "without one)")
            ->option_text("B");
    for (const auto& [name, what] : {std::pair{"--job", "The job the report is for"},
                                     {"--client", "The client"},
                                     {"--prepared-by", "Who prepared the report"},
                                     {"--checked-by", "Who checked the report"}}) {
        auto text = std::make_unique<std::string>();
        CLI::Option* option =
            app.add_option(name, *text,
                           std::string(what) + ", printed on its first page (default: the "
                                               "study's; kept by --save)")
                ->option_text("TEXT");
        given.signOff.emplace_back(option, std::move(text));
    }
    CLI::Option* saved =
        app.add_flag("--saved", options.saved,
                     "Run nothing: write the JSON and the report of the analysis saved with the "
                     "project file")
            ->excludes(given.method)
            ->excludes(given.strengths)
            ->excludes(given.lognormal)
            ->excludes("--save")
            ->excludes("--parallel");
    for (CLI::Option* option : given.sampling.options) {
        saved->excludes(option);
    }
    return given;
}

void TakeStudyOptions(const StudyOptions& given, BatchOptions& options) {
    if (given.method->count() == 0) {
        options.method.reset();
    } else {
        options.method = MethodOption(*given.methodText);
    }
    if (given.targetBeta->count() > 0) {
        options.targetBeta =
            PositiveDecimalOption("--target-beta", *given.targetBetaText, MostTargetBeta);
    }
    if (given.lognormal->count() > 0) {
        options.strengths = StrengthDistribution::Lognormal;
    } else if (given.strengths->count() == 0) {
        options.strengths.reset();
    }
    TakeSamplingOptions(given.sampling, options);
    std::optional<std::string>* const signOff[] = {&options.job, &options.client,
                                                   &options.preparedBy, &options.checkedBy};
    for (std::size_t k = 0; k < given.signOff.size(); ++k) {
        if (given.signOff[k].first->count() > 0) {
            *signOff[k] = *given.signOff[k].second;
        }
    }
}

} // namespace zelmora::batch
