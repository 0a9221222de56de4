#pragma once

#include "analysis/runs/run_outcome.h"

#include <string>

namespace zelmora {

// A run's errors in the order the run meets them. First those before its result is read: the
// modification file, the start, the result file's open, a result file left as it was.
void RaiseErrorsBeforeReading(const RunOutcome& outcome, const std::string& batchCommandLine);

// Then those of the reading: its error, or a file without a complete record.
void RaiseReadingErrors(const RunOutcome& outcome);

// The run's safety factor, raising its errors; the project state is not touched.
double CheckedSafetyFactor(const RunOutcome& outcome, const std::string& batchCommandLine);

} // namespace zelmora
