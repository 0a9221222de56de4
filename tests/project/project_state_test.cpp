#include "expect_same_soil.h"
#include "project/project_state.h"

#include <gtest/gtest.h>

using namespace zelmora;

namespace {

// Every field that SetDefaults must leave alone.
void ExpectSameOtherFields(const ProjectState& a, const ProjectState& b) {
    ExpectSameSoil(a, b);
    EXPECT_EQ(a.Variables, b.Variables);
    EXPECT_EQ(a.SafetyFactors, b.SafetyFactors);
    EXPECT_EQ(a.Sensitivities, b.Sensitivities);
    EXPECT_EQ(a.VariableCount, b.VariableCount);
    EXPECT_EQ(a.LastSafetyFactor, b.LastSafetyFactor);
    EXPECT_EQ(a.FailureProbability, b.FailureProbability);
    EXPECT_EQ(a.Beta, b.Beta);
    EXPECT_EQ(a.Linearity, b.Linearity);
    EXPECT_EQ(a.ResultFilePath, b.ResultFilePath);
    EXPECT_EQ(a.ModificationFilePath, b.ModificationFilePath);
    EXPECT_EQ(a.CurrentFileName, b.CurrentFileName);
}

void ExpectDefaults(const ProjectState& s) {
    EXPECT_EQ(s.BatchPath, "c:\\program files\\Plaxis8x\\batch.exe");
    EXPECT_EQ(s.ProjectPath, "c:\\progs\\zelmora\\plaxis\\test.plx");
    EXPECT_EQ(s.ProjectName, "test");
    EXPECT_EQ(s.StepSize, 1.0);
    EXPECT_TRUE(s.ShowCalculations);
}

// A state in which every field differs from its start value.
ProjectState Filled() {
    ProjectState s{};
    for (int r = 1; r <= SoilRowCount; ++r) {
        Row(s, r) = {r, 30.0 + r, 3.0, 5.0 * r, 1.5};
    }
    for (int key = -2; key <= 20; ++key) {
        Entry(s.Variables, key) = key + 40;
        Entry(s.SafetyFactors, key) = 1.25 + key;
        Entry(s.Sensitivities, key) = -0.5 * key;
    }
    s.VariableCount = 7;
    s.LastSafetyFactor = 1.3;
    s.FailureProbability = 0.01;
    s.Beta = 2.3;
    s.Linearity = 0.98;
    s.StepSize = 0.5;
    s.BatchPath = "batch";
    s.ProjectPath = "project.plx";
    s.ProjectName = "project";
    s.ResultFilePath = "result.hxx";
    s.ModificationFilePath = "modification.mmt";
    s.ShowCalculations = false;
    s.CurrentFileName = "current.zmo";
    return s;
}

TEST(ProjectState, StartsZeroEmptyAndFalse) {
    const ProjectState zero{};
    ExpectSameOtherFields(State, zero);
    for (const std::int32_t v : State.Variables) {
        EXPECT_EQ(v, 0);
    }
    for (const double v : State.SafetyFactors) {
        EXPECT_EQ(v, 0.0);
    }
    EXPECT_EQ(State.StepSize, 0.0);
    EXPECT_EQ(State.BatchPath, "");
    EXPECT_EQ(State.ProjectPath, "");
    EXPECT_EQ(State.ProjectName, "");
    EXPECT_FALSE(State.ShowCalculations);
    EXPECT_EQ(State.CurrentFileName, "");
}

TEST(ProjectState, SetDefaultsSetsExactlyTheFiveSettings) {
    const ProjectState saved = State;
    for (const ProjectState& before : {ProjectState{}, Filled()}) {
        State = before;
        SetDefaults();
        ExpectDefaults(State);
        ExpectSameOtherFields(State, before);
    }
    State = saved;
}

} // namespace
