// The analysis gives the same log, state and error for every number of parallel runs: runs
// side by side in copies of the project must be indistinguishable from runs one after another
// in the project itself, also when a run fails.
#include "analysis/analysis_driver.h"
#include "processes/process_set.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/fuzz/project_state_compare.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <typeinfo>

namespace zelmora {
namespace {

using testing::CalculatorProject;

// Rows 1 and 2 with both variables: N = 4, so 7 runs, in the order phi 1, phi 2, c 1, c 2.
const std::string Model = "base 0.2\n"
                          "term 1 3 1.2 0.5\n"
                          "term 1 4 0.02 10\n"
                          "term 2 3 0.9 0.4\n"
                          "term 2 4 0.03 5\n";

const std::string StaleResult = "stale\n1 2 3 9.75\n";

struct Scenario {
    const char* name;
    std::string modelExtra;
    double stepSize = 1.0;
    bool noVariables = false;
    bool absentCalculator = false;
    const char* error = ""; // the start of the expected message, "" for success
};

struct Observed {
    std::vector<std::string> log;
    ProjectState state;
    std::string errorType;
    std::string error;
    std::vector<int> runIds;
    std::vector<int> exitStatuses;
    AnalysisRecord record;
};

class ExecutorEquivalence : public ::testing::TestWithParam<Scenario> {
protected:
    // The same project for every run, its data folder as it was before any calculation.
    void Prepare(const Scenario& scenario) {
        State = ProjectState{};
        for (const char* name : {"slope.hxx", "slope.mmt", "history.txt"}) {
            std::filesystem::remove(project_.dataFile(name));
        }
        project_.Reset();
        project_.WriteModel(Model + scenario.modelExtra);
        // An earlier analysis's result lies there, so every copy starts with it too.
        test_support::WriteBytes(project_.dataFile("slope.hxx"), StaleResult);
        test_support::WriteBytes(State.ProjectPath, "model\n");
        State.StepSize = scenario.stepSize;
        State.FailureProbability = 0.25;
        State.Linearity = 0.75;
        Row(State, 1) = {1, 30, 3, 10, 2};
        Row(State, 2) = {2, 25, scenario.noVariables ? 0.0 : 2.0, 5,
                         scenario.noVariables ? 0.0 : 1.0};
        if (scenario.noVariables) {
            Row(State, 1) = {1, 30, 0, 10, 0};
        }
        if (scenario.absentCalculator) {
            State.BatchPath = project_.dataFile("absent calculator");
        }
    }

    Observed Run(int parallelRuns) {
        Observed observed;
        test_support::MemoryLog log;
        const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
        AnalysisOptions options;
        options.parallelRuns = parallelRuns;
        try {
            RunAnalysis(log, *processes, options, observed.record);
        } catch (const Error& error) {
            observed.errorType = typeid(error).name();
            observed.error = error.what();
        }
        observed.log = log.lines;
        observed.state = State;
        for (const RunOutcome& outcome : observed.record.outcomes) {
            observed.runIds.push_back(outcome.runId);
            observed.exitStatuses.push_back(outcome.exitStatus);
        }
        return observed;
    }

    CalculatorProject project_;
};

TEST_P(ExecutorEquivalence, EveryNumberOfParallelRunsGivesTheSameAnalysis) {
    const Scenario& scenario = GetParam();
    Prepare(scenario);
    const Observed reference = Run(1);
    EXPECT_EQ(reference.error.rfind(scenario.error, 0), 0U) << reference.error;
    EXPECT_EQ(reference.error.empty(), std::string(scenario.error).empty()) << reference.error;
    const int variables = reference.state.VariableCount;

    for (const int k : {2, 3, variables + 3, variables + 10}) {
        SCOPED_TRACE("parallel runs " + std::to_string(k));
        Prepare(scenario);
        const Observed parallel = Run(k);
        EXPECT_EQ(parallel.log, reference.log);
        EXPECT_EQ(parallel.errorType, reference.errorType);
        EXPECT_EQ(parallel.error, reference.error);
        EXPECT_TRUE(fuzz::SameStoredFields(parallel.state, reference.state));
        EXPECT_TRUE(fuzz::SameOtherFields(parallel.state, reference.state));
        EXPECT_EQ(parallel.runIds, reference.runIds);
        EXPECT_EQ(parallel.exitStatuses, reference.exitStatuses);
        // The user's project is never written in parallel mode: no run saw its data folder.
        EXPECT_FALSE(std::filesystem::exists(project_.dataFile("history.txt")));
        EXPECT_FALSE(std::filesystem::exists(project_.dataFile("slope.mmt")));
        EXPECT_EQ(test_support::ReadBytes(project_.dataFile("slope.hxx")), StaleResult);
        const std::string workFolder = State.ProjectPath + ".runs";
        // An analysis refused before its first run makes no copies.
        if (parallel.error.empty() || parallel.runIds.empty()) {
            EXPECT_FALSE(std::filesystem::exists(workFolder));
            EXPECT_EQ(parallel.record.keptWorkFolder, "");
        } else {
            EXPECT_TRUE(std::filesystem::is_directory(workFolder + "/1"));
            EXPECT_EQ(parallel.record.keptWorkFolder, workFolder);
        }
    }
}

const std::string ResultFileEnd = "slope.dta/slope.hxx";

INSTANTIATE_TEST_SUITE_P(
    Scenarios, ExecutorEquivalence,
    ::testing::Values(
        Scenario{"Success", ""}, Scenario{"ExitStatusKept", "fault exit-3 2 3\n"},
        Scenario{"MissingResultAtRun3", "fault missing 1 4\n", 1.0, false, false, "File not found"},
        Scenario{"NonNumericToken", "fault junk 2 3\n", 1.0, false, false, "Invalid numeric input"},
        Scenario{"EmptyResultFile", "fault empty 2 4\n", 1.0, false, false,
                 "The result file holds no safety factor: "},
        Scenario{"ResultFileLeftAsItWas", "fault keep 1 3\n", 1.0, false, false,
                 "The batch calculator wrote no new result file: "},
        // A killed calculator's first stage record, an appended record cut short after the
        // previous run's whole one, and a launcher's report of SIGKILL are no results.
        Scenario{"KilledAfterAPartialResult", "fault partial-kill 2 4\n", 1.0, false, false,
                 "The batch calculator ended by signal 9 (Killed): "},
        Scenario{"AppendedPartialRecordThenExit1", "fault append-partial 2 4\n", 1.0, false, false,
                 "The result file holds no safety factor: "},
        Scenario{"LauncherReportsSignal9", "fault exit-137 2 4\n", 1.0, false, false,
                 "The batch calculator ended by signal 9 (Killed): "},
        Scenario{"CalculatorNotStartable", "", 1.0, false, true,
                 "The batch calculator cannot be found: "},
        Scenario{"NoVariables", "", 1.0, true, false, "There is no random variable"},
        Scenario{"ZeroStepSize", "", 0.0, false, false, "The step size must be"}),
    [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

} // namespace
} // namespace zelmora
