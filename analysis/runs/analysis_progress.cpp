#include "analysis/runs/analysis_progress.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

namespace zelmora {

namespace {

std::string Duration(double seconds) {
    const long whole = std::lround(std::max(seconds, 0.0));
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", whole / 3600, whole / 60 % 60,
                  whole % 60);
    return text;
}

} // namespace

std::string ReusedRunsText(int runs) {
    return std::to_string(runs) + (runs == 1 ? " run" : " runs") +
           " reused from the interrupted analysis";
}

std::string FormatProgress(const AnalysisProgress& progress) {
    if (progress.failedAfter) {
        return "Failed after " + std::to_string(*progress.failedAfter) + " of " +
               std::to_string(progress.total) + " runs";
    }
    if (progress.hashedBytes < progress.bytesToHash) {
        constexpr std::uint64_t MiB = std::uint64_t{1024} * 1024;
        return "Reading the model, the calculator and the data folder: " +
               std::to_string(progress.hashedBytes / MiB) + " of " +
               std::to_string((progress.bytesToHash + MiB - 1) / MiB) + " MiB";
    }
    const std::string dot = " \u00b7 ";
    std::string text = std::to_string(progress.done) + " of " + std::to_string(progress.total) +
                       " runs done, " + std::to_string(progress.running) + " running" + dot;
    if (progress.reused > 0) {
        text += ReusedRunsText(progress.reused) + dot;
    }
    text += Duration(progress.elapsedSeconds) + " elapsed";
    if (progress.secondsLeft) {
        text += dot + "about " + Duration(*progress.secondsLeft) + " left";
    }
    return text;
}

Clock SteadyClock() {
    return [] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
}

ProgressMeter::ProgressMeter(Clock clock, Report report, int workers)
    : clock_(std::move(clock)), report_(std::move(report)), workers_(std::max(workers, 1)),
      start_(clock_()) {}

void ProgressMeter::Hashing(std::uint64_t hashed, std::uint64_t total) {
    constexpr double Quiet = 1.0;
    progress_.hashedBytes = hashed;
    progress_.bytesToHash = hashed < total ? total : 0;
    hashingShown_ = hashingShown_ || (progress_.bytesToHash > 0 && clock_() - start_ > Quiet);
    if (hashingShown_) {
        Send();
    }
}

void ProgressMeter::AddRuns(int count) {
    progress_.total += count;
    Send();
}

void ProgressMeter::AddReusedRuns(int count) {
    progress_.total += count;
    progress_.done += count;
    progress_.reused += count;
    Send();
}

void ProgressMeter::RunStarted(int run) {
    startedAt_[run] = clock_();
    ++progress_.running;
    Send();
}

void ProgressMeter::RunEnded(int run) {
    const auto started = startedAt_.find(run);
    if (started != startedAt_.end()) {
        finishedSeconds_ += clock_() - started->second;
        startedAt_.erase(started);
        --progress_.running;
    }
    ++progress_.done;
    Send();
}

void ProgressMeter::RunWithdrawn(int run) {
    if (startedAt_.erase(run) > 0) {
        --progress_.running;
    } else {
        --progress_.done;
    }
    --progress_.total;
    Send();
}

void ProgressMeter::Tick() {
    Send();
}

void ProgressMeter::Finish() {
    progress_.running = 0;
    progress_.secondsLeft.reset();
    progress_.elapsedSeconds = clock_() - start_;
    if (report_) {
        report_(progress_);
    }
}

void ProgressMeter::Fail(int runs) {
    progress_.failedAfter = runs;
    Finish();
}

void ProgressMeter::Send() {
    progress_.elapsedSeconds = clock_() - start_;
    const int remaining = progress_.total - progress_.done;
    progress_.secondsLeft.reset();
    const int ran = progress_.done - progress_.reused;
    if (ran > 0 && remaining > 0) {
        const double mean = finishedSeconds_ / ran;
        progress_.secondsLeft = mean * remaining / std::min(workers_, remaining);
    }
    if (report_) {
        report_(progress_);
    }
}

} // namespace zelmora
