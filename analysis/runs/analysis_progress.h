#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace zelmora {

// How far an analysis is: its runs and its time.
struct AnalysisProgress {
    int done = 0;
    int total = 0;
    int running = 0;
    double elapsedSeconds = 0;
    std::optional<double> secondsLeft; // once a run has finished and while runs remain
    int reused = 0; // among those done: taken from an interrupted analysis's journal
    std::optional<int> failedAfter = std::nullopt; // the runs up to the one that ended it
    // Before the first run, while what the runs depend on is read: bytes read of all there are.
    std::uint64_t hashedBytes = 0;
    std::uint64_t bytesToHash = 0;
};

// "9 runs reused from the interrupted analysis"
std::string ReusedRunsText(int runs);

// "5 of 23 runs done, 4 running · 00:12:41 elapsed · about 00:31:00 left" (UTF-8), with
// the reused runs' text before the time when runs were reused; after a failure "Failed after 1
// of 8 runs". While the files the runs depend on are read: "Reading the model, the calculator
// and the data folder: 412 of 1024 MiB".
std::string FormatProgress(const AnalysisProgress& progress);

// Seconds on some fixed scale; injectable so that tests need no sleeping.
using Clock = std::function<double()>;
Clock SteadyClock();

// Counts the runs as they start and end and reports the progress after each change; the
// estimate of the time left comes from the mean duration of the runs that ran.
class ProgressMeter {
public:
    using Report = std::function<void(const AnalysisProgress&)>;

    ProgressMeter(Clock clock, Report report, int workers);

    // Reported only once the reading has taken over a second.
    void Hashing(std::uint64_t hashed, std::uint64_t total);
    void AddRuns(int count);
    void AddReusedRuns(int count); // done at once; the estimate leaves them out
    void RunStarted(int run);
    void RunEnded(int run);
    void RunWithdrawn(int run); // a run started, running or ended, that will not count
    void Tick();                // reports the elapsed time
    void Finish();
    // The analysis failed at run `runs` in plan order; nothing after it is counted.
    void Fail(int runs);

private:
    void Send();

    Clock clock_;
    Report report_;
    int workers_;
    double start_;
    AnalysisProgress progress_;
    std::map<int, double> startedAt_;
    double finishedSeconds_ = 0;
    bool hashingShown_ = false;
};

} // namespace zelmora
