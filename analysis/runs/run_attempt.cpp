#include "analysis/runs/run_attempt.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/result_file.h"
#include "analysis/runs/calculator_output.h"
#include "analysis/runs/run_errors.h"
#include "processes/run_marker.h"

#include <algorithm>

namespace zelmora {

namespace {
// Enough for the last records of a run; a long result file stays out of the journal.
constexpr std::size_t RecordsKept = 4096;
} // namespace

RunAttempt::RunAttempt(const PlannedRun& run, const RunPlace& place, ProcessSet& processes)
    : place_(place) {
    outcome_.runId = run.runId;
    outcome_.copyPath = place.copyPath;
    outcome_.written = run.written;
    pictureKept_ = run.picture || run.runId == MeanValueRun;
    try {
        WriteModificationFile(place.modificationPath, run.modificationLines,
                              place.shownModificationPath);
    } catch (...) {
        outcome_.writeError = std::current_exception();
        return;
    }
    before_ = KeepResultBefore(place.resultPath);
    if (before_.identity) {
        WaitPastModificationTime(before_.identity->modified);
    }
    picture_.emplace(place.resultPath);
    logStart_ = CalculatorLogLength(place.logPath);
    startTime_ = std::chrono::steady_clock::now();
    handle_ = processes.Start(place.commandLine, place.outputFd, place.startsIn,
                              RunMarker(place.analysis, run.runId));
    outcome_.started = handle_ >= 0;
}

void RunAttempt::Finish(int exitStatus) {
    handle_ = -1;
    outcome_.exitStatus = exitStatus;
    outcome_.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - startTime_).count();
    ReadResult();
    // Read now: the log may be gone by the time the error is shown.
    if (RunFailed(outcome_)) {
        outcome_.calculatorOutput = LastOutputLines(place_.logPath, logStart_);
    }
}

void RunAttempt::ReadResult() {
    if (EndingSignal(outcome_)) {
        return;
    }
    // Read at once and whole: what the calculator left, not what comes after.
    const ResultSnapshot after = TakeResultSnapshot(place_.resultPath);
    outcome_.openError = after.openError;
    outcome_.resultRewritten = !LeftAsItWas(before_, after);
    if (outcome_.openError || !outcome_.resultRewritten) {
        return;
    }
    const std::string_view own =
        std::string_view(after.bytes).substr(OwnRecordsStart(before_, after));
    const ResultReading reading = ReadResultText(own, place_.resultPath);
    outcome_.safetyFactor = reading.safetyFactor;
    outcome_.records = std::string(own.substr(own.size() - std::min(own.size(), RecordsKept)));
    outcome_.readError = after.readError ? after.readError : reading.readError;
    if (pictureKept_) {
        outcome_.picture = picture_->Read();
    }
}

} // namespace zelmora
