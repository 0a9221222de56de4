#pragma once

#include "analysis/analysis_driver.h"
#include "analysis/methods/calculation_log.h"
#include "processes/process_set.h"

#include <memory>

namespace test_support {

// The analysis of the project state with the default options, one run after the other in the
// project's own folder, each calculator a real child process; `record` gets what it did.
inline void AnalyseInPlace(zelmora::CalculationLog& log, zelmora::AnalysisRecord& record) {
    const std::unique_ptr<zelmora::ProcessSet> processes = zelmora::MakeChildProcesses();
    zelmora::RunAnalysis(log, *processes, zelmora::AnalysisOptions{}, record);
}

inline void AnalyseInPlace(zelmora::CalculationLog& log) {
    zelmora::AnalysisRecord record;
    AnalyseInPlace(log, record);
}

} // namespace test_support
