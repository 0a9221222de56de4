#include "project/project_file.h"
#include "project/project_state.h"
#include "tests/cli/batch_process.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>

namespace zelmora {
namespace {

namespace fs = std::filesystem;

// The layered example in a folder of its own, its project file naming slopecalc.
class LayeredExample : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path examples(ZELMORA_EXAMPLES);
        fs::copy(examples / "layered.plx", folder_.File("layered.plx"));
        fs::copy(examples / "layered.dta", folder_.File("layered.dta"),
                 fs::copy_options::recursive);
        ReadProjectFile((examples / "layered.zmo").string());
        State.BatchPath = SLOPECALC_PROGRAM;
        State.ProjectPath = folder_.File("layered.plx");
        WriteProjectFile(folder_.File("layered.zmo"));
    }

    nlohmann::json Sampling(const std::string& sampling, const std::string& parallel,
                            std::string& log) {
        const std::string json = folder_.File("analysis.json");
        const Finished finished =
            BatchProcess({folder_.File("layered.zmo"), "--method", "form", "--sampling", sampling,
                          "--parallel", parallel, "--json", json, "--report", Report()},
                         folder_.Path())
                .Wait();
        EXPECT_EQ(finished.status, 0) << finished.err;
        log = finished.out;
        return nlohmann::json::parse(test_support::ReadBytes(json)).at("sampling");
    }

    std::string Report() const { return folder_.File("report.html"); }

    test_support::TempFolder folder_;
};

TEST_F(LayeredExample, TheSurrogateFindsTheSamplingChecksAnswerInAFewRunsForAnyRunsAtOnce) {
    std::string log;
    const nlohmann::json importance = Sampling("importance", "2", log);
    const nlohmann::json one = Sampling("surrogate", "1", log);
    const std::string oneLog = log;
    // The report names the surrogate and its runs, not samples it did not run.
    const std::string page = test_support::ReadBytes(Report());
    EXPECT_NE(page.find("Surrogate (active-learning kriging), seed 1"), std::string::npos);
    EXPECT_NE(page.find("Runs of its own:"), std::string::npos);
    EXPECT_EQ(page.find("Samples with F &lt; 1:"), std::string::npos);
    EXPECT_EQ(page.find("Samples with F < 1:"), std::string::npos);
    EXPECT_NE(page.find("<h2>Distribution of the safety factor</h2>"), std::string::npos);
    EXPECT_NE(page.find("Predicted safety factors of the population"), std::string::npos);
    const nlohmann::json three = Sampling("surrogate", "3", log);
    EXPECT_EQ(one, three);
    EXPECT_EQ(one.at("kind"), "surrogate");
    EXPECT_TRUE(one.at("converged").get<bool>());
    EXPECT_EQ(one.at("stopped_by"), "target-cov");
    // The predicted factors are the population's, as it classified them.
    double predicted = 0;
    double failing = 0;
    for (const auto& bin : one.at("predicted_factors")) {
        predicted += bin.at(1).get<double>();
        failing += bin.at(0).get<double>() < 1 ? bin.at(1).get<double>() : 0;
    }
    EXPECT_EQ(predicted, one.at("population").get<int>() - one.at("inadmissible").get<int>());
    EXPECT_DOUBLE_EQ(failing / one.at("population").get<double>(),
                     one.at("probability_of_failure").get<double>());
    const double p = one.at("probability_of_failure").get<double>();
    const auto interval = importance.at("interval_95").get<std::array<double, 2>>();
    EXPECT_GE(p, interval[0]);
    EXPECT_LE(p, interval[1]);
    // A third of importance sampling's runs at most, the method's counted on both sides.
    const int runs = one.at("runs").get<int>();
    EXPECT_LE(3 * runs,
              importance.at("samples").get<int>() - importance.at("inadmissible").get<int>());
    const std::regex line(
        "Surrogate: probability of failure [0-9.]+E-[0-9]{4}, CoV 0\\.[0-9]{4}, " +
        std::to_string(runs) + " runs of its own and " +
        std::to_string(one.at("method_runs_used").get<int>()) +
        " of the method, [0-9]+ rounds, converged\n");
    EXPECT_TRUE(std::regex_search(oneLog, line)) << oneLog;
}

} // namespace
} // namespace zelmora
