#include "analysis/analysis_driver.h"
#include "analysis/methods/approximate_tail_probability.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/analysis/support/scripted_calculator.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"
#include "tests/support/temp_folder.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

using Lines = std::vector<std::string>;
using test_support::MemoryLog;
using testing::ScriptedCalculator;

constexpr double PreviousProbability = 0.25;
constexpr double PreviousLinearity = 0.75;

// The modification files of the worked example: row 1 (set 1) with both variables.
const std::string StandardFile = "0\r\n";
const std::string MeanFile = "2\r\n1 1 3   0.5000\r\n1 1 4  10.0000\r\n";
const std::string FrictionReducedFile = "1\r\n1 1 3   0.4477\r\n";
const std::string CohesionReducedFile = "1\r\n1 1 4   8.0000\r\n";
const std::string AllReducedFile = "2\r\n1 1 3   0.4477\r\n1 1 4   8.0000\r\n";

class AnalysisDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        State = ProjectState{};
        State.BatchPath = "batch.exe";
        State.ProjectPath = folder_.File("test.plx");
        State.ProjectName = "test";
        State.StepSize = 1.0;
        State.FailureProbability = PreviousProbability;
        State.Linearity = PreviousLinearity;
        State.LastSafetyFactor = 7.0;
        std::filesystem::create_directory(folder_.File("test.dta"));
        Row(State, 1) = {1, 30, 3, 10, 2};
        // The scripted calculator plays the runs, but the analysis finds its program first.
        test_support::WriteBytes(State.ProjectPath, "model\n");
        test_support::WriteBytes(folder_.File("batch.exe"), "");
        std::filesystem::permissions(folder_.File("batch.exe"), std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
        setenv("PATH", (folder_.Path() + ":" + path_).c_str(), 1);
    }

    void TearDown() override { setenv("PATH", path_.c_str(), 1); }

    std::string ModificationFile() const {
        return test_support::ReadBytes(folder_.File("test.dta/test.mmt"));
    }

    // Runs the analysis, expecting it to fail with the message.
    void ExpectFailure(ScriptedCalculator& calculator, const std::string& message) {
        try {
            testing::AnalyseInPlace(log_, calculator);
            ADD_FAILURE() << "no error, expected " << message;
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }

    void ExpectRefusedBeforeAnyRun(const std::string& message) {
        State.Beta = 2.5;
        ScriptedCalculator calculator({"1.5", "1.5", "1.4"});
        ExpectFailure(calculator, message);
        EXPECT_TRUE(calculator.commandLines.empty());
        EXPECT_EQ(log_.lines, Lines{"Zelmora"});
        EXPECT_EQ(State.Beta, 2.5);
        EXPECT_EQ(State.FailureProbability, PreviousProbability);
        EXPECT_FALSE(std::filesystem::exists(folder_.File("test.dta/test.mmt")));
    }

    void ExpectSafetyFactors(std::initializer_list<std::pair<int, double>> stored) {
        for (int key = -2; key <= 20; ++key) {
            double expected = 0;
            for (const auto& [k, value] : stored) {
                if (k == key) {
                    expected = value;
                }
            }
            EXPECT_EQ(Entry(State.SafetyFactors, key), expected) << "key " << key;
        }
    }

    const std::string path_ = std::getenv("PATH");
    test_support::TempFolder folder_;
    test_support::MemoryLog log_;
};

