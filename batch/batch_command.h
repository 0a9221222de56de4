#pragma once

#include <string>

namespace zelmora::batch {

struct BatchOptions {
    std::string projectFile;
    int parallelRuns = 1;
    bool save = false;
};

// Exit statuses of zelmora-batch.
inline constexpr int ExitSuccess = 0;
inline constexpr int ExitAnalysisFailed = 1; // failed or stopped
inline constexpr int ExitBadCall = 2;        // bad arguments or an unreadable project file

// Reads the project file, runs the analysis and, when asked and successful, saves the results
// into the project file. Log lines go to standard output, messages to standard error.
int RunBatch(const BatchOptions& options);

} // namespace zelmora::batch
