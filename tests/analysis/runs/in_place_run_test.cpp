#include "analysis/coupling/data_file_paths.h"
#include "analysis/coupling/finite_element_run.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/file_bytes.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

class FiniteElementRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        State = ProjectState{};
        State.StepSize = 1.0;
        Row(State, 2) = {4, 30, 3, 10, 2};
        Entry(State.Variables, -2) = -2;
        Entry(State.Variables, -1) = -1;
        Entry(State.Variables, 1) = 2;
        Entry(State.Variables, 2) = 12;
        State.VariableCount = 2;
        project_ = std::make_unique<testing::CalculatorProject>();
        project_->WriteModel("base 0.25\nterm 4 3 2 0.5\nterm 4 4 0.125 10\n");
        DeriveDataFilePaths();
    }

    static int Execute(const std::string& commandLine, std::uint16_t showMode) {
        return ExecuteAndWait(commandLine, showMode);
    }

    std::unique_ptr<testing::CalculatorProject> project_;
};

TEST_F(FiniteElementRunTest, WritesRunsAndReadsThroughARealCalculator) {
    PerformRun(1, BuildBatchCommandLine(), Execute);

    EXPECT_EQ(project_->History(), "1\r\n1 4 3   0.4477\r\n--\n");
    // 0.25 + 2 * 0.4477 + 0.125 * 10
    EXPECT_NEAR(Entry(State.SafetyFactors, 2), 2.3954, 1e-12);
    EXPECT_EQ(State.LastSafetyFactor, Entry(State.SafetyFactors, 2));

    PerformRun(2, BuildBatchCommandLine(), Execute);
    // 0.25 + 2 * 0.5 + 0.125 * 8
    EXPECT_NEAR(Entry(State.SafetyFactors, 12), 2.25, 1e-12);
}

TEST_F(FiniteElementRunTest, ACalculatorThatCannotBeStartedIsAnError) {
    PerformRun(0, BuildBatchCommandLine(), Execute);
    const double earlier = Entry(State.SafetyFactors, 0);
    State.BatchPath = project_->dataFile("no such calculator");
    const std::string commandLine = BuildBatchCommandLine();
    try {
        PerformRun(1, commandLine, Execute);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The batch calculator could not be started: " + commandLine);
    }
    // The result file of the earlier run is still there but is not taken for this one.
    EXPECT_EQ(Entry(State.SafetyFactors, 2), 0.0);
    EXPECT_EQ(State.LastSafetyFactor, earlier);
    EXPECT_EQ(test_support::ReadBytes(State.ModificationFilePath), "1\r\n1 4 3   0.4477\r\n");
}

} // namespace
} // namespace zelmora
