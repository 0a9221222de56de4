// On a file system with one-second timestamps a calculator that rewrites its result file in
// place, with the same size and even the same bytes, still writes a new result.
#include "analysis/analysis_driver.h"
#include "project/project_state.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zelmora {
namespace {

// An ext4 file system with 128-byte inodes, which keep whole seconds only, mounted on a folder.
class ScopedCoarseExt4 {
public:
    explicit ScopedCoarseExt4(const test_support::TempFolder& scratch)
        : image_(scratch.File("ext4.img")), folder_(scratch.File("mount")) {
        std::filesystem::create_directory(folder_);
        mounted_ = geteuid() == 0 &&
                   std::system(("truncate -s 8M " + image_ + " && mkfs.ext4 -q -I 128 -F " +
                                image_ + " 2>/dev/null && mount -o loop " + image_ + " " + folder_)
                                   .c_str()) == 0;
    }
    ScopedCoarseExt4(const ScopedCoarseExt4&) = delete;
    ScopedCoarseExt4& operator=(const ScopedCoarseExt4&) = delete;
    ~ScopedCoarseExt4() {
        if (mounted_) {
            EXPECT_EQ(std::system(("umount " + folder_).c_str()), 0) << "umount " << folder_;
        }
    }

    bool Mounted() const { return mounted_; }
    const std::string& Folder() const { return folder_; }

private:
    std::string image_;
    std::string folder_;
    bool mounted_ = false;
};

// The standard run and the mean-value run give the same bytes: the model's defaults are the means.
std::vector<double> Analyse(const std::string& folder) {
    std::filesystem::create_directory(folder + "/slope.dta");
    test_support::WriteBytes(folder + "/slope.plx", "model\n");
    test_support::WriteBytes(folder + "/slope.dta/model.txt",
                             "base 0.2\nterm 1 3 1.2 0.5\nterm 1 4 0.02 10\n");
    State = ProjectState{};
    State.BatchPath = ZELMORA_FAKE_CALCULATOR;
    State.ProjectPath = folder + "/slope.plx";
    State.ProjectName = "slope";
    State.StepSize = 1.0;
    Row(State, 1) = {1, 30, 3, 10, 2};
    test_support::MemoryLog log;
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    AnalysisRecord record;
    RunAnalysis(log, *processes, AnalysisOptions{}, record);
    return {State.SafetyFactors.begin(), State.SafetyFactors.end()};
}

TEST(CoarseTimestamps, ARewriteInPlaceWithinTheSameSecondIsANewResult) {
    test_support::TempFolder scratch;
    const ScopedCoarseExt4 coarse(scratch);
    if (!coarse.Mounted()) {
        GTEST_SKIP() << "needs root to mount an ext4 image with 128-byte inodes";
    }
    std::filesystem::create_directory(scratch.File("fine"));
    const std::vector<double> fine = Analyse(scratch.File("fine"));
    EXPECT_EQ(Analyse(coarse.Folder()), fine);
}

} // namespace
} // namespace zelmora
