// Nothing a calculator started outlives its run: a helper it leaves behind, which ignores
// SIGTERM and keeps replacing the result file, is ended before the next run and at a stop, and
// never read; a process the program inherited otherwise (a browser it opened) is reaped, not
// ended.
#include "analysis/analysis_driver.h"
#include "analysis/runs/run_executor.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/left_work_folder.h"
#include "tests/support/memory_log.h"
#include "tests/support/pid_file.h"
#include "tests/support/temp_folder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zelmora {
namespace {

using testing::CalculatorProject;

struct LeftoverCase {
    const char* name;
    int parallelRuns;
    const char* fault;
    bool stop;
};

// A process whose parent has ended, as a browser started through a launcher is: it ends by
// itself after a while, writing `mark`.
pid_t StartOrphan(const std::string& mark) {
    const pid_t launcher = fork();
    if (launcher == 0) {
        if (fork() == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            test_support::WriteBytes(mark, std::to_string(getpid()));
            _exit(0);
        }
        _exit(0);
    }
    waitpid(launcher, nullptr, 0);
    return launcher;
}

class LeftoverProcesses : public ::testing::TestWithParam<LeftoverCase> {
protected:
    void SetUp() override {
        State = ProjectState{};
        project_.Reset();
        State.StepSize = 1.0;
        Row(State, 1) = {1, 30, 3, 10, 2};
        Row(State, 2) = {2, 25, 2, 5, 1};
        test_support::WriteBytes(State.ProjectPath, "model\n");
    }

    void Analyse(const std::string& fault, const LeftoverCase& c) {
        // Each run lasts long enough for a helper to write into the next one's result.
        project_.WriteModel("base 0.2\nterm 1 3 1.2 0.5\nterm 1 4 0.02 10\nterm 2 3 0.9 0.4\n"
                            "term 2 4 0.03 5\npause 300\npidfile " +
                            pids_ + "\n" + fault);
        AnalysisOptions options;
        options.parallelRuns = c.parallelRuns;
        if (c.stop) {
            options.stopRequested = [this] { return !Helpers().empty(); };
        }
        AnalysisRecord record;
        RunAnalysis(log_, *processes_, options, record);
    }

    std::vector<pid_t> Helpers() const { return test_support::PidsIn(pids_); }

    test_support::TempFolder scratch_;
    const std::string pids_ = scratch_.File("pids");
    CalculatorProject project_;
    test_support::MemoryLog log_;
    const std::unique_ptr<ProcessSet> processes_ = MakeChildProcesses();
};

TEST_P(LeftoverProcesses, EndedBeforeTheNextRunAndNeverRead) {
    const LeftoverCase& c = GetParam();
    Analyse("", {c.name, 1, "", false});
    const std::array<double, 23> clean = State.SafetyFactors;
    const std::string mark = scratch_.File("browser");
    const pid_t browser = StartOrphan(mark);

    if (c.stop) {
        EXPECT_THROW(Analyse(std::string("fault ") + c.fault + " 1 4\n", c), EAnalysisStopped);
    } else {
        Analyse(std::string("fault ") + c.fault + " 1 4\n", c);
        EXPECT_EQ(State.SafetyFactors, clean);
    }
    ASSERT_FALSE(Helpers().empty());
    for (const pid_t pid : Helpers()) {
        EXPECT_NE(kill(pid, 0), 0) << "helper " << pid << " still there";
        kill(pid, SIGKILL);
    }
    if (c.stop) {
        EXPECT_TRUE(test_support::OnlyTheJournalLeft(State.ProjectPath + ".runs"));
    } else {
        EXPECT_FALSE(std::filesystem::exists(State.ProjectPath + ".runs"));
    }
    // The browser ended by itself and was reaped.
    EXPECT_NE(test_support::ReadBytes(mark), "");
    EXPECT_FALSE(std::filesystem::exists("/proc/" + test_support::ReadBytes(mark)))
        << "launcher " << browser;
}

INSTANTIATE_TEST_SUITE_P(Runs, LeftoverProcesses,
                         ::testing::Values(LeftoverCase{"InPlace", 1, "helper", false},
                                           LeftoverCase{"Parallel", 3, "helper", false},
                                           LeftoverCase{"OwnSession", 3, "helper-session", false},
                                           LeftoverCase{"Stop", 3, "helper", true}),
                         [](const ::testing::TestParamInfo<LeftoverCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace zelmora
