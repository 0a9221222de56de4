// What the desktop offers to take up again after an analysis failed part way: the runs its
// journal holds, found from the same inputs the analysis builds, whether the project names its
// model by a path relative to the project file's folder or in full.
#include "analysis/analysis_driver.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/memory_log.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

TEST(ResumeOffer, TheRunsAFailedAnalysisJournaledAreOffered) {
    for (const bool relative : {true, false}) {
        SCOPED_TRACE(relative ? "relative model path" : "full model path");
        const testing::CalculatorProject project;
        // The cohesion's run fails: standard, mean values and φ lowered are journaled before it.
        project.WriteModel("base 0.5\nterm 1 3 1.2 0.5\nterm 1 4 0.02 10\nfault missing 1 4\n");
        const std::string folder = std::filesystem::path(project.dataFolder()).parent_path();
        State = ProjectState{};
        project.Reset();
        State.StepSize = 1.0;
        Row(State, 1) = {1, 30, 3, 10, 2};
        if (relative) {
            State.ProjectPath = "slope.plx";
        }
        test_support::MemoryLog log;
        const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
        AnalysisOptions options;
        options.projectFolder = folder;
        AnalysisRecord record;
        EXPECT_THROW(RunAnalysis(log, *processes, options, record), Error);

        const ResumeOffer offer = FindResumeOffer(InputsOf(State, folder));
        EXPECT_EQ(offer.reusable, 3);
        EXPECT_FALSE(offer.modelChanged);
    }
}

} // namespace
} // namespace zelmora
