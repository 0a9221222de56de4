#include "analysis/runs/run_attempt.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/result_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace zelmora {

namespace {

// The largest calculator picture kept for the report.
constexpr std::int64_t MaxPictureBytes = std::int64_t{2} * 1024 * 1024;

// The picture named like the result file with ".svg", when the run wrote it.
std::string ReadPicture(const std::string& resultPath, const timespec& startedAt) {
    const std::string path = resultPath.substr(0, resultPath.rfind('.')) + ".svg";
    std::error_code error;
    const std::optional<FileIdentity> identity = IdentityOfPath(path);
    if (!identity || !std::filesystem::is_regular_file(path, error) ||
        identity->size > MaxPictureBytes || identity->modified.tv_sec < startedAt.tv_sec) {
        return {};
    }
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

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
    startedAt_ = CoarseNow();
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
        outcome_.picture = ReadPicture(place_.resultPath, startedAt_);
    }
}

bool RunFailed(const RunOutcome& outcome) {
    return outcome.writeError || !outcome.started || outcome.openError ||
           !outcome.resultRewritten || outcome.readError || !outcome.safetyFactor;
}

} // namespace zelmora
