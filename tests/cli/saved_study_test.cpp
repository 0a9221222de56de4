#include "project/project_file.h"
#include "project/project_state.h"
#include "tests/cli/slope_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

struct Finished {
    int status = -1;
    std::string out;
    std::string err;
};

// zelmora-batch through the shell, its output caught in files; the test's paths need no quotes.
class StudyBatch : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSlopeProject(folder_, project_);
        WriteBytes(folder_.File("slope.dta/model.txt"),
                   "base 0.3\nterm 1 3 1.2 0.5\nterm 1 4 0.02 10\nterm 2 3 0.9 0.4\n"
                   "term 2 4 0.03 5\n");
    }

    Finished Run(const std::string& arguments) const {
        const std::string out = folder_.File("stdout");
        const std::string err = folder_.File("stderr");
        const int status = std::system((std::string(ZELMORA_BATCH) + " " + arguments + " " +
                                        project_ + " >" + out + " 2>" + err)
                                           .c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
    }

    nlohmann::json SavedJson() const {
        const Finished saved = Run("--saved --json -");
        EXPECT_EQ(saved.status, 0) << saved.err;
        return nlohmann::json::parse(saved.out);
    }

    test_support::TempFolder folder_;
    const std::string project_ = folder_.File("slope.zmo");
    const std::string study_ = folder_.File("slope.study.json");
};

struct MethodCase {
    std::string options;
    std::string reportHeading; // of the method's section; empty for none
};

// The saved analysis comes back byte for byte, in the JSON and in the report, and the next run
// takes its method and strengths from the study.
TEST_F(StudyBatch, TheSavedAnalysisOfEveryMethodComesBack) {
    const MethodCase cases[] = {{"", ""},
                                {"--method taylor", "Taylor series"},
                                {"--method form --lognormal", "FORM with lognormal"},
                                {"--method form --strengths normal", "FORM with normal"}};
    for (const MethodCase& c : cases) {
        const std::string json = folder_.File("run.json");
        const Finished run = Run(c.options + " --save --json " + json);
        ASSERT_EQ(run.status, 0) << c.options << run.err;
        const Finished saved = Run("--saved --json - --report " + folder_.File("saved.html"));
        EXPECT_EQ(saved.status, 0) << c.options;
        EXPECT_EQ(saved.err, "") << c.options;
        EXPECT_EQ(saved.out, ReadBytes(json)) << c.options;
        const std::string page = ReadBytes(folder_.File("saved.html"));
        EXPECT_EQ(page.find(c.reportHeading.empty() ? "FORM" : c.reportHeading) !=
                      std::string::npos,
                  !c.reportHeading.empty())
            << c.options;
        const auto ran = nlohmann::json::parse(ReadBytes(json));
        const auto next = nlohmann::json::parse(Run("--json -").out);
        EXPECT_EQ(next.value("method", nlohmann::json()), ran.value("method", nlohmann::json()))
            << c.options;
    }
}

struct Unsaved {
    std::string file; // appended to after a saved Taylor series analysis; empty: none saved
    std::string note;
};

// Without an analysis that belongs to the project file, the JSON and the report of the project
// file alone, the reason on standard error; a run then takes the settings a study still gives.
TEST_F(StudyBatch, WithoutAReadableAnalysisTheProjectFileAloneAndANote) {
    const Unsaved cases[] = {
        {"", "No analysis is saved with " + project_ + "; the JSON holds the project file alone."},
        {project_, "The study file " + study_ +
                       " does not match the project file; its settings are kept, its results "
                       "are not."},
        {study_, "The study file " + study_ +
                     " cannot be read (it is not JSON); the project is opened without it."}};
    for (const Unsaved& c : cases) {
        if (!c.file.empty()) {
            ASSERT_EQ(Run("--method taylor --save").status, 0);
            WriteBytes(c.file, ReadBytes(c.file) + "\r\n}");
        }
        const std::string report = folder_.File("r.html");
        const Finished saved = Run("--saved --json - --report " + report);
        EXPECT_EQ(saved.status, 0);
        EXPECT_EQ(saved.err, c.note + "\n");
        const auto json = nlohmann::json::parse(saved.out);
        EXPECT_FALSE(json.contains("method"));
        EXPECT_EQ(json["project"]["project_name"], "slope");
        EXPECT_NE(ReadBytes(report).find("Content-Security-Policy"), std::string::npos);
        const Finished next = Run("--json -");
        // A study that cannot be read holds what a run would lose: none is made.
        if (c.file == study_) {
            EXPECT_EQ(next.status, 1);
            continue;
        }
        EXPECT_EQ(nlohmann::json::parse(next.out).contains("method"), c.file == project_) << c.file;
    }
}

