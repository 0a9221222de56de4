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

struct Edit {
    std::string pointer; // into the kept analysis
    double by;           // added to the value
};

nlohmann::json StudyWithEdit(const nlohmann::json& study, const Edit& edit) {
    nlohmann::json edited = study;
    auto& value = edited.at("analysis").at(nlohmann::json::json_pointer(edit.pointer));
    value = value.get<double>() + edit.by;
    return edited;
}

// The kept analysis of every method shows again as it was; one whose numbers were edited
// (as another user who may write the folder could) is not shown, its project file's results
// are.
TEST_F(KeptAnalysisBatch, AKeptAnalysisThatDisagreesWithItsRunsIsNotShown) {
    // A slope near failure, so that the samples fail now and then.
    WriteBytes(folder_.File("slope.dta/model.txt"),
               "base -0.05\nterm 1 3 1.2 0.5\nterm 2 3 0.9 0.4\nterm 1 4 0.01 10\n");
    const std::string note =
        "The study's kept results do not agree with its runs; they are not shown.\n";
    const struct {
        std::vector<std::string> options;
        std::vector<Edit> edits;
    } cases[] = {
        {{"--method", "taylor"},
         {{"/results/beta", 0.5},
          {"/runs/2/safety_factor", 0.01},
          {"/relied_on/probability_of_failure", 0.001}}},
        {{"--method", "form", "--lognormal", "--correlation", "1:phi,2:phi=0.5"},
         {{"/method/beta", 2.5}, {"/method/design_point/0/value", 0.5}}},
        {{"--method", "form", "--sampling", "importance", "--samples", "40"},
         {{"/sampling/beta", 0.25}, {"/method/probability_of_failure", 0.01}}},
        {{"--method", "form", "--sampling", "monte-carlo", "--samples", "60"},
         {{"/results/probability_of_failure", 0.001},
          {"/results/safety_factor_mean", 0.001},
          {"/results/linearity", 0.01},
          {"/variables/0/safety_factor", 0.001},
          {"/sampling/probability_of_failure", 0.05},
          {"/sampling/failures", 1},
          {"/relied_on/beta", 4.2},
          {"/sampling/sampled_factors/0/1", 1}}},
        {{"--method", "form", "--sampling", "surrogate", "--max-runs", "40"},
         {{"/sampling/beta", 0.25},
          {"/sampling/probability_of_failure", 0.0123456},
          {"/sampling/predicted_factors/0/1", 1e6}}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> save = c.options;
        save.push_back("--save");
        ASSERT_EQ(Run(save).status, 0) << c.options[1];
        const Finished honest = Run({"--saved", "--json", "-"});
        EXPECT_EQ(honest.err, "") << c.options.back();
        const auto study = nlohmann::json::parse(ReadBytes(study_));
        EXPECT_EQ(nlohmann::json::parse(honest.out), study.at("analysis")) << c.options.back();
        for (const Edit& edit : c.edits) {
            WriteBytes(study_, StudyWithEdit(study, edit).dump());
            const Finished saved = Run({"--saved", "--json", "-"});
            EXPECT_EQ(saved.status, 0) << edit.pointer;
            EXPECT_EQ(saved.err, note) << edit.pointer;
            const auto shown = nlohmann::json::parse(saved.out);
            EXPECT_FALSE(shown.contains("method")) << edit.pointer;
            EXPECT_FALSE(shown.contains("sampling")) << edit.pointer;
            EXPECT_EQ(shown["project"]["project_name"], "slope") << edit.pointer;
        }
    }
}

} // namespace
} // namespace zelmora
