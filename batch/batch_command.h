#pragma once

#include "analysis/correlations.h"
#include "analysis/method_result.h"

#include <string>

namespace zelmora::batch {

struct BatchOptions {
    std::string projectFile;
    int parallelRuns = 1;
    bool save = false;
    std::string jsonFile;   // "-" for standard output; empty for none
    std::string reportFile; // empty for none
    Method method = Method::FirstOrder;
    StrengthDistribution strengths = StrengthDistribution::Normal;
    Correlations correlations;
};

// Exit statuses of zelmora-batch.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitAnalysisFailed = 1; // failed or stopped
inline constexpr int ExitBadCall = 2;        // bad arguments or pairs, an unreadable project file

// Reads the project file, runs the analysis and, when asked and successful, saves the results
// into the project file and writes the report. Log lines go to standard output (to standard
// error when the JSON goes there), messages to standard error. The JSON is written also after a
// failure, with its message.
int RunBatch(const BatchOptions& options);

} // namespace zelmora::batch
