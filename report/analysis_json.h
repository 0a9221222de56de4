#pragma once

#include "analysis/analysis_record.h"

#include <string>

namespace zelmora {

// The analysis as JSON for scripts: the project, each variable with what the analysis learnt
// about it, the runs the evaluation applied and the results; "error" when it failed or was
// stopped. Numbers are the stored 64-bit values and read back exactly; a value that does not
// exist is null. Texts that are not UTF-8 have their bad bytes replaced.
std::string AnalysisJson(const std::string& projectFile, const AnalysisRecord& record);

} // namespace zelmora
