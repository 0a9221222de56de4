#include "analysis/coupling/data_file_paths.h"
#include "analysis/coupling/finite_element_run.h"
#include "project/project_state.h"

#include <gtest/gtest.h>

namespace zelmora {
namespace {

struct PathCase {
    std::string projectPath;
    std::string projectName;
    std::string modificationFile;
    std::string resultFile;
};

TEST(DeriveDataFilePaths, DropsThreeCharactersAndAddsTheDataFolder) {
    const PathCase cases[] = {
        {"/home/eng/plaxis/test.plx", "test", "/home/eng/plaxis/test.dta/test.mmt",
         "/home/eng/plaxis/test.dta/test.hxx"},
        {"c:\\progs\\zelmora\\plaxis\\test.plx", "test",
         "c:\\progs\\zelmora\\plaxis\\test.dta/test.mmt",
         "c:\\progs\\zelmora\\plaxis\\test.dta/test.hxx"},
        {"c:\\x\\test", "a", "c:\\x\\tdta/a.mmt", "c:\\x\\tdta/a.hxx"},
        {"abc", "n", "dta/n.mmt", "dta/n.hxx"},
        {"ab", "n", "abdta/n.mmt", "abdta/n.hxx"},
        {"", "", "dta/.mmt", "dta/.hxx"},
        {"/p/my project.plx", "other name", "/p/my project.dta/other name.mmt",
         "/p/my project.dta/other name.hxx"},
    };
    for (const PathCase& c : cases) {
        State = ProjectState{};
        State.ProjectPath = c.projectPath;
        State.ProjectName = c.projectName;
        DeriveDataFilePaths();
        EXPECT_EQ(State.ModificationFilePath, c.modificationFile) << c.projectPath;
        EXPECT_EQ(State.ResultFilePath, c.resultFile) << c.projectPath;
    }
}

TEST(BuildBatchCommandLine, JoinsBothPathsWithoutQuotes) {
    State = ProjectState{};
    SetDefaults();
    EXPECT_EQ(BuildBatchCommandLine(),
              "c:\\program files\\Plaxis8x\\batch.exe c:\\progs\\zelmora\\plaxis\\test.plx /c");
    State.BatchPath = "";
    State.ProjectPath = "";
    EXPECT_EQ(BuildBatchCommandLine(), "  /c");
}

} // namespace
} // namespace zelmora
