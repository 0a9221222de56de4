#include "tests/cli/batch_process.h"
#include "tests/cli/slope_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

class KeptAnalysisBatch : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSlopeProject(folder_, project_);
        WriteBytes(folder_.File("slope.dta/model.txt"),
                   "base 0.3\nterm 1 3 1.2 0.5\nterm 2 3 0.9 0.4\ncount " + counter_ + "\n");
    }

    Finished Run(std::vector<std::string> arguments) const {
        arguments.push_back(project_);
        return BatchProcess(arguments, folder_.Path()).Wait();
    }

    test_support::TempFolder folder_;
    const std::string project_ = folder_.File("slope.zmo");
    const std::string study_ = folder_.File("slope.study.json");
    const std::string counter_ = folder_.File("runs-started");
};

// A run would take the defaults for what the study holds, and its save would replace it: no
// command that runs or saves goes ahead, and the file stays as it is.
TEST_F(KeptAnalysisBatch, AnUnreadableStudyRefusesEveryRunAndSaveButNotTheSavedAnalysis) {
    const std::string unreadable =
        R"({"zelmora_study": 1, "settings": {"method": "form", "target_beta": "3.5"}})";
    WriteBytes(study_, unreadable);
    const std::string projectBytes = ReadBytes(project_);
    const std::string json = folder_.File("out.json");
    const std::vector<std::string> commands[] = {{},
                                                 {"--save"},
                                                 {"--method", "taylor", "--save"},
                                                 {"--json", json},
                                                 {"--resume", "--save"},
                                                 {"--parallel", "2", "--save"}};
    for (const std::vector<std::string>& command : commands) {
        const Finished refused = Run(command);
        const std::string shown = command.empty() ? "(none)" : command.front();
        EXPECT_EQ(refused.status, 1) << shown;
        EXPECT_EQ(refused.err, "The study file " + study_ +
                                   " cannot be read (\"target_beta\" is not a number above 0 and "
                                   "up to 10); nothing is run or saved, and it is left as it "
                                   "is.\n")
            << shown;
        EXPECT_EQ(refused.out, "") << shown;
    }
    EXPECT_FALSE(std::filesystem::exists(counter_)) << "a run was started";
    EXPECT_FALSE(std::filesystem::exists(json));
    EXPECT_EQ(ReadBytes(study_), unreadable);
    EXPECT_EQ(ReadBytes(project_), projectBytes);

    const Finished saved = Run({"--saved", "--json", "-"});
    EXPECT_EQ(saved.status, 0);
    EXPECT_EQ(saved.err, "The study file " + study_ +
                             " cannot be read (\"target_beta\" is not a number above 0 and up "
                             "to 10); the project is opened without it.\n");
    const auto written = nlohmann::json::parse(saved.out);
    EXPECT_FALSE(written.contains("method"));
    EXPECT_EQ(written["project"]["project_name"], "slope");
    EXPECT_EQ(ReadBytes(study_), unreadable);
}

} // namespace
} // namespace zelmora
