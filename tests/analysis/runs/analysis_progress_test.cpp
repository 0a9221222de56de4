#include "analysis/runs/analysis_progress.h"

#include <gtest/gtest.h>
#include <vector>

namespace zelmora {
namespace {

TEST(FormatProgress, ShowsRunsTimeAndTheEstimate) {
    struct Case {
        AnalysisProgress progress;
        std::string text;
    };
    const Case cases[] = {
        {{5, 23, 4, 761, 1860.0},
         "5 of 23 runs done, 4 running · 00:12:41 elapsed · about "
         "00:31:00 left"},
        {{0, 7, 2, 0.4, std::nullopt}, "0 of 7 runs done, 2 running · 00:00:00 elapsed"},
        {{23, 23, 0, 90061, std::nullopt}, "23 of 23 runs done, 0 running · 25:01:01 elapsed"},
        {{1, 3, 1, 59.5, 0.4},
         "1 of 3 runs done, 1 running · 00:01:00 elapsed · about "
         "00:00:00 left"},
        {{14, 23, 2, 61, 120.0, 9},
         "14 of 23 runs done, 2 running · 9 runs reused from the interrupted analysis · "
         "00:01:01 elapsed · about 00:02:00 left"},
        {{1, 7, 0, 0, std::nullopt, 1},
         "1 of 7 runs done, 0 running · 1 run reused from the interrupted analysis · "
         "00:00:00 elapsed"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatProgress(c.progress), c.text);
    }
}

// A clock the test moves by hand.
struct ManualClock {
    double now = 100;
    Clock clock() {
        return [this] { return now; };
    }
};

TEST(ProgressMeter, EstimatesTheTimeLeftFromTheFinishedRunsMeanDuration) {
    ManualClock time;
    std::vector<AnalysisProgress> reports;
    ProgressMeter meter(
        time.clock(), [&](const AnalysisProgress& p) { reports.push_back(p); }, 4);
    meter.AddRuns(23);
    for (int run = 0; run < 4; ++run) {
        meter.RunStarted(run);
    }
    EXPECT_FALSE(reports.back().secondsLeft);
    time.now += 30;
    meter.RunEnded(0);
    meter.RunEnded(1);
    const AnalysisProgress& afterTwo = reports.back();
    EXPECT_EQ(afterTwo.done, 2);
    EXPECT_EQ(afterTwo.running, 2);
    EXPECT_EQ(afterTwo.elapsedSeconds, 30);
    // 21 runs left at 30 s each, four at a time.
    ASSERT_TRUE(afterTwo.secondsLeft);
    EXPECT_DOUBLE_EQ(*afterTwo.secondsLeft, 30.0 * 21 / 4);

    time.now += 10;
    meter.Tick();
    EXPECT_EQ(reports.back().elapsedSeconds, 40);
    meter.Finish();
    EXPECT_EQ(reports.back().running, 0);
    EXPECT_FALSE(reports.back().secondsLeft);
    EXPECT_EQ(reports.back().done, 2);
}

TEST(ProgressMeter, WithFewerRunsLeftThanWorkersTheRunsLeftRunAtOnce) {
    ManualClock time;
    AnalysisProgress last;
    ProgressMeter meter(
        time.clock(), [&](const AnalysisProgress& p) { last = p; }, 8);
    meter.AddRuns(3);
    meter.RunStarted(0);
    time.now += 12;
    meter.RunEnded(0);
    ASSERT_TRUE(last.secondsLeft);
    EXPECT_DOUBLE_EQ(*last.secondsLeft, 12.0);
}

// Reused runs count as done at once, but the estimate comes from the runs that ran.
TEST(ProgressMeter, ReusedRunsAreDoneButLeaveTheEstimateToTheRunsThatRan) {
    ManualClock time;
    AnalysisProgress last;
    ProgressMeter meter(
        time.clock(), [&](const AnalysisProgress& p) { last = p; }, 2);
    meter.AddReusedRuns(9);
    EXPECT_EQ(last.done, 9);
    EXPECT_EQ(last.reused, 9);
    EXPECT_FALSE(last.secondsLeft);
    meter.AddRuns(14);
    meter.RunStarted(0);
    time.now += 20;
    meter.RunEnded(0);
    EXPECT_EQ(last.done, 10);
    EXPECT_EQ(last.total, 23);
    ASSERT_TRUE(last.secondsLeft);
    // 13 runs left at 20 s each, two at a time.
    EXPECT_DOUBLE_EQ(*last.secondsLeft, 20.0 * 13 / 2);
}

// Reading what the runs depend on is told only once it has taken over a second, then until it
// is done.
TEST(ProgressMeter, TheKeysReadingIsToldOnceItTakesOverASecond) {
    ManualClock time;
    std::vector<std::string> told;
    ProgressMeter meter(
        time.clock(), [&](const AnalysisProgress& p) { told.push_back(FormatProgress(p)); }, 1);
    constexpr std::uint64_t MiB = std::uint64_t{1024} * 1024;
    meter.Hashing(100 * MiB, 1024 * MiB);
    time.now += 0.9;
    meter.Hashing(300 * MiB, 1024 * MiB);
    EXPECT_TRUE(told.empty());
    time.now += 0.2;
    meter.Hashing(412 * MiB, 1024 * MiB);
    meter.Hashing(1024 * MiB, 1024 * MiB);
    EXPECT_EQ(told, (std::vector<std::string>{
                        "Reading the model, the calculator and the data folder: 412 of 1024 MiB",
                        "0 of 0 runs done, 0 running · 00:00:01 elapsed"}));
}

} // namespace
} // namespace zelmora
