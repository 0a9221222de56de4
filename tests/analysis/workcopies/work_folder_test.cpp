#include "analysis/analysis_driver.h"
#include "analysis/workcopies/work_folder.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/project/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"
#include "tests/support/scoped_tmpfs.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace zelmora {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::WriteBytes;

class WorkFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder_.File("test.dta/sub"));
        WriteBytes(project_, "the model\n");
        WriteBytes(folder_.File("test.dta/test.hxx"), "old result\n");
        WriteBytes(folder_.File("test.dta/sub/mesh.bin"), std::string(300000, 'm'));
        fs::create_directory(folder_.File("outside"));
        WriteBytes(folder_.File("outside/keep.txt"), "not ours\n");
        fs::create_symlink(folder_.File("outside/keep.txt"), folder_.File("test.dta/link"));
    }

    test_support::TempFolder folder_;
    const std::string project_ = folder_.File("test.plx");
    const std::string runs_ = project_ + ".runs";
};

TEST_F(WorkFolderTest, CopiesTheProjectAndItsDataFolderUnderTheirOwnNames) {
    WorkFolder work(project_);
    EXPECT_EQ(work.Path(), runs_);
    EXPECT_EQ(work.AddCopy(1), runs_ + "/1/test.plx");
    EXPECT_EQ(work.AddCopy(2), runs_ + "/2/test.plx");
    for (const std::string& copy : {runs_ + "/1/", runs_ + "/2/"}) {
        EXPECT_EQ(ReadBytes(copy + "test.plx"), "the model\n");
        EXPECT_EQ(ReadBytes(copy + "test.dta/test.hxx"), "old result\n");
        EXPECT_EQ(ReadBytes(copy + "test.dta/sub/mesh.bin").size(), 300000U);
        // A copy holds no link that could lead a write out of it.
        EXPECT_FALSE(fs::is_symlink(copy + "test.dta/link"));
        EXPECT_EQ(ReadBytes(copy + "test.dta/link"), "not ours\n");
    }
    // Removing never follows a link out of the folder.
    fs::create_directory_symlink(folder_.File("outside"), runs_ + "/1/test.dta/out");
    work.Remove();
    EXPECT_FALSE(fs::exists(runs_));
    EXPECT_EQ(ReadBytes(folder_.File("outside/keep.txt")), "not ours\n");
}

TEST_F(WorkFolderTest, AFolderLeftByAnEarlierAnalysisIsEmptiedAndReused) {
    {
        WorkFolder earlier(project_);
        earlier.AddCopy(1);
        WriteBytes(runs_ + "/1/calculator.log", "old output\n");
    }
    WorkFolder work(project_);
    EXPECT_FALSE(fs::exists(runs_ + "/1"));
    work.AddCopy(1);
    EXPECT_EQ(ReadBytes(runs_ + "/1/test.plx"), "the model\n");
}

TEST_F(WorkFolderTest, AFolderInUseByAnotherAnalysisIsRefused) {
    WorkFolder first(project_);
    first.AddCopy(1);
    try {
        WorkFolder second(project_);
        ADD_FAILURE() << "a second analysis shared the work folder";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Another analysis of this project is using its work folder: " + runs_);
    }
    EXPECT_TRUE(fs::exists(runs_ + "/1/test.plx"));
}

TEST_F(WorkFolderTest, AFolderWithoutTheMarkerIsNeverTouched) {
    fs::create_directory(runs_);
    WriteBytes(runs_ + "/precious.txt", "mine\n");
    fs::create_symlink(folder_.File("outside"), folder_.File("linked.plx.runs"));
    for (const std::string& project : {project_, folder_.File("linked.plx")}) {
        try {
            WorkFolder work(project);
            ADD_FAILURE() << "took over " << project << ".runs";
        } catch (const Error& error) {
            EXPECT_EQ(std::string(error.what()),
                      "The work folder is not one of Zelmora's; remove or rename it: " + project +
                          ".runs");
        }
    }
    EXPECT_EQ(ReadBytes(runs_ + "/precious.txt"), "mine\n");
    EXPECT_EQ(ReadBytes(folder_.File("outside/keep.txt")), "not ours\n");
}

