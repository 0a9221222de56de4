// A stop while the work copies are made takes effect at once, not after every copy is done.
#include "analysis/analysis_driver.h"
#include "analysis/runs/run_executor.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

using Clock = std::chrono::steady_clock;

TEST(CopyStop, AStopDuringTheCopiesEndsTheAnalysisWithinASecond) {
    testing::CalculatorProject project;
    State = ProjectState{};
    project.Reset();
    State.StepSize = 1.0;
    Row(State, 1) = {1, 30, 3, 10, 2};
    test_support::WriteBytes(State.ProjectPath, "model\n");
    project.WriteModel("base 0.2\nterm 1 3 1.2 0.5\n");
    // Many files, and one large one of several chunks.
    for (int k = 0; k < 1000; ++k) {
        test_support::WriteBytes(project.dataFile("f" + std::to_string(k)), "x");
    }
    test_support::WriteBytes(project.dataFile("large"), std::string(8 << 20, 'x'));

    // Asked the first time, the stop is there at once.
    std::optional<Clock::time_point> asked;
    bool copiesMadeWhenAsked = false;
    AnalysisOptions options;
    options.parallelRuns = 5;
    options.stopRequested = [&] {
        if (!asked) {
            asked = Clock::now();
            copiesMadeWhenAsked = std::filesystem::exists(State.ProjectPath + ".runs/5");
        }
        return true;
    };
    test_support::MemoryLog log;
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    AnalysisRecord record;
    EXPECT_THROW(RunAnalysis(log, *processes, options, record), EAnalysisStopped);
    ASSERT_TRUE(asked);
    EXPECT_FALSE(copiesMadeWhenAsked);
    EXPECT_LT(Clock::now() - *asked, std::chrono::seconds(1));
    EXPECT_TRUE(record.stopped);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"Zelmora", "Analysis stopped."}));
    EXPECT_FALSE(std::filesystem::exists(State.ProjectPath + ".runs"));
}

} // namespace
} // namespace zelmora