TEST_F(AnalysisDriverTest, WorkedExample) {
    ScriptedCalculator calculator({"1.5", "1.5", "1.4", "1.3", "1.2"});
    log_.lines = {"Zelmora", "old line", "another old line"};
    testing::AnalyseInPlace(log_, calculator);

    EXPECT_EQ(log_.lines,
              (Lines{"Zelmora", "Safety Factor Standard", "  1.5000", "number of variables: 2",
                     "Safety Factor Mean Values", "  1.5000", "Safety Factor Test: 1", "  1.4000",
                     "Safety Factor Test: 2", "  1.3000", "Beta: ", "  2.2361",
                     "Probability of Failure: ", "  0.0127", "Safety Factor Linearity check",
                     "  1.2000", "Linearity (1 = perfect)", "  1.0000"}));
    EXPECT_EQ(log_.probabilityLabel, "  0.0127");
    EXPECT_EQ(log_.showCount, 1);

    EXPECT_EQ(calculator.modificationFiles, (Lines{StandardFile, MeanFile, FrictionReducedFile,
                                                   CohesionReducedFile, AllReducedFile}));
    EXPECT_EQ(calculator.commandLines, Lines(5, "batch.exe " + State.ProjectPath + " /c"));
    EXPECT_EQ(calculator.showModes, std::vector<int>(5, 1));
    EXPECT_EQ(ModificationFile(), StandardFile);

    EXPECT_EQ(State.VariableCount, 2);
    EXPECT_EQ(Entry(State.Variables, 1), 1);
    EXPECT_EQ(Entry(State.Variables, 2), 11);
    ExpectSafetyFactors({{-2, 1.2}, {-1, 1.5}, {0, 1.5}, {1, 1.4}, {11, 1.3}});
    EXPECT_NEAR(Entry(State.Sensitivities, 1), 0.1, 1e-15);
    EXPECT_NEAR(Entry(State.Sensitivities, 11), 0.2, 1e-15);
    EXPECT_NEAR(State.Beta, 0.5 / std::sqrt(0.05), 1e-14);
    EXPECT_NEAR(State.FailureProbability, 0.0127, 5e-5);
    EXPECT_EQ(State.FailureProbability, TailProbability(State.Beta));
    EXPECT_NEAR(State.Linearity, 1.0, 1e-14);
    EXPECT_EQ(State.LastSafetyFactor, 1.2);
    EXPECT_EQ(State.ResultFilePath, folder_.File("test.dta/test.hxx"));
}

TEST_F(AnalysisDriverTest, RunningTwiceLeavesOneSetOfLines) {
    ScriptedCalculator first({"1.5", "1.5", "1.4", "1.3", "1.2"});
    testing::AnalyseInPlace(log_, first);
    const Lines once = log_.lines;
    ScriptedCalculator second({"1.5", "1.5", "1.4", "1.3", "1.2"});
    testing::AnalyseInPlace(log_, second);
    EXPECT_EQ(log_.lines, once);
    EXPECT_EQ(log_.lines.size(), 18u);
}

TEST_F(AnalysisDriverTest, WorksFromTheMeanRunNotTheStandardRun) {
    // One variable: beta = (0.5 - 1) / 0.5 = -1 exactly, linearity (0.5 - 1) / -0.5 = 1.
    Row(State, 1) = {1, 30, 0, 10, 2};
    State.StepSize = 1.0;
    ScriptedCalculator calculator({"9", "0.5", "1", "1"});
    testing::AnalyseInPlace(log_, calculator);

    EXPECT_EQ(State.Beta, -1.0);
    EXPECT_EQ(State.FailureProbability, TailProbability(-1.0));
    EXPECT_EQ(log_.lines[11], "  0.8413");
    EXPECT_EQ(log_.probabilityLabel, "  0.8413");
    EXPECT_EQ(State.Linearity, 1.0);
    EXPECT_EQ(Entry(State.Sensitivities, 11), -0.5);
    ExpectSafetyFactors({{-2, 1.0}, {-1, 9.0}, {0, 0.5}, {11, 1.0}});
}

// An empty result file holds no safety factor: the analysis ends instead of computing on
// with a 0 for the run.
TEST_F(AnalysisDriverTest, AnEmptyResultFileEndsTheAnalysis) {
    ScriptedCalculator calculator({"1.5", "1.5", "", "1.3", "1.2"});
    ExpectFailure(calculator,
                  "The result file holds no safety factor: " + folder_.File("test.dta/test.hxx"));

    ExpectSafetyFactors({{-1, 1.5}, {0, 1.5}});
    EXPECT_EQ(log_.lines.size(), 6U);
    EXPECT_EQ(State.Beta, 0.0);
    EXPECT_EQ(ModificationFile(), StandardFile);
}

// These inputs had outcomes after some runs; now they are refused before any run, and the
// state keeps the results it held.
TEST_F(AnalysisDriverTest, WithoutVariablesTheAnalysisIsRefusedBeforeAnyRun) {
    Row(State, 1) = {1, 30, 0, 10, -0.0};
    ExpectRefusedBeforeAnyRun(
        "There is no random variable: no row has a standard deviation above 0.");
}

TEST_F(AnalysisDriverTest, DeviationsOfZeroAreRefusedAsNoVariable) {
    Row(State, 1) = {1, 30, 0, 10, 0};
    ExpectRefusedBeforeAnyRun(
        "There is no random variable: no row has a standard deviation above 0.");
}

