#pragma once

#include "cli/batch_command.h"
#include "cli/sampling_options.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zelmora::batch {

// The options that override the study's settings for one run, as parsed.
struct StudyOptions {
    std::unique_ptr<std::string> methodText;
    CLI::Option* method;
    CLI::Option* strengths;
    CLI::Option* lognormal;
    SamplingOptions sampling;
    std::unique_ptr<std::string> targetBetaText;
    CLI::Option* targetBeta;
    // --job, --client, --prepared-by, --checked-by with their texts.
    std::vector<std::pair<CLI::Option*, std::unique_ptr<std::string>>> signOff;
};

// Adds --method, --strengths with its short form --lognormal, the sampling options,
// --target-beta, the sign-off's --job, --client, --prepared-by and --checked-by, and --saved, which
// excludes the options of a run (add it after them). The values land in `options` during the parse.
StudyOptions AddStudyOptions(CLI::App& app, BatchOptions& options);

// Leaves out the settings the command line did not give, so that the study's hold.
void TakeStudyOptions(const StudyOptions& given, BatchOptions& options);

} // namespace zelmora::batch
