#include "analysis/coupling/batch_command_line.h"
#include "analysis/coupling/data_file_paths.h"
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
        const DataFiles files = DataFilesOf(c.projectPath, c.projectName);
        EXPECT_EQ(files.modification, c.modificationFile) << c.projectPath;
        EXPECT_EQ(files.result, c.resultFile) << c.projectPath;
    }
}

TEST(BuildBatchCommandLine, JoinsBothPathsWithoutQuotes) {
    State = ProjectState{};
    SetDefaults();
    EXPECT_EQ(BatchCommandLine(State.BatchPath, State.ProjectPath),
              "c:\\program files\\Plaxis8x\\batch.exe c:\\progs\\zelmora\\plaxis\\test.plx /c");
    EXPECT_EQ(BatchCommandLine("", ""), "  /c");
}

} // namespace
} // namespace zelmora