TEST_F(AnalysisDriverTest, AStepSizeOfZeroIsRefusedBeforeAnyRun) {
    State.StepSize = 0;
    ExpectRefusedBeforeAnyRun("The step size must be a finite number above 0, not 0.0000.");
}

TEST_F(AnalysisDriverTest, ANegativeDeviationIsRefusedNamingItsRow) {
    Row(State, 2) = {2, 25, -3, 5, 1};
    ExpectRefusedBeforeAnyRun(
        "Row 2: the standard deviation of \u03c6 is negative (\u22123.0000).");
}

TEST_F(AnalysisDriverTest, SensitivitiesAddingUpToZeroFailTheLinearity) {
    ScriptedCalculator calculator({"1.5", "1.5", "1.4", "1.6", "1.2"});
    ExpectFailure(calculator, "Floating point division by zero");

    EXPECT_NEAR(State.Beta, 0.5 / std::sqrt(0.02), 1e-13);
    EXPECT_EQ(State.FailureProbability, TailProbability(State.Beta));
    EXPECT_EQ(State.Linearity, PreviousLinearity);
    EXPECT_EQ(log_.lines.size(), 14u);
    EXPECT_EQ(calculator.commandLines.size(), 5u);
    EXPECT_EQ(ModificationFile(), StandardFile);
}

TEST_F(AnalysisDriverTest, AMissingResultFileEndsTheAnalysis) {
    ScriptedCalculator calculator({"1.5", "1.5"});
    calculator.afterCall = [](int call) {
        if (call == 2) {
            std::filesystem::remove(State.ResultFilePath);
        }
        return 0;
    };
    ExpectFailure(calculator, "File not found");

    EXPECT_EQ(log_.lines.size(), 6u);
    ExpectSafetyFactors({{-1, 1.5}, {0, 1.5}});
    EXPECT_EQ(State.Beta, 0.0);
    EXPECT_EQ(State.FailureProbability, PreviousProbability);
    EXPECT_EQ(State.Linearity, PreviousLinearity);
    EXPECT_EQ(calculator.modificationFiles.back(), FrictionReducedFile);
    EXPECT_EQ(ModificationFile(), StandardFile);
}

TEST_F(AnalysisDriverTest, ANonNumericTokenEndsTheAnalysisWithTheValueStored) {
    ScriptedCalculator calculator({"1.5", "1.5", "1.4", "1.3x"});
    ExpectFailure(calculator, "Invalid numeric input");

    ExpectSafetyFactors({{-1, 1.5}, {0, 1.5}, {1, 1.4}, {11, 13.0}});
    EXPECT_EQ(State.LastSafetyFactor, 13.0);
    EXPECT_EQ(log_.lines.back(), "  1.4000");
    EXPECT_EQ(State.Beta, 0.0);
    EXPECT_EQ(calculator.modificationFiles.back(), CohesionReducedFile);
    EXPECT_EQ(ModificationFile(), StandardFile);
}

TEST_F(AnalysisDriverTest, AnUncreatableModificationFileEndsTheAnalysisAtOnce) {
    std::filesystem::remove(folder_.File("test.dta"));
    ScriptedCalculator calculator({"1.5"});
    ExpectFailure(calculator,
                  "The model's data folder does not exist: " + folder_.File("test.dta"));

    EXPECT_TRUE(calculator.commandLines.empty());
    EXPECT_EQ(log_.lines, Lines{"Zelmora"});
    EXPECT_FALSE(std::filesystem::exists(folder_.File("test.dta")));
}

TEST_F(AnalysisDriverTest, WhenTheRewriteFailsTooTheFirstErrorIsReported) {
    ScriptedCalculator calculator({"1.5", "1.5", "1.4"});
    calculator.afterCall = [](int call) {
        if (call == 2) {
            std::filesystem::remove(State.ModificationFilePath);
            std::filesystem::create_directory(State.ModificationFilePath);
            std::filesystem::remove(State.ResultFilePath);
        }
        return 0;
    };
    ExpectFailure(calculator, "File not found");
    EXPECT_TRUE(std::filesystem::is_directory(State.ModificationFilePath));
}

TEST_F(AnalysisDriverTest, AFailingFinalRewriteIsReportedAfterAllResults) {
    ScriptedCalculator calculator({"1.5", "1.5", "1.4", "1.3", "1.2"});
    calculator.afterCall = [](int call) {
        if (call == 4) {
            std::filesystem::remove(State.ModificationFilePath);
            std::filesystem::create_directory(State.ModificationFilePath);
        }
        return 0;
    };
    ExpectFailure(calculator, "File access denied");
    EXPECT_EQ(log_.lines.size(), 18u);
    EXPECT_NEAR(State.Linearity, 1.0, 1e-14);
}

