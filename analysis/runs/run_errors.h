#pragma once

#include "analysis/coupling/analysis_inputs.h"
#include "analysis/runs/run_outcome.h"

#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// The signal that ended the calculator: its own, or one its launcher reports as the exit status
// 128 + n (129 to 192), as srun and the shells do. Nothing when it ended by itself.
std::optional<int> EndingSignal(const RunOutcome& outcome);

// The name of a Linux signal as the C library gives it: "Killed" for 9.
std::string SignalName(int signal);

// True when the calculator ended with a non-zero status that names no signal and its result was
// used all the same: the user is told.
bool NonZeroExitAccepted(const RunOutcome& outcome);

// True for a finite safety factor above 0, the only kind a run can give.
bool IsSafetyFactor(double factor);

// True when the outcome ends the analysis: the run raises an error when it is applied.
bool RunFailed(const RunOutcome& outcome);

// A run's errors in the order the run meets them. First those before its result is read: the
// modification file, the start, a signal that ended the calculator, the result file's open, a
// result file left as it was. The messages name the inputs' command line and result file.
void RaiseErrorsBeforeReading(const RunOutcome& outcome, const AnalysisInputs& inputs);

// Then those of the reading: its error, a file without a complete record, or a factor that is
// not a finite number above 0.
void RaiseReadingErrors(const RunOutcome& outcome, const AnalysisInputs& inputs);

// The run's safety factor, raising its errors.
double CheckedSafetyFactor(const RunOutcome& outcome, const AnalysisInputs& inputs);

// What is told after the message of a run that ended the analysis.
struct RunErrorDetail {
    std::string run;      // "run 3, φ of row 2 lowered"
    std::string path;     // the project's model file, in full
    std::string copyPath; // the work copy's model file where the run took place; empty in place
    std::vector<std::string> calculatorOutput; // the last lines the run's calculator wrote
    // What the failure comes from, first: the failed run, then the calculator's own words where
    // it gave a reason: "run 1 (standard): line 11: unknown keyword "bedrok"".
    std::string cause;
    std::string failedRun; // "run 3 (φ of row 2 lowered)"
};

// The detail as lines of text, each ending with a line end, for under the message.
std::string RunErrorDetailText(const RunErrorDetail& detail);

} // namespace zelmora
