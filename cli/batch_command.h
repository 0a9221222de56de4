#pragma once

#include "analysis/methods/correlations.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/sampling_settings.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zelmora::batch {

struct BatchOptions {
    std::string projectFile;
    int parallelRuns = 1;
    bool save = false;
    std::string jsonFile;                          // "-" for standard output; empty for none
    std::string reportFile;                        // empty for none
    std::string csvFile;                           // every run and sample; empty for none
    std::optional<Method> method;                  // the study's when not given
    std::optional<StrengthDistribution> strengths; // likewise
    Correlations correlations; // added to the study's pairs, or replacing the same pair there
    bool saved = false;        // show the saved analysis instead of running one
    std::optional<SamplingKind> samplingKind; // each the study's when not given
    std::optional<int> samples;
    std::optional<double> targetCov;
    std::optional<std::uint64_t> seed;
    std::optional<int> batch;         // the surrogate's runs in each round
    std::optional<int> maxRuns;       // the surrogate's own runs at most
    bool resume = false;              // take up the journaled runs of an interrupted analysis
    std::optional<double> targetBeta; // the study's when not given
    // The report's sign-off, each the study's when not given.
    std::optional<std::string> job;
    std::optional<std::string> client;
    std::optional<std::string> preparedBy;
    std::optional<std::string> checkedBy;
};

// Exit statuses of zelmora-batch.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitAnalysisFailed = 1; // failed or stopped
inline constexpr int ExitBadCall = 2;        // bad arguments or an unreadable project file

// Reads the project file and its study, runs the analysis and, when asked and successful, saves
// the study and the results into the project file and writes the report. Log lines go to standard
// output (to standard error when the JSON goes there), messages to standard error. The JSON is
// written also after a failure, with its message.
int RunBatch(const BatchOptions& options);

} // namespace zelmora::batch
