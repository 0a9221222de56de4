#pragma once

#include "analysis/analysis_record.h"
#include "analysis/methods/method_result.h"

#include <optional>

namespace zelmora {

// The detail of the run that ended a failed analysis: the last outcome the record holds when it
// carries an error. Reads the variable list and the project path of State.
std::optional<RunErrorDetail> FailedRunDetail(const AnalysisRecord& record, Method method);

} // namespace zelmora
