#include "analysis/analysis_driver.h"
#include "analysis/workcopies/work_folder.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "tests/analysis/support/scripted_calculator.h"
#include "tests/project/child_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace zelmora {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;
using test_support::WriteBytes;
using testing::ScriptedCalculator;

// An analysis of one model with the in-process calculator, in place or with copies.
class ModelGuardTest : public ::testing::Test {
protected:
    void SetUp() override {
        State = ProjectState{};
        State.BatchPath = "/bin/true"; // found and executable: the calculator plays in-process
        State.ProjectPath = project_;
        State.ProjectName = "test";
        State.StepSize = 1.0;
        Row(State, 1) = {1, 30, 3, 10, 2};
        test_support::WriteBytes(project_, "model\n");
        fs::create_directory(folder_.File("test.dta"));
        fs::create_directory(folder_.File("outside"));
    }

    // The message the analysis failed with, empty after success.
    std::string Analyse(ScriptedCalculator& calculator, int parallelRuns = 1) {
        const std::unique_ptr<ProcessSet> processes = calculator.Processes();
        AnalysisOptions options;
        options.parallelRuns = parallelRuns;
        try {
            RunAnalysis(log_, *processes, options, record_);
        } catch (const Error& error) {
            return error.what();
        }
        return {};
    }

    std::string Data(const std::string& name) const { return folder_.File("test.dta/" + name); }

    test_support::TempFolder folder_;
    const std::string project_ = folder_.File("test.plx");
    const std::string runs_ = project_ + ".runs";
    test_support::MemoryLog log_;
    AnalysisRecord record_;
};

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

void MakeMarkedFolder(const std::string& path) {
    fs::create_directory(path);
    WriteBytes(path + "/" + WorkFolderMarker, "");
    WriteBytes(path + "/precious.txt", "mine\n");
}

// Whatever lies at the work folder's path decides before anything is written, in place too.
TEST_F(ModelGuardTest, AnAnalysisThatCannotHaveTheWorkFolderWritesNothing) {
    const std::string inUse = "Another analysis of this project is using its work folder: " + runs_;
    const std::string foreign =
        "The work folder is not one of Zelmora's; remove or rename it: " + runs_;
    std::optional<WorkFolder> other;
    const struct {
        const char* what;
        std::function<void()> plant;
        std::string message;
    } cases[] = {
        {"held by another analysis",
         [&] {
             other.emplace(project_);
             WriteBytes(runs_ + "/precious.txt", "mine\n");
         },
         inUse},
        {"a file", [&] { WriteBytes(runs_, "x"); }, foreign},
        {"a link to a marked folder",
         [&] {
             MakeMarkedFolder(folder_.File("outside/runs"));
             fs::create_directory_symlink(folder_.File("outside/runs"), runs_);
         },
         foreign},
        {"writable by the group",
         [&] {
             MakeMarkedFolder(runs_);
             chmod(runs_.c_str(), 0770);
         },
         foreign},
        {"planted by another user",
         [&] {
             chmod(folder_.Path().c_str(), 01777);
             test_support::RunInChild(
                 [&] {
                     try {
                         MakeMarkedFolder(runs_);
                         return 0;
                     } catch (...) {
                         return 1;
                     }
                 },
                 test_support::Nobody);
             ASSERT_TRUE(fs::exists(runs_ + "/precious.txt"));
         },
         foreign},
    };
    for (const auto& c : cases) {
        if (std::string(c.what) == "planted by another user" && geteuid() != 0) {
            std::cout << "acting as a second user needs root: skipped\n";
            continue;
        }
        for (const int parallelRuns : {1, 2}) {
            c.plant();
            ScriptedCalculator calculator({"1.5", "1.5", "1.4", "1.3", "1.2"});
            EXPECT_EQ(Analyse(calculator, parallelRuns), c.message)
                << c.what << ", " << parallelRuns;
            EXPECT_TRUE(calculator.commandLines.empty()) << c.what;
            EXPECT_FALSE(fs::exists(Data("test.mmt"))) << c.what;
            if (fs::is_directory(runs_)) {
                EXPECT_EQ(ReadBytes(runs_ + "/precious.txt"), "mine\n") << c.what;
            }
            other.reset();
            fs::remove_all(runs_);
        }
    }
}

