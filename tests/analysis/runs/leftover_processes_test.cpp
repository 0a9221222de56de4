// Nothing a calculator started outlives its run: a helper it leaves behind, which ignores
// SIGTERM and keeps replacing the result file, is ended before the next run and at a stop, and
// never read, also when it detached as a daemon does, under each way of keeping a calculator's
// processes together that this machine offers; a process the program inherited otherwise (a
// browser it opened) is reaped, not ended.
#include "analysis/analysis_driver.h"
#include "analysis/runs/run_executor.h"
#include "processes/containment.h"
#include "project/project_state.h"
#include "tests/analysis/support/calculator_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/left_work_folder.h"
#include "tests/support/memory_log.h"
#include "tests/support/orphan.h"
#include "tests/support/pid_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_containment.h"

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
    Containment containment;
    int parallelRuns;
    const char* fault;
    bool stop;
};

class LeftoverProcesses : public ::testing::TestWithParam<LeftoverCase> {
protected:
    void SetUp() override {
        if (!containment_.SkipReason().empty()) {
            GTEST_SKIP() << containment_.SkipReason();
        }
        processes_ = MakeChildProcesses(containment_.Choice());
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
                            pids_ + "\nlinger 100\n" + fault);
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
    test_support::TestContainment containment_{GetParam().containment};
    std::unique_ptr<ProcessSet> processes_;
};

TEST_P(LeftoverProcesses, EndedBeforeTheNextRunAndNeverRead) {
    const LeftoverCase& c = GetParam();
    Analyse("", {c.name, c.containment, 1, "", false});
    const std::array<double, 23> clean = State.SafetyFactors;
    const std::string mark = scratch_.File("browser");
    test_support::StartOrphan(mark, std::chrono::milliseconds(400));

    if (c.stop) {
        EXPECT_THROW(Analyse(std::string("fault ") + c.fault + " 1 4\n", c), EAnalysisStopped);
    } else {
        Analyse(std::string("fault ") + c.fault + " 1 4\n", c);
        EXPECT_EQ(State.SafetyFactors, clean);
    }
    ASSERT_FALSE(Helpers().empty());
    for (const pid_t pid : Helpers()) {
        EXPECT_FALSE(test_support::Alive(pid)) << "helper " << pid << " still there";
        kill(pid, SIGKILL);
    }
    if (c.stop) {
        EXPECT_TRUE(test_support::OnlyTheJournalLeft(State.ProjectPath + ".runs"));
    } else {
        EXPECT_FALSE(std::filesystem::exists(State.ProjectPath + ".runs"));
    }
    // The browser ended by itself and was reaped.
    EXPECT_NE(test_support::ReadBytes(mark), "");
    EXPECT_FALSE(std::filesystem::exists("/proc/" + test_support::ReadBytes(mark)));
}

constexpr Containment Cgroup = Containment::Cgroup;
constexpr Containment Namespaces = Containment::Namespaces;
constexpr Containment Subreaper = Containment::Subreaper;

INSTANTIATE_TEST_SUITE_P(
    Runs, LeftoverProcesses,
    ::testing::Values(LeftoverCase{"InPlace", Subreaper, 1, "helper", false},
                      LeftoverCase{"Parallel", Subreaper, 3, "helper", false},
                      LeftoverCase{"OwnSession", Subreaper, 3, "helper-session", false},
                      LeftoverCase{"Stop", Subreaper, 3, "helper", true},
                      LeftoverCase{"DaemonInPlaceCgroup", Cgroup, 1, "daemon", false},
                      LeftoverCase{"DaemonInPlaceNamespaces", Namespaces, 1, "daemon", false},
                      LeftoverCase{"DaemonInPlaceSubreaper", Subreaper, 1, "daemon", false},
                      LeftoverCase{"DaemonParallelNamespaces", Namespaces, 3, "daemon", false},
                      LeftoverCase{"DaemonStopCgroup", Cgroup, 3, "daemon", true},
                      LeftoverCase{"DaemonStopNamespaces", Namespaces, 3, "daemon", true},
                      LeftoverCase{"DaemonStopSubreaper", Subreaper, 3, "daemon", true},
                      // Without the marker only a cgroup or a namespace holds it.
                      LeftoverCase{"BareDaemonCgroup", Cgroup, 3, "daemon-bare", false},
                      LeftoverCase{"BareDaemonNamespaces", Namespaces, 3, "daemon-bare", false}),
    [](const ::testing::TestParamInfo<LeftoverCase>& info) {
        return std::string(info.param.name);
    });

} // namespace
} // namespace zelmora
