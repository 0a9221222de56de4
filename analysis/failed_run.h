#pragma once

#include "analysis/analysis_record.h"
#include "analysis/coupling/analysis_inputs.h"
#include "analysis/methods/method_result.h"

#include <optional>

namespace zelmora {

// The detail of the run that ended a failed analysis of the inputs: the last outcome the record
// holds when it carries an error.
std::optional<RunErrorDetail> FailedRunDetail(const AnalysisRecord& record,
                                              const AnalysisInputs& inputs, Method method);

} // namespace zelmora
