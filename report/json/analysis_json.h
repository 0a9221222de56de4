#pragma once

#include "analysis/analysis_record.h"
#include "project/project_state.h"

#include <string>

namespace zelmora {

// The analysis of the project as JSON for scripts: the project, each variable with what the
// analysis learnt about it, the runs the evaluation applied and the results; "error" when it
// failed or was stopped. Numbers are the stored 64-bit values and read back exactly; a value that
// does not exist is null. Texts that are not UTF-8 have their bad bytes replaced.
std::string AnalysisJson(const std::string& projectFile, const ProjectState& project,
                         const AnalysisRecord& record);

} // namespace zelmora