// What Zelmora writes in a copy stays in the folder it locked, whatever is put at its path.
TEST_F(WorkFolderTest, WritesReachTheLockedFolderEvenWhenItsPathIsSwapped) {
    WorkFolder work(project_);
    work.AddCopy(1);
    const std::string modification = work.Reached(runs_ + "/1/test.dta/test.mmt");
    fs::rename(runs_, folder_.File("moved"));
    fs::create_directories(runs_ + "/1/test.dta");
    WriteBytes(modification, "ours\n");
    EXPECT_EQ(ReadBytes(folder_.File("moved/1/test.dta/test.mmt")), "ours\n");
    EXPECT_FALSE(fs::exists(runs_ + "/1/test.dta/test.mmt"));
}

TEST_F(WorkFolderTest, ALinkToAFolderIsRefusedByName) {
    fs::create_directory_symlink(folder_.File("outside"), folder_.File("test.dta/sub/folder"));
    WorkFolder work(project_);
    try {
        work.AddCopy(1);
        ADD_FAILURE() << "copied a link to a folder";
    } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The data folder holds a link to a folder, which a work copy cannot hold: " +
                      folder_.File("test.dta/sub/folder"));
    }
}

// Nobody else may reach into the copies, whatever the umask; a folder of the model that
// another user may not write is all the README asks for.
TEST_F(WorkFolderTest, AnotherUserCannotSwapACopy) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "acting as a second user needs root";
    }
    chmod(folder_.Path().c_str(), 0755);
    const mode_t umaskBefore = umask(0);
    WorkFolder work(project_);
    const std::string copy = work.AddCopy(1);
    umask(umaskBefore);
    for (const std::string& folder : {runs_, runs_ + "/1"}) {
        struct stat info {};
        ASSERT_EQ(stat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0700U) << folder;
    }
    const std::optional<int> swapped = test_support::RunInChild(
        [&] { return rename((runs_ + "/1/test.dta").c_str(), (runs_ + "/1/old").c_str()) == 0; },
        test_support::Nobody);
    EXPECT_EQ(swapped, 0);
    EXPECT_TRUE(fs::exists(runs_ + "/1/test.dta/test.hxx"));
}

// The analysis ends before any run, with the input/output message, and leaves no copy.
TEST_F(WorkFolderTest, CopiesThatDoNotFitEndTheAnalysisWithTheDiskFullMessageLeavingNothing) {
    const std::string small = folder_.File("small");
    test_support::ScopedTmpfs tmpfs(small, "size=500k");
    if (!tmpfs.Mounted()) {
        GTEST_SKIP() << "mounting a tmpfs needs root";
    }
    fs::create_directories(small + "/test.dta");
    WriteBytes(small + "/test.plx", "model\n");
    WriteBytes(small + "/test.dta/mesh.bin", std::string(300000, 'm'));
    State = ProjectState{};
    State.BatchPath = "/bin/true";
    State.ProjectPath = small + "/test.plx";
    State.ProjectName = "test";
    State.StepSize = 1;
    Row(State, 1) = {1, 30, 3, 10, 2};
    test_support::MemoryLog log;
    AnalysisOptions options;
    options.parallelRuns = 2;
    AnalysisRecord record;
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    try {
        RunAnalysis(log, *processes, options, record);
        ADD_FAILURE() << "the copies fitted";
    } catch (const EInOutError& error) {
        EXPECT_EQ(std::string(error.what()), "Disk full");
    }
    EXPECT_EQ(log.lines, std::vector<std::string>{"Zelmora"});
    EXPECT_FALSE(fs::exists(small + "/test.plx.runs"));
    EXPECT_EQ(record.keptWorkFolder, "");
}

} // namespace
} // namespace zelmora