TEST_F(AnalysisDriverTest, ACalculatorThatCannotBeStartedEndsTheAnalysis) {
    ScriptedCalculator calculator({"1.5", "1.5", "1.4"});
    calculator.afterCall = [](int call) { return call == 2 ? -1 : 0; };
    ExpectFailure(calculator, "The batch calculator could not be started: batch.exe " +
                                  State.ProjectPath + " /c");

    // The result file left behind by that call is not read.
    ExpectSafetyFactors({{-1, 1.5}, {0, 1.5}});
    EXPECT_EQ(State.LastSafetyFactor, 1.5);
    EXPECT_EQ(log_.lines.size(), 6u);
    EXPECT_EQ(ModificationFile(), StandardFile);
}

// A status that reports a signal (129 to 192) fails the run; see executor_equivalence_test.
TEST_F(AnalysisDriverTest, AnyOtherExitStatusIsIgnored) {
    ScriptedCalculator calculator({"1.5", "1.5", "1.4", "1.3", "1.2"});
    calculator.afterCall = [](int call) { return call == 0 ? 1 : 128 + 65; };
    testing::AnalyseInPlace(log_, calculator);
    EXPECT_NEAR(State.Linearity, 1.0, 1e-14);
}

struct VariableListCase {
    std::vector<std::pair<int, std::pair<double, double>>> deviations; // row, (phi, cohesion)
    std::vector<int> variables;
};

TEST(BuildVariableList, ListsFrictionAnglesThenCohesionsInRowOrder) {
    const VariableListCase cases[] = {
        {{}, {}},
        {{{3, {1, 0}}, {7, {0.5, 0}}, {2, {0, 2}}, {3, {1, 3}}}, {3, 7, 12, 13}},
        {{{2, {1, 1}}, {5, {2, 2}}}, {2, 5, 12, 15}},
        {{{1, {0, 0}}, {4, {-1, -2}}, {6, {1e-300, 0}}}, {6}},
    };
    for (const VariableListCase& c : cases) {
        State = ProjectState{};
        for (const auto& [row, deviation] : c.deviations) {
            Row(State, row).PhiMean = 30;
            Row(State, row).PhiStdDev = deviation.first;
            Row(State, row).CohesionStdDev = deviation.second;
        }
        BuildVariableList();
        ASSERT_EQ(State.VariableCount, static_cast<int>(c.variables.size()));
        for (std::size_t i = 0; i < c.variables.size(); ++i) {
            EXPECT_EQ(Entry(State.Variables, static_cast<int>(i) + 1), c.variables[i]);
        }
        EXPECT_EQ(Entry(State.Variables, -2), -2);
        EXPECT_EQ(Entry(State.Variables, -1), -1);
        EXPECT_EQ(Entry(State.Variables, 0), 0);
    }

    State = ProjectState{};
    for (int row = 1; row <= SoilRowCount; ++row) {
        Row(State, row).PhiStdDev = 1;
        Row(State, row).CohesionStdDev = 1;
    }
    BuildVariableList();
    ASSERT_EQ(State.VariableCount, 20);
    for (int k = 1; k <= 20; ++k) {
        EXPECT_EQ(Entry(State.Variables, k), k);
    }
}

TEST(BuildVariableList, ClearsTheFactorsAndBetaOnly) {
    State = ProjectState{};
    State.SafetyFactors.fill(1.5);
    State.Sensitivities.fill(0.5);
    State.Beta = 2;
    State.FailureProbability = 0.1;
    State.Linearity = 0.9;
    State.LastSafetyFactor = 1.4;
    BuildVariableList();
    for (int key = -2; key <= 20; ++key) {
        EXPECT_EQ(Entry(State.SafetyFactors, key), 0.0);
        EXPECT_EQ(Entry(State.Sensitivities, key), 0.5);
    }
    EXPECT_EQ(State.Beta, 0.0);
    EXPECT_EQ(State.FailureProbability, 0.1);
    EXPECT_EQ(State.Linearity, 0.9);
    EXPECT_EQ(State.LastSafetyFactor, 1.4);
}

} // namespace
} // namespace zelmora
