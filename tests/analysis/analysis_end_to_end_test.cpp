#include "analysis/analysis_driver.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/in_place_analysis.h"
#include "tests/support/memory_log.h"

#include <cmath>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

using Lines = std::vector<std::string>;

// Three rows, four variables: friction of rows 1 and 4, cohesion of rows 1 and 2. The test
// calculator's factor is linear in the sine of each friction angle and in each cohesion,
// with the project's own values equal to the means.
class AnalysisEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        State = ProjectState{};
        State.StepSize = 0.5;
        Row(State, 1) = {3, 30, 3, 10, 2};
        Row(State, 2) = {5, 25, 0, 5, 1};
        Row(State, 4) = {8, 35, 5, 0, 0};
        project_ = std::make_unique<testing::CalculatorProject>();
        project_->WriteModel("base -1.4604\n"
                             "term 3 3 2.0 0.5\n"
                             "term 8 3 1.5 0.5736\n"
                             "term 3 4 0.05 10\n"
                             "term 5 4 0.04 5\n"
                             "term 5 3 1.0 0.4\n");
    }

    std::unique_ptr<testing::CalculatorProject> project_;
    test_support::MemoryLog log_;
};

TEST_F(AnalysisEndToEndTest, ComputesTheReliabilityFromRealRuns) {
    test_support::AnalyseInPlace(log_);

    EXPECT_EQ(project_->History(), "0\r\n--\n"
                                   "4\r\n1 3 3   0.5000\r\n1 8 3   0.5736\r\n"
                                   "1 3 4  10.0000\r\n1 5 4   5.0000\r\n--\n"
                                   "1\r\n1 3 3   0.4738\r\n--\n"
                                   "1\r\n1 8 3   0.5300\r\n--\n"
                                   "1\r\n1 3 4   9.0000\r\n--\n"
                                   "1\r\n1 5 4   4.5000\r\n--\n"
                                   "4\r\n1 3 3   0.4738\r\n1 8 3   0.5300\r\n"
                                   "1 3 4   9.0000\r\n1 5 4   4.5000\r\n--\n");
    EXPECT_EQ(test_support::ReadBytes(State.ModificationFilePath), "0\r\n");

    // Sensitivity = coefficient * (mean - reduced) / step.
    const double sensitivities[] = {2.0 * 0.0262 / 0.5, 1.5 * 0.0436 / 0.5, 0.05 * 1.0 / 0.5,
                                    0.04 * 0.5 / 0.5};
    const int variables[] = {1, 4, 11, 12};
    double squares = 0;
    double sum = 0;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Entry(State.Variables, i + 1), variables[i]);
        EXPECT_NEAR(Entry(State.Sensitivities, variables[i]), sensitivities[i], 1e-12);
        EXPECT_NEAR(Entry(State.SafetyFactors, variables[i]), 1.5 - 0.5 * sensitivities[i], 1e-12);
        squares += sensitivities[i] * sensitivities[i];
        sum += sensitivities[i];
    }
    EXPECT_NEAR(Entry(State.SafetyFactors, -1), 1.5, 1e-12);
    EXPECT_NEAR(Entry(State.SafetyFactors, 0), 1.5, 1e-12);
    EXPECT_NEAR(Entry(State.SafetyFactors, -2), 1.5 - 0.5 * sum, 1e-12);
    for (int key : {2, 3, 5, 6, 7, 8, 9, 10, 13, 14, 15, 16, 17, 18, 19, 20}) {
        EXPECT_EQ(Entry(State.SafetyFactors, key), 0.0) << "key " << key;
    }
    EXPECT_NEAR(State.Beta, 0.5 / std::sqrt(squares), 1e-11);
    EXPECT_NEAR(State.Beta, 2.5097, 5e-5);
    EXPECT_NEAR(State.FailureProbability, 0.0060406, 5e-7);
    EXPECT_NEAR(State.Linearity, 1.0, 1e-11);

    EXPECT_EQ(log_.lines, (Lines{"Zelmora",
                                 "Safety Factor Standard",
                                 "  1.5000",
                                 "number of variables: 4",
                                 "Safety Factor Mean Values",
                                 "  1.5000",
                                 "Safety Factor Test: 1",
                                 "  1.4476",
                                 "Safety Factor Test: 2",
                                 "  1.4346",
                                 "Safety Factor Test: 3",
                                 "  1.4500",
                                 "Safety Factor Test: 4",
                                 "  1.4800",
                                 "Beta: ",
                                 "  2.5097",
                                 "Probability of Failure: ",
                                 "  0.0060",
                                 "Safety Factor Linearity check",
                                 "  1.3122",
                                 "Linearity (1 = perfect)",
                                 "  1.0000"}));
}

// Found missing before the first run: nothing is written.
TEST_F(AnalysisEndToEndTest, ACalculatorThatCannotBeStartedLeavesNoModifications) {
    State.BatchPath = project_->dataFile("missing calculator");
    test_support::WriteBytes(project_->dataFile("slope.hxx"), testing::ResultRecord("1.9"));
    try {
        test_support::AnalyseInPlace(log_);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The batch calculator cannot be found: " + State.BatchPath);
    }
    for (int key = -2; key <= 20; ++key) {
        EXPECT_EQ(Entry(State.SafetyFactors, key), 0.0);
    }
    EXPECT_EQ(log_.lines, Lines{"Zelmora"});
    EXPECT_FALSE(std::filesystem::exists(project_->dataFile("slope.mmt")));
}

} // namespace
} // namespace zelmora