// The runs go in the model's own folder; the work folder holds only the locked marker and, once
// a run was read, the journal, and goes with the analysis.
TEST_F(ModelGuardTest, InPlaceTheModelStaysLockedForTheWholeAnalysis) {
    ScriptedCalculator calculator({"1.5", "1.5", "1.4", "1.3", "1.2"});
    std::vector<std::vector<std::string>> seen;
    std::vector<std::string> secondStart;
    calculator.afterCall = [&](int) {
        seen.push_back(Names(runs_));
        try {
            WorkFolder second(project_);
            secondStart.push_back("started");
        } catch (const Error& error) {
            secondStart.push_back(error.what());
        }
        return 0;
    };
    ASSERT_EQ(Analyse(calculator), "");
    ASSERT_EQ(seen.size(), 5U);
    for (std::size_t run = 0; run < seen.size(); ++run) {
        std::vector<std::string> expected{WorkFolderMarker, "calculator.log"};
        if (run > 0) {
            expected.push_back(WorkFolderJournal);
        }
        std::sort(expected.begin(), expected.end());
        std::sort(seen[run].begin(), seen[run].end());
        EXPECT_EQ(seen[run], expected) << run;
        EXPECT_EQ(secondStart[run],
                  "Another analysis of this project is using its work folder: " + runs_);
    }
    EXPECT_FALSE(fs::exists(runs_));
    EXPECT_EQ(ReadBytes(Data("test.mmt")), "0\r\n");
}

// In place, and planted in a copy after the first run: the message names the file by the path
// the user knows.
TEST_F(ModelGuardTest, AModificationFileThatIsALinkIsRefused) {
    const std::string target = folder_.File("outside/target");
    WriteBytes(target, "mine\n");
    fs::create_symlink(target, Data("test.mmt"));
    ScriptedCalculator inPlace({"1.5", "1.5", "1.4", "1.3", "1.2"});
    EXPECT_EQ(Analyse(inPlace), "File access denied. " + Data("test.mmt"));
    EXPECT_TRUE(inPlace.commandLines.empty());
    fs::remove(Data("test.mmt"));

    const std::string planted = runs_ + "/2/test.dta/test.mmt";
    ScriptedCalculator copies({"1.5", "1.5", "1.4", "1.3", "1.2"});
    // The first run goes to copy 1, whose result the in-process calculator leaves in place.
    copies.afterCall = [&](int call) {
        if (call == 0) {
            WriteBytes(runs_ + "/1/test.dta/test.hxx", testing::ResultRecord("1.5"));
            fs::remove(planted);
            fs::create_symlink(target, planted);
        }
        return 0;
    };
    EXPECT_EQ(Analyse(copies, 2), "File access denied. " + planted);
    EXPECT_EQ(copies.commandLines.size(), 1U);
    EXPECT_EQ(ReadBytes(target), "mine\n");
}

// Only a picture the mean-value run itself wrote goes into the report.
TEST_F(ModelGuardTest, ThePictureComesOnlyFromItsOwnRun) {
    const std::string picture = Data("test.svg");
    const std::string secret = folder_.File("outside/secret");
    const struct {
        const char* what;
        std::function<void(int call)> draw;
        std::string expected;
    } cases[] = {
        {"drawn by the run", [&](int call) { call == 1 ? WriteBytes(picture, "<svg/>") : void(); },
         "<svg/>"},
        {"a link to a file written during the run",
         [&](int call) {
             if (call == 1) {
                 WriteBytes(secret, "SECRET=1");
                 fs::create_symlink(secret, picture);
             }
         },
         ""},
        // The run before drew it; a file server's clock ahead of ours stamped it later.
        {"left by the run before",
         [&](int call) {
             if (call == 0) {
                 WriteBytes(picture, "<svg/>");
                 fs::last_write_time(picture,
                                     fs::file_time_type::clock::now() + std::chrono::minutes(1));
             }
         },
         ""},
    };
    for (const auto& c : cases) {
        fs::remove(picture);
        ScriptedCalculator calculator({"1.5", "1.5", "1.4", "1.3", "1.2"});
        calculator.afterCall = [&](int call) {
            c.draw(call);
            return 0;
        };
        ASSERT_EQ(Analyse(calculator), "") << c.what;
        ASSERT_EQ(record_.outcomes.size(), 5U);
        EXPECT_EQ(record_.outcomes[1].picture, c.expected) << c.what;
    }
}

} // namespace
} // namespace zelmora
