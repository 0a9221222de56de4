#include "analysis/runs/run_attempt.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/result_file.h"

namespace zelmora {

RunAttempt::RunAttempt(const PlannedRun& run, const RunPlace& place, ProcessSet& processes)
    : place_(place) {
    outcome_.runId = run.runId;
    try {
        WriteModificationLines(place.modificationPath, run.modificationLines);
    } catch (...) {
        outcome_.writeError = std::current_exception();
        return;
    }
    before_ = IdentityOfPath(place.resultPath);
    if (before_) {
        WaitPastModificationTime(before_->modified);
    }
    picture_.emplace(place.resultPath);
    startTime_ = std::chrono::steady_clock::now();
    handle_ = processes.Start(place.commandLine, place.outputFd);
    outcome_.started = handle_ >= 0;
}

void RunAttempt::Finish(int exitStatus) {
    handle_ = -1;
    outcome_.exitStatus = exitStatus;
    outcome_.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - startTime_).count();
    const std::optional<FileIdentity> after = IdentityOfOpenedFile(place_.resultPath);
    outcome_.resultRewritten = !(before_ && after && *before_ == *after);
    if (!outcome_.resultRewritten) {
        return;
    }
    const ResultReading reading = ReadResultRecords(place_.resultPath);
    outcome_.openError = reading.openError;
    outcome_.safetyFactor = reading.safetyFactor;
    outcome_.readError = reading.readError;
    if (outcome_.runId == MeanValueRun && !outcome_.openError) {
        outcome_.picture = picture_->Read();
    }
}

bool RunFailed(const RunOutcome& outcome) {
    return outcome.writeError || !outcome.started || outcome.openError ||
           !outcome.resultRewritten || outcome.readError || !outcome.safetyFactor;
}

} // namespace zelmora
