#pragma once

#include "cli/batch_command.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <string>

namespace zelmora::batch {

// --sampling, --samples, --target-cov, --seed, --batch and --max-runs as given, read by us after
// the parse.
struct SamplingOptions {
    std::shared_ptr<std::string> kind = std::make_shared<std::string>();
    std::shared_ptr<std::string> samples = std::make_shared<std::string>();
    std::shared_ptr<std::string> targetCov = std::make_shared<std::string>();
    std::shared_ptr<std::string> seed = std::make_shared<std::string>();
    std::shared_ptr<std::string> batch = std::make_shared<std::string>();
    std::shared_ptr<std::string> maxRuns = std::make_shared<std::string>();
    std::vector<CLI::Option*> options;
};

SamplingOptions AddSamplingOptions(CLI::App& app);

// The settings the command line gave, each overriding the study's for this run. Throws
// CLI::ValidationError naming the option for a bad value.
void TakeSamplingOptions(const SamplingOptions& given, BatchOptions& options);

} // namespace zelmora::batch
