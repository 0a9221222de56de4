#include "analysis/run_attempt.h"

#include "analysis/batch_coupling.h"
#include "analysis/run_errors.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

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
    before_ = KeepResultBefore(place.resultPath);
    if (before_.identity) {
        WaitPastModificationTime(before_.identity->modified);
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
    outcome_.readError = after.readError ? after.readError : reading.readError;
    if (outcome_.runId == MeanValueRun) {
        outcome_.picture = ReadPicture(place_.resultPath, startedAt_);
    }
}

} // namespace zelmora
