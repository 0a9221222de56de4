// One run at a time in the project's own folder, through a real calculator: the modification
// file the run writes, the calculator it starts and the result it reads back.
#include "analysis/coupling/analysis_inputs.h"
#include "analysis/coupling/modification_file.h"
#include "analysis/runs/in_place_executor.h"
#include "analysis/runs/run_errors.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/file_bytes.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

class InPlaceRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        project_.StepSize = 1.0;
        Row(project_, 2) = {4, 30, 3, 10, 2};
        calculator_ = std::make_unique<testing::CalculatorProject>();
        calculator_->WriteModel("base 0.25\nterm 4 3 2 0.5\nterm 4 4 0.125 10\n");
        calculator_->PointAt(project_);
    }

    // One run's outcome; the modification file as the run left it, before the executor leaves
    // the project without modifications, in `modificationFile_`.
    RunOutcome Run(int runId, const AnalysisInputs& inputs) {
        const std::unique_ptr<RunExecutor> executor =
            MakeInPlaceExecutor(*processes_, inputs, {}, -1, control_);
        executor->Submit(
            {{runId, ModificationLines(inputs, runId), false, ValuesWrittenBy(inputs, runId)}});
        RunOutcome outcome = executor->Next();
        modificationFile_ = test_support::ReadBytes(inputs.modificationFilePath);
        executor->Finish(RunExecutor::Ending::Succeeded);
        return outcome;
    }

    ProjectState project_{};

    std::unique_ptr<ProcessSet> processes_ = MakeChildProcesses();
    ExecutionControl control_;
    std::unique_ptr<testing::CalculatorProject> calculator_;
    std::string modificationFile_;
};

TEST_F(InPlaceRunTest, WritesRunsAndReadsThroughARealCalculator) {
    const AnalysisInputs inputs = InputsOf(project_);
    const RunOutcome first = Run(1, inputs);

    EXPECT_EQ(calculator_->History(), "1\r\n1 4 3   0.4477\r\n--\n");
    // 0.25 + 2 * 0.4477 + 0.125 * 10
    EXPECT_NEAR(CheckedSafetyFactor(first, inputs), 2.3954, 1e-12);

    const RunOutcome second = Run(2, inputs);
    // 0.25 + 2 * 0.5 + 0.125 * 8
    EXPECT_NEAR(CheckedSafetyFactor(second, inputs), 2.25, 1e-12);
}

TEST_F(InPlaceRunTest, ACalculatorThatCannotBeStartedIsAnError) {
    ASSERT_TRUE(Run(0, InputsOf(project_)).safetyFactor);
    project_.BatchPath = calculator_->dataFile("no such calculator");
    const AnalysisInputs inputs = InputsOf(project_);
    const RunOutcome outcome = Run(1, inputs);
    try {
        CheckedSafetyFactor(outcome, inputs);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The batch calculator could not be started: " + inputs.batchCommandLine);
    }
    // The result file of the earlier run is still there but is not taken for this one.
    EXPECT_FALSE(outcome.safetyFactor);
    EXPECT_EQ(modificationFile_, "1\r\n1 4 3   0.4477\r\n");
}

} // namespace
} // namespace zelmora
