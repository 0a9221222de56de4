#include "analysis/runs/run_errors.h"

#include "project/errors.h"
#include "project/project_state.h"

namespace zelmora {

void RaiseErrorsBeforeReading(const RunOutcome& outcome, const std::string& batchCommandLine) {
    if (outcome.writeError) {
        std::rethrow_exception(outcome.writeError);
    }
    if (!outcome.started) {
        throw Error("The batch calculator could not be started: " + batchCommandLine);
    }
    if (outcome.openError) {
        std::rethrow_exception(outcome.openError);
    }
    // Reading it would take an earlier run's result for this one.
    if (!outcome.resultRewritten) {
        throw Error("The batch calculator wrote no new result file: " + State.ResultFilePath);
    }
}

void RaiseReadingErrors(const RunOutcome& outcome) {
    if (outcome.readError) {
        std::rethrow_exception(outcome.readError);
    }
    if (!outcome.safetyFactor) {
        throw Error("The result file holds no safety factor: " + State.ResultFilePath);
    }
}

double CheckedSafetyFactor(const RunOutcome& outcome, const std::string& batchCommandLine) {
    RaiseErrorsBeforeReading(outcome, batchCommandLine);
    RaiseReadingErrors(outcome);
    return *outcome.safetyFactor;
}

} // namespace zelmora
