// What an analysis takes of the project: its model reached from the project file's folder, its
// command line as the project holds it, and its variables in list order.
#include "analysis/coupling/analysis_inputs.h"
#include "project/project_state.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

TEST(AnalysisInputs, TheCalculatorGetsTheStoredPathAndTheFilesLieBesideTheReachedModel) {
    const struct {
        const char* stored;
        const char* folder;
        const char* reached;
    } cases[] = {
        {"cut.plx", "/home/ann/slopes", "/home/ann/slopes/cut.plx"},
        {"/srv/cut.plx", "/home/ann/slopes", "/srv/cut.plx"},
        {"cut.plx", "", "cut.plx"},
    };
    for (const auto& c : cases) {
        ProjectState project{};
        project.BatchPath = "slopecalc";
        project.ProjectPath = c.stored;
        project.ProjectName = "cut";
        project.StepSize = 0.5;
        const AnalysisInputs inputs = InputsOf(project, c.folder);
        const std::string base =
            std::string(c.reached).substr(0, std::string(c.reached).size() - 3);
        EXPECT_EQ(inputs.projectPath, c.reached);
        EXPECT_EQ(inputs.batchCommandLine, std::string("slopecalc ") + c.stored + " /c");
        EXPECT_EQ(inputs.modificationFilePath, base + "dta/cut.mmt");
        EXPECT_EQ(inputs.resultFilePath, base + "dta/cut.hxx");
        EXPECT_EQ(inputs.stepSize, 0.5);
    }
}

TEST(AnalysisInputs, VariablesAreEveryFrictionAngleThenEveryCohesionInRowOrder) {
    ProjectState project{};
    Row(project, 3) = {0, 0, 2, 0, 1};
    Row(project, 7) = {0, 0, 1, 0, -1};
    Row(project, 2) = {0, 30, 0, 5, 0.5};
    EXPECT_EQ(InputsOf(project).variables, (std::vector<int>{3, 7, 12, 13}));
    EXPECT_EQ(VariableRow(13), 3);
    EXPECT_EQ(VariableRow(7), 7);
}

} // namespace
} // namespace zelmora