// The sampling options override the study for one run, are stored by --save and then hold for
// the next run; the check's object comes back with the saved analysis.
TEST_F(StudyBatch, SamplingSettingsGoThroughTheStudy) {
    for (const std::string bad :
         {"--sampling xyz", "--samples 19", "--samples 100001", "--samples 1e2", "--target-cov 0",
          "--target-cov 1", "--target-cov 1e-1", "--target-cov -0.1", "--target-cov .", "--seed -1",
          "--seed 18446744073709551616", "--seed 0x10"}) {
        const Finished refused = Run(bad);
        EXPECT_EQ(refused.status, 2) << bad;
        EXPECT_NE(refused.err.find(bad.substr(0, bad.find(' '))), std::string::npos) << refused.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder_.File("slope.dta/slope.hxx")));
    const Finished withoutForm = Run("--sampling importance");
    EXPECT_EQ(withoutForm.status, 1);
    EXPECT_NE(withoutForm.err.find("Importance sampling starts from FORM's design point"),
              std::string::npos)
        << withoutForm.err;

    const std::string json = folder_.File("run.json");
    const Finished run = Run("--sampling monte-carlo --samples 40 --target-cov 0.5 --seed "
                             "18446744073709551615 --save --json " +
                             json);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto ran = nlohmann::json::parse(ReadBytes(json)).at("sampling");
    // Nothing fails on this safe slope: p = 0, no CoV and no β, and Wilson's upper end for no
    // failure in n samples, z² / (n + z²).
    auto fixed = ran;
    fixed.erase("interval_95");
    fixed.erase("history");
    fixed.erase("sampled_factors");
    // Every sample ran and kept its factor, safe, with the weight 1 of Monte Carlo.
    ASSERT_EQ(ran["sampled_factors"].size(), 40U);
    for (const auto& sampled : ran["sampled_factors"]) {
        EXPECT_GE(sampled[0].get<double>(), 1.0);
        EXPECT_EQ(sampled[1], 1.0);
    }
    EXPECT_EQ(fixed, nlohmann::json::parse(R"({"kind": "monte-carlo", "seed": 18446744073709551615,
        "samples": 40, "failures": 0, "failed_runs": 0, "errors": [], "inadmissible": 0,
        "probability_of_failure": 0.0, "cov": null, "probability_bounds": [0.0, 0.0],
        "failed_runs_decide": false, "beta": null, "stopped_by": "most-runs",
        "form_disagrees": null, "inadmissible_samples": []})"));
    const double z = 1.959963984540054;
    EXPECT_EQ(ran["interval_95"][0], 0.0);
    EXPECT_NEAR(ran["interval_95"][1].get<double>(), z * z / (40 + z * z), 1e-15);
    // The stop rule was judged after 20 and 40 samples.
    ASSERT_EQ(ran["history"].size(), 2U);
    for (const int at : {0, 1}) {
        const auto& point = ran["history"][at];
        EXPECT_EQ(point["samples"], 20 * (at + 1));
        EXPECT_EQ(point["probability"], 0.0);
        EXPECT_NEAR(point["interval_95"][1].get<double>(), z * z / (20 * (at + 1) + z * z), 1e-15);
    }
    EXPECT_EQ(ran["history"][1]["interval_95"], ran["interval_95"]);
    EXPECT_EQ(nlohmann::json::parse(ReadBytes(study_))["settings"]["sampling"],
              nlohmann::json::parse(R"({"kind": "monte-carlo", "samples": 40,
                  "target_cov": 0.5, "seed": 18446744073709551615})"));
    EXPECT_EQ(SavedJson().at("sampling"), ran);
    // The report after --saved has the check's chart and its first and last five samples.
    const std::string report = folder_.File("saved.html");
    ASSERT_EQ(Run("--saved --report " + report).status, 0);
    const std::string page = ReadBytes(report);
    EXPECT_NE(page.find("95 % band by samples"), std::string::npos);
    const std::size_t table = page.find("<h3>Sampling runs</h3>");
    ASSERT_NE(table, std::string::npos);
    const std::size_t end = page.find("</table>", table);
    std::size_t rows = 0;
    for (std::size_t at = page.find("<tr>", table); at < end; at = page.find("<tr>", at + 1)) {
        ++rows;
    }
    EXPECT_EQ(rows, 12U) << "a header, 5 samples, the 30 between counted, 5 samples";
    EXPECT_EQ(nlohmann::json::parse(Run("--json -").out).at("sampling"), ran);
}

// The surrogate's batch and most runs go through the study like the other settings; --samples
// does not apply to it. On this safe slope nothing fails anywhere: the population grows to its
// most without reaching a CoV, and the result says so.
TEST_F(StudyBatch, SurrogateSettingsGoThroughTheStudy) {
    for (const std::string bad :
         {"--batch 0", "--batch 65", "--batch 1e1", "--max-runs 19", "--max-runs 100001",
          "--max-runs 0x20", "--sampling surrogate --samples 40"}) {
        const Finished refused = Run(bad);
        EXPECT_EQ(refused.status, 2) << bad;
    }
    const std::string json = folder_.File("run.json");
    const Finished run = Run("--sampling surrogate --batch 2 --max-runs 30 --save --json " + json);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(" of the method, "), std::string::npos) << run.out;
    const auto ran = nlohmann::json::parse(ReadBytes(json)).at("sampling");
    EXPECT_EQ(ran["kind"], "surrogate");
    EXPECT_EQ(ran["probability_of_failure"], 0.0);
    EXPECT_EQ(ran["converged"], false);
    EXPECT_EQ(ran["stopped_by"], "population");
    EXPECT_EQ(ran["population"], 1000000);
    EXPECT_LE(ran["runs"].get<int>(), 30);
    EXPECT_EQ(ran["runs_per_round"].size(), ran["rounds"].get<std::size_t>());
    EXPECT_EQ(nlohmann::json::parse(ReadBytes(study_))["settings"]["sampling"],
              nlohmann::json::parse(R"({"kind": "surrogate", "samples": 500, "target_cov": 0.1,
                  "seed": 1, "batch": 2, "max_runs": 30})"));
    EXPECT_EQ(SavedJson().at("sampling"), ran);
}

} // namespace
} // namespace zelmora
