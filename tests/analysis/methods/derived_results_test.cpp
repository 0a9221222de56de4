#include "analysis/methods/derived_results.h"
#include "analysis/methods/random_variables.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "tests/analysis/support/three_variable_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

namespace zelmora {
namespace {

using testing::ThreeVariableProject;

// Independent values: Φ(-10/√21) and the lognormal β of F_mean 1.5 with V = √21/30, that is
// ln(45/√921) / √ln(921/900), with its Φ(-β_LN).
constexpr double ExactProbability = 0.014548165870626;
constexpr double LognormalBeta = 2.593835811278548;
constexpr double LognormalProbability = 0.004745590021280;

void ExpectVariable(const VariableResult& v, int position, int id, int row, int set,
                    Parameter parameter, double mean, double stdDev, double reduced, double factor,
                    double sensitivity, double share) {
    SCOPED_TRACE("variable " + std::to_string(id));
    EXPECT_EQ(v.position, position);
    EXPECT_EQ(v.variableId, id);
    EXPECT_EQ(v.row, row);
    EXPECT_EQ(v.setNumber, set);
    EXPECT_EQ(v.parameter, parameter);
    EXPECT_EQ(v.mean, mean);
    EXPECT_EQ(v.stdDev, stdDev);
    EXPECT_NEAR(v.reducedValue, reduced, 1e-15);
    EXPECT_EQ(v.safetyFactor, factor);
    ASSERT_TRUE(v.sensitivity && v.share);
    EXPECT_NEAR(*v.sensitivity, sensitivity, 1e-14);
    EXPECT_NEAR(*v.share, share, 1e-12);
}

void ExpectThreeVariableResults(const DerivedResults& results, double step,
                                double probabilityTolerance) {
    ASSERT_EQ(results.variables.size(), 3U);
    const double sin30minusSin3 = 0.5 - step * std::sin(3 * std::numbers::pi / 180);
    ExpectVariable(results.variables[0], 1, 1, 1, 1, Parameter::FrictionAngle, 30, 3,
                   sin30minusSin3, 1.4, 0.1 / step, 4.0 / 21);
    ExpectVariable(results.variables[1], 2, 11, 1, 1, Parameter::Cohesion, 10, 2, 10 - 2 * step,
                   1.3, 0.2 / step, 16.0 / 21);
    ExpectVariable(results.variables[2], 3, 12, 2, 4, Parameter::Cohesion, 5, 1, 5 - step, 1.55,
                   -0.05 / step, 1.0 / 21);
    EXPECT_NEAR(*results.variables[0].reducedAngle,
                std::asin(sin30minusSin3) * 180 / std::numbers::pi, 1e-12);
    EXPECT_FALSE(results.variables[1].reducedAngle);
    EXPECT_NEAR(*results.sigmaF, std::sqrt(21.0) / 20 / step, 1e-15);
    EXPECT_NEAR(*results.covF, std::sqrt(21.0) / 30 / step, 1e-15);
    EXPECT_NEAR(*results.exactProbability, ExactProbability, probabilityTolerance);
    EXPECT_EQ(results.linearity, 1.0);
}

TEST(DerivedResultsTest, ThreeVariablesWithANegativeSensitivity) {
    ProjectState project = ThreeVariableProject();
    const DerivedResults results = DeriveResults(project);
    ExpectThreeVariableResults(results, 1.0, 1e-14);
    EXPECT_NEAR(*results.betaLognormal, LognormalBeta, 1e-13);
    EXPECT_NEAR(*results.lognormalProbability, LognormalProbability, 1e-14);
}

TEST(DerivedResultsTest, SensitivitiesAreDividedByTheStep) {
    ProjectState project = ThreeVariableProject();
    project.StepSize = 0.5;
    ExpectThreeVariableResults(DeriveResults(project), 0.5, 1e-14);
}

TEST(DerivedResultsTest, TheStateStaysAsItWas) {
    ProjectState project = ThreeVariableProject();
    const ProjectState before = project;
    DeriveResults(project);
    EXPECT_EQ(project.Variables, before.Variables);
    EXPECT_EQ(project.VariableCount, 0);
    EXPECT_EQ(project.Sensitivities, before.Sensitivities);
    EXPECT_EQ(project.FailureProbability, before.FailureProbability);
}

// A saved project: the variable list was never built in this process, and the file holds
// β and the factors with six decimals.
TEST(DerivedResultsTest, AProjectFileReadFromDisk) {
    std::vector<std::string> lines = {"ZELMORA",
                                      "Safety Factor:",
                                      "  1.500000",
                                      "Probability of failure + linearity:",
                                      "  0.014600  1.000000",
                                      "",
                                      "*** soil data ***",
                                      "set; phi mean; phi stnd. dev.; coh. mean.; coh. stnd. dev.",
                                      "1  30.000000   3.000000  10.000000   2.000000 ",
                                      "4  20.000000   0.000000   5.000000   1.000000 "};
    lines.insert(lines.end(), 8, "0   0.000000   0.000000   0.000000   0.000000 ");
    lines.insert(lines.end(), {"", "/opt/fe/batch", "/home/eng/slope.plx", "slope",
                               "  1.000000  stepsize", "", "  2.182179"});
    std::vector<std::string> factors(23, "  0.000000");
    factors[0] = "  1.250000";  // key -2
    factors[1] = "  1.500000";  // key -1
    factors[2] = "  1.500000";  // key 0
    factors[3] = "  1.400000";  // key 1
    factors[13] = "  1.300000"; // key 11
    factors[14] = "  1.550000"; // key 12
    lines.insert(lines.end(), factors.begin(), factors.end());
    lines.push_back("*** end ***");
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    const test_support::TempFolder folder;
    test_support::WriteBytes(folder.File("saved.zmo"), text);
    State = ProjectState{};

    ReadProjectFile(folder.File("saved.zmo"));

    EXPECT_EQ(State.VariableCount, 0);
    const DerivedResults results = DeriveResults(State);
    // β was saved as 2.182179, 1.0e-7 from 10/√21: Φ(-β) moves by φ(β)·1e-7 < 4e-9.
    ExpectThreeVariableResults(results, 1.0, 4e-9);
    EXPECT_NEAR(*results.betaLognormal, LognormalBeta, 1e-13);
}

// Which derived values exist, for states an analysis or a file leaves behind.
struct Presence {
    bool sensitivities;
    bool shares;
    bool variance; // σ_F, V and Φ(-β)
    bool lognormal;
    bool linearity;
};

struct MissingCase {
    const char* name;
    std::function<void(ProjectState&)> change;
    Presence expected;
};

class DerivedResultsMissingTest : public ::testing::TestWithParam<MissingCase> {};

TEST_P(DerivedResultsMissingTest, ValuesExistOnlyWhereTheyCanBeDerived) {
    ProjectState project = ThreeVariableProject();
    GetParam().change(project);
    const DerivedResults results = DeriveResults(project);
    const Presence& expected = GetParam().expected;
    for (const VariableResult& v : results.variables) {
        EXPECT_EQ(v.sensitivity.has_value(), expected.sensitivities) << v.variableId;
        EXPECT_EQ(v.share.has_value(), expected.shares) << v.variableId;
    }
    EXPECT_EQ(results.sigmaF.has_value(), expected.variance);
    EXPECT_EQ(results.covF.has_value(), expected.variance);
    EXPECT_EQ(results.exactProbability.has_value(), expected.variance);
    EXPECT_EQ(results.betaLognormal.has_value(), expected.lognormal);
    EXPECT_EQ(results.lognormalProbability.has_value(), expected.lognormal);
    EXPECT_EQ(results.linearity.has_value(), expected.linearity);
}

INSTANTIATE_TEST_SUITE_P(
    States, DerivedResultsMissingTest,
    ::testing::Values(
        MissingCase{"complete", [](ProjectState&) {}, {true, true, true, true, true}},
        MissingCase{"noMeanValueFactor",
                    [](ProjectState& project) { Entry(project.SafetyFactors, 0) = 0; },
                    {false, false, false, false, false}},
        MissingCase{"aVariableWithoutFactor",
                    [](ProjectState& project) { Entry(project.SafetyFactors, 11) = 0; },
                    {false, false, false, false, false}},
        MissingCase{"zeroStep",
                    [](ProjectState& project) { project.StepSize = 0; },
                    {false, false, false, false, false}},
        MissingCase{"noSensitivity",
                    [](ProjectState& project) {
                        for (const int key : {1, 11, 12}) {
                            Entry(project.SafetyFactors, key) = 1.5;
                        }
                    },
                    {true, false, false, false, false}},
        MissingCase{"negativeMeanFactor",
                    [](ProjectState& project) {
                        Entry(project.SafetyFactors, 0) = -0.5;
                        for (const int key : {1, 11, 12}) {
                            Entry(project.SafetyFactors, key) = -0.6;
                        }
                    },
                    {true, true, true, false, true}},
        MissingCase{"noAllReducedFactor",
                    [](ProjectState& project) { Entry(project.SafetyFactors, -2) = 0; },
                    {true, true, true, true, false}},
        MissingCase{"factorOfAnUnlistedVariableMissing",
                    [](ProjectState& project) { Entry(project.SafetyFactors, 2) = 0; },
                    {true, true, true, true, true}}),
    [](const ::testing::TestParamInfo<MissingCase>& info) { return info.param.name; });

TEST(DerivedResultsTest, NoRandomVariable) {
    ProjectState project = ThreeVariableProject();
    Row(project, 1) = {1, 30, 0, 10, 0};
    Row(project, 2) = {4, 20, 0, 5, -1};
    const DerivedResults results = DeriveResults(project);
    EXPECT_TRUE(results.variables.empty());
    EXPECT_FALSE(results.sigmaF);
    EXPECT_FALSE(results.betaLognormal);
}

TEST(DerivedResultsTest, ByShareSortsLargestFirstAndKeepsListOrderOtherwise) {
    ProjectState project = ThreeVariableProject();
    std::vector<int> ids;
    for (const VariableResult& v : ByShare(DeriveResults(project))) {
        ids.push_back(v.variableId);
    }
    EXPECT_EQ(ids, (std::vector<int>{11, 1, 12}));

    Entry(project.SafetyFactors, 11) = 1.55; // as large as variable 12's: a tie
    Entry(project.SafetyFactors, 1) = 1.5;   // a share of 0
    ids.clear();
    for (const VariableResult& v : ByShare(DeriveResults(project))) {
        ids.push_back(v.variableId);
    }
    EXPECT_EQ(ids, (std::vector<int>{11, 12, 1}));

    Entry(project.SafetyFactors, 0) = 0; // no shares at all: list order
    ids.clear();
    for (const VariableResult& v : ByShare(DeriveResults(project))) {
        ids.push_back(v.variableId);
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 11, 12}));
}

TEST(DerivedResultsTest, VariablesListedFromTheTableAsTheAnalysisListsThem) {
    ProjectState project{};
    Row(project, 3) = {0, 0, 2, 0, 1};
    Row(project, 7) = {0, 0, 1, 0, -1};
    Row(project, 2) = {0, 30, 0, 5, 0.5};
    EXPECT_EQ(RandomVariableIds(project.SoilTable), (std::vector<int>{3, 7, 12, 13}));
}

TEST(DerivedResultsTest, AnAngleOnlyForASineWithinOne) {
    ProjectState project = ThreeVariableProject();
    project.StepSize = 30; // sin 30° - 30 sin 3° = -1.07
    const DerivedResults results = DeriveResults(project);
    EXPECT_LT(results.variables[0].reducedValue, -1);
    EXPECT_FALSE(results.variables[0].reducedAngle);
}

} // namespace
} // namespace zelmora
