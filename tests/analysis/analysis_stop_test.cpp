// Stopping an analysis ends every running calculator and leaves the log, the state and the
// project as after a failure, with "Analysis stopped." as the last log line.
#include "analysis/analysis_driver.h"
#include "analysis/runs/run_executor.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/left_work_folder.h"
#include "tests/support/memory_log.h"
#include "tests/support/pid_file.h"
#include "tests/support/temp_folder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace zelmora {
namespace {

using testing::CalculatorProject;

struct StopCase {
    const char* name;
    int parallelRuns;
    const char* fault;
};

class AnalysisStop : public ::testing::TestWithParam<StopCase> {
protected:
    void SetUp() override {
        State = ProjectState{};
        project_.Reset();
        State.StepSize = 1.0;
        Row(State, 1) = {1, 30, 3, 10, 2};
        Row(State, 2) = {2, 25, 2, 5, 1};
        test_support::WriteBytes(State.ProjectPath, "model\n");
        // The run with the cohesion of row 1 reduced (run 3) hangs until it is ended.
        project_.WriteModel("base 0.2\nterm 1 3 1.2 0.5\nterm 1 4 0.02 10\npidfile " + pids_ +
                            "\nfault " + GetParam().fault + " 1 4\n");
    }

    std::vector<pid_t> HangingProcesses() const { return test_support::PidsIn(pids_); }

    test_support::TempFolder scratch_;
    const std::string pids_ = scratch_.File("pids");
    CalculatorProject project_;
};

TEST_P(AnalysisStop, EndsEveryCalculatorAndTheAnalysis) {
    test_support::MemoryLog log;
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    AnalysisOptions options;
    options.parallelRuns = GetParam().parallelRuns;
    options.stopRequested = [&] { return !HangingProcesses().empty(); };
    AnalysisRecord record;
    EXPECT_THROW(RunAnalysis(log, *processes, options, record), EAnalysisStopped);

    EXPECT_TRUE(record.stopped);
    EXPECT_EQ(record.error, "Analysis stopped.");
    EXPECT_EQ(log.lines.back(), "Analysis stopped.");
    if (GetParam().parallelRuns == 1) {
        // Runs 1 and 2 were applied before the hanging run 3; nothing after it.
        ASSERT_EQ(log.lines.size(), 11U);
        EXPECT_EQ(log.lines[8], "Safety Factor Test: 2");
    }
    EXPECT_EQ(processes->RunningCount(), 0);
    for (const pid_t pid : HangingProcesses()) {
        EXPECT_NE(kill(pid, 0), 0) << "calculator " << pid << " still there";
    }
    EXPECT_TRUE(test_support::OnlyTheJournalLeft(State.ProjectPath + ".runs"));
    if (GetParam().parallelRuns == 1) {
        // Runs 1 and 2 are journaled for a resume.
        EXPECT_TRUE(std::filesystem::exists(State.ProjectPath + ".runs/journal.jsonl"));
        EXPECT_EQ(test_support::ReadBytes(State.ModificationFilePath), "0\r\n");
    } else {
        EXPECT_FALSE(std::filesystem::exists(State.ModificationFilePath));
    }
}

INSTANTIATE_TEST_SUITE_P(Executors, AnalysisStop,
                         ::testing::Values(StopCase{"InPlace", 1, "hang"},
                                           StopCase{"Parallel", 3, "hang"},
                                           StopCase{"ParallelIgnoringTerm", 7, "hang-hard"}),
                         [](const ::testing::TestParamInfo<StopCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace zelmora
