#include "analysis/analysis_driver.h"
#include "analysis/coupling/written_value.h"
#include "project/error_text.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "tests/cli/batch_process.h"
#include "tests/cli/slope_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/in_place_analysis.h"
#include "tests/support/left_work_folder.h"
#include "tests/support/memory_log.h"
#include "tests/support/pid_file.h"
#include "tests/support/temp_folder.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <optional>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace zelmora {
namespace {

using test_support::ReadBytes;
using test_support::WriteBytes;

std::string Joined(const std::vector<std::string>& lines, std::size_t from) {
    std::string text;
    for (std::size_t k = from; k < lines.size(); ++k) {
        text += lines[k] + "\n";
    }
    return text;
}

class ZelmoraBatch : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSlopeProject(folder_, project_);
        WriteModel("");
    }

    void WriteModel(const std::string& extra) const {
        WriteBytes(folder_.File("slope.dta/model.txt"),
                   "base 0.3\nterm 1 3 1.2 0.5\nterm 1 4 0.02 10\nterm 2 3 0.9 0.4\n"
                   "term 2 4 0.03 5\npidfile " +
                       folder_.File("pids") + "\n" + extra);
    }

    Finished Run(const std::vector<std::string>& arguments) const {
        return BatchProcess(arguments, folder_.Path()).Wait();
    }

    // The log and the saved file of the same analysis run in this process.
    void AnalyseHere(std::string& log, std::string& saved) const {
        ReadProjectFile(project_);
        test_support::MemoryLog memory;
        test_support::AnalyseInPlace(memory);
        log = Joined(memory.lines, 1);
        WriteProjectFile(folder_.File("expected.zmo"));
        saved = ReadBytes(folder_.File("expected.zmo"));
    }

    test_support::TempFolder folder_;
    const std::string project_ = folder_.File("slope.zmo");
};

TEST_F(ZelmoraBatch, PrintsTheLogAndSavesTheResultsForEveryNumberOfParallelRuns) {
    const std::string unsaved = ReadBytes(project_);
    std::string log;
    std::string saved;
    AnalyseHere(log, saved);
    for (const std::string parallel : {"1", "3", "9"}) {
        WriteBytes(project_, unsaved);
        const Finished plain = Run({"--parallel", parallel, project_});
        EXPECT_EQ(plain.status, 0) << plain.err;
        EXPECT_EQ(plain.out, log);
        EXPECT_EQ(ReadBytes(project_), unsaved);

        const Finished saving = Run({"--parallel", parallel, "--save", project_});
        EXPECT_EQ(saving.status, 0) << saving.err;
        EXPECT_EQ(saving.out, log);
        EXPECT_EQ(ReadBytes(project_), saved);
    }
}

TEST_F(ZelmoraBatch, AFailedAnalysisExitsWithOneSavesNothingAndKeepsTheCopies) {
    WriteModel("fault missing 2 3\n");
    const std::string unsaved = ReadBytes(project_);
    const Finished inPlace = Run({"--save", project_});
    EXPECT_EQ(inPlace.status, 1);
    const std::string detail =
        "In run 4, \u03c6 of row 2 lowered.\nProject: " + folder_.File("slope.plx") + "\n";
    // The calculator gave no reason: the cause is the run alone.
    EXPECT_EQ(inPlace.err, "run 4 (\u03c6 of row 2 lowered)\nFile not found.\n" + detail);
    EXPECT_EQ(ReadBytes(project_), unsaved);

    const Finished parallel = Run({"--parallel", "4", "--save", project_});
    EXPECT_EQ(parallel.status, 1);
    EXPECT_EQ(parallel.out, inPlace.out);
    // The runs before the failing one were journaled in place; the note of that comes after
    // the failure's cause and message.
    EXPECT_EQ(parallel.err,
              "run 4 (\u03c6 of row 2 lowered)\nFile not found.\n" + detail +
                  "Work copy: " + folder_.File("slope.plx.runs/4/slope.plx") +
                  "\nThe runs' copies are kept in " + folder_.File("slope.plx.runs") +
                  "\n--resume would have reused 3 runs of the interrupted analysis.\n");
    EXPECT_TRUE(std::filesystem::is_directory(folder_.File("slope.plx.runs/1/slope.dta")));
    EXPECT_EQ(ReadBytes(project_), unsaved);
}

TEST_F(ZelmoraBatch, BadCallsAndUnreadableProjectsExitWithTwo) {
    const std::vector<std::vector<std::string>> calls{
        {},
        {"--parallel", "0", project_},
        {"--parallel", "65", project_},
        {"--parallel", "x", project_},
        {"--unknown", project_},
        {project_, "second.zmo"},
        {folder_.File("absent.zmo")},
        {folder_.Path()},
    };
    for (const auto& call : calls) {
        const Finished finished = Run(call);
        EXPECT_EQ(finished.status, 2) << finished.err;
        EXPECT_FALSE(finished.err.empty());
        EXPECT_EQ(finished.out.find("Safety Factor"), std::string::npos);
    }
    EXPECT_EQ(Run({folder_.File("absent.zmo")}).err,
              "File not found.\n" + folder_.File("absent.zmo") + "\n");
}

// A pair that does not parse or fit the project is a bad call; pairs that form no correlation
// matrix end the analysis before any run, with the message in the JSON.
TEST_F(ZelmoraBatch, CorrelationsAreCheckedBeforeAnyRun) {
    const std::vector<std::vector<std::string>> badPairs{
        {"1:phi,1:cohesion"},     {"1:phi,1:cohesion=x"},
        {"0:phi,1:cohesion=0.2"}, {"1:phi,3:cohesion=0.2"},
        {"1:phi,1:phi=0.2"},      {"1:phi,1:cohesion=0.2", "1:cohesion,1:phi=0.1"},
        {"1:phi,1:cohesion=1"},
    };
    for (const auto& pairs : badPairs) {
        std::vector<std::string> call;
        for (const std::string& pair : pairs) {
            call.insert(call.end(), {"--correlation", pair});
        }
        call.push_back(project_);
        const Finished finished = Run(call);
        EXPECT_EQ(finished.status, 2) << pairs[0];
        EXPECT_FALSE(finished.err.empty());
        EXPECT_EQ(finished.out, "");
    }

    const Finished invalid =
        Run({"--correlation", "1:phi,2:phi=0.9", "--correlation", "1:phi,1:cohesion=0.9",
             "--correlation", "2:phi,1:cohesion=-0.9", "--json", "-", project_});
    EXPECT_EQ(invalid.status, 1);
    EXPECT_NE(invalid.err.find("The correlations do not form a valid correlation matrix."),
              std::string::npos);
    const auto json = nlohmann::json::parse(invalid.out);
    EXPECT_EQ(json["error"], "The correlations do not form a valid correlation matrix.");
    EXPECT_TRUE(json["runs"].empty());
}

// Cohesion and friction angle of a set, both helping the slope, correlated negatively: the
// spread of F shrinks and β grows beside the first-order one, which stays as it was.
TEST_F(ZelmoraBatch, CorrelationsAppearInTheJsonBesideTheFirstOrderResults) {
    const Finished plain = Run({"--method", "taylor", "--json", "-", project_});
    const auto independent = nlohmann::json::parse(plain.out);
    EXPECT_FALSE(independent.contains("correlations"));
    EXPECT_FALSE(independent["results"].contains("beta_correlated"));

    const Finished finished = Run(
        {"--method", "taylor", "--correlation", "1:phi,1:cohesion=-0.5", "--json", "-", project_});
    ASSERT_EQ(finished.status, 0) << finished.err;
    const auto json = nlohmann::json::parse(finished.out);
    ASSERT_EQ(json["correlations"].size(), 1U);
    const auto& pair = json["correlations"][0];
    EXPECT_EQ(pair["a"], nlohmann::json({{"row", 1}, {"parameter", "phi"}}));
    EXPECT_EQ(pair["b"], nlohmann::json({{"row", 1}, {"parameter", "cohesion"}}));
    EXPECT_EQ(pair["rho"], -0.5);
    EXPECT_EQ(pair["rho_normal"], -0.5);
    const auto& results = json["results"];
    EXPECT_EQ(results["beta"], independent["results"]["beta"]);
    const double beta = results["beta_correlated"];
    EXPECT_GT(beta, results["beta"].get<double>());
    EXPECT_NEAR(results["probability_of_failure_correlated"].get<double>(),
                std::erfc(beta / std::sqrt(2.0)) / 2, 1e-15);
    EXPECT_GT(json["method"]["beta"].get<double>(), independent["method"]["beta"].get<double>());
}

TEST_F(ZelmoraBatch, HelpAndVersion) {
    const Finished help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--parallel"), std::string::npos);
    EXPECT_NE(help.out.find("--save"), std::string::npos);
    EXPECT_TRUE(help.out.ends_with(
        "Exit status: 0 the analysis succeeded and everything asked for was written, 1 the "
        "analysis was refused before its first run, failed or was stopped, or an output could "
        "not be written, 2 a bad call or a project file that cannot be read.\n"))
        << help.out;
    const Finished version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "zelmora-batch 1.0.0\n");
}

// The JSON holds the stored values exactly: they are compared bit for bit with those of the same
// analysis run here, for every number of parallel runs.
TEST_F(ZelmoraBatch, WritesTheAnalysisAsJsonThatReadsBackExactly) {
    std::string log;
    std::string saved;
    AnalyseHere(log, saved);
    const ProjectState here = State;
    for (const std::string parallel : {"1", "3"}) {
        const std::string file = folder_.File("analysis.json");
        const Finished finished = Run({"--parallel", parallel, "--json", file, project_});
        ASSERT_EQ(finished.status, 0) << finished.err;
        const auto json = nlohmann::json::parse(ReadBytes(file));
        EXPECT_EQ(json["zelmora_version"], "1.0.0");
        EXPECT_EQ(json["project"]["file"], project_);
        EXPECT_EQ(json["project"]["batch_path"], ZELMORA_FAKE_CALCULATOR);
        EXPECT_EQ(json["project"]["parallel_runs"], std::stoi(parallel));
        EXPECT_EQ(json["project"]["step_size"].get<double>(), 0.5);
        const auto& results = json["results"];
        EXPECT_EQ(results["beta"].get<double>(), here.Beta);
        EXPECT_EQ(results["probability_of_failure"].get<double>(), here.FailureProbability);
        EXPECT_EQ(results["linearity"].get<double>(), here.Linearity);
        EXPECT_EQ(results["safety_factor_mean"].get<double>(), Entry(here.SafetyFactors, 0));
        EXPECT_FALSE(json.contains("error"));

        // Each variable's sensitivity and share from the factors the JSON itself holds.
        const double mean = results["safety_factor_mean"];
        double squares = 0;
        for (const auto& variable : json["variables"]) {
            const double s = (mean - variable["safety_factor"].get<double>()) / 0.5;
            EXPECT_NEAR(variable["sensitivity"].get<double>(), s, 1e-12);
            squares += s * s;
        }
        ASSERT_EQ(json["variables"].size(), 4U);
        double shares = 0;
        for (const auto& variable : json["variables"]) {
            const double s = variable["sensitivity"];
            EXPECT_NEAR(variable["share"].get<double>(), s * s / squares, 1e-12);
            shares += variable["share"].get<double>();
        }
        EXPECT_NEAR(shares, 1.0, 1e-12);
        EXPECT_EQ(json["variables"][2]["parameter"], "cohesion");
        EXPECT_NEAR(results["sigma_f"].get<double>(), std::sqrt(squares), 1e-12);
        EXPECT_NEAR(results["beta"].get<double>(), (mean - 1) / std::sqrt(squares), 1e-12);

        std::vector<int> runIds;
        for (const auto& run : json["runs"]) {
            runIds.push_back(run["run_id"]);
            EXPECT_TRUE(run["started"].get<bool>());
            EXPECT_EQ(run["exit_status"], 0);
        }
        EXPECT_EQ(runIds, (std::vector<int>{-1, 0, 1, 2, 3, 4, -2}));
    }
}

// A non-zero exit status below 129 with a result is accepted, and named on standard error, in
// the JSON's run entry and in the report's runs table.
TEST_F(ZelmoraBatch, ANonZeroExitWithAResultIsAcceptedAndMarked) {
    WriteModel("fault exit-3 2 3\n");
    const Finished finished = Run(
        {"--save", "--json", folder_.File("a.json"), "--report", folder_.File("r.html"), project_});
    EXPECT_EQ(finished.status, 0);
    EXPECT_EQ(finished.err,
              "Run 2: the batch calculator ended with exit status 3; its result was used.\n");
    const auto json = nlohmann::json::parse(ReadBytes(folder_.File("a.json")));
    for (const auto& run : json["runs"]) {
        EXPECT_EQ(run["nonzero_exit_accepted"].get<bool>(), run["run_id"] == 2) << run;
    }
    // Marked alike in the report of the analysis and in the one of the saved study.
    EXPECT_EQ(Run({"--saved", "--report", folder_.File("saved.html"), project_}).status, 0);
    for (const char* report : {"r.html", "saved.html"}) {
        EXPECT_NE(ReadBytes(folder_.File(report)).find(">3 (not 0, result used)</td>"),
                  std::string::npos)
            << report;
    }
}

TEST_F(ZelmoraBatch, JsonToStandardOutputSendsTheLogToStandardErrorAlsoAfterAFailure) {
    WriteModel("fault junk 2 3\n");
    const Finished finished = Run({"--json", "-", "--report", folder_.File("r.html"), project_});
    EXPECT_EQ(finished.status, 1);
    const auto json = nlohmann::json::parse(finished.out);
    EXPECT_EQ(json["error"], "Invalid numeric input");
    EXPECT_TRUE(json["results"]["beta"].is_null());
    EXPECT_TRUE(json["results"]["linearity"].is_null());
    EXPECT_EQ(json["runs"].size(), 4U);
    EXPECT_NE(finished.err.find("Safety Factor Mean Values\n"), std::string::npos);
    EXPECT_NE(finished.err.find("Invalid numeric input.\n"), std::string::npos);
    // No report of an analysis that failed.
    EXPECT_FALSE(std::filesystem::exists(folder_.File("r.html")));
}

TEST_F(ZelmoraBatch, WritesTheReportOfASuccessfulAnalysis) {
    const Finished finished = Run({"--report", folder_.File("r.html"), project_});
    EXPECT_EQ(finished.status, 0) << finished.err;
    const std::string page = ReadBytes(folder_.File("r.html"));
    EXPECT_NE(page.find("Content-Security-Policy"), std::string::npos);
    EXPECT_NE(page.find("<title>slope.zmo</title>"), std::string::npos);
    EXPECT_EQ(page.find(folder_.Path()), std::string::npos);
}

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        rows.emplace_back();
        std::istringstream cells(line);
        for (std::string cell; std::getline(cells, cell, ',');) {
            rows.back().push_back(cell);
        }
        if (!line.empty() && line.back() == ',') {
            rows.back().emplace_back();
        }
    }
    return rows;
}

// Every run and sample, inadmissible ones at their places: read back, each row is the JSON's
// run of that number with its factor and the strengths it wrote, and the file is the same for
// any number of runs at once. FORM's runs depend on the runs at once (its line search runs
// ahead), so the comparison across them takes the Taylor series.
TEST_F(ZelmoraBatch, TheCsvHoldsEveryRunAndSampleAsTheJsonDoes) {
    Row(State, 2) = {2, 25, 2, 1.5, 1}; // c of row 2 below 0 in about one sample of fifteen
    WriteProjectFile(project_);
    WriteModel("base -0.4\n"); // F about 1.1, so that FORM's design point keeps c above 0
    std::string first;
    for (const auto& [method, parallel] :
         {std::pair{"form", "1"}, {"taylor", "1"}, {"taylor", "3"}}) {
        SCOPED_TRACE(std::string(method) + " " + parallel);
        const std::string csv = folder_.File("runs.csv");
        const Finished finished =
            Run({"--parallel", parallel, "--method", method, "--sampling", "monte-carlo",
                 "--samples", "100", "--json", folder_.File("a.json"), "--csv", csv, project_});
        ASSERT_EQ(finished.status, 0) << finished.err;
        const auto json = nlohmann::json::parse(ReadBytes(folder_.File("a.json")));
        const auto rows = CsvRows(ReadBytes(csv));
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows[0],
                  (std::vector<std::string>{"run", "kind", "row1_phi", "row2_phi", "row1_cohesion",
                                            "row2_cohesion", "F", "failed", "reused"}));
        const int inadmissible = json["sampling"]["inadmissible"];
        ASSERT_GT(inadmissible, 0);
        ASSERT_EQ(rows.size(), 1 + json["runs"].size() + std::size_t(inadmissible));
        std::size_t next = 0;
        int inadmissibleRows = 0;
        std::vector<std::string> kinds;
        for (std::size_t k = 1; k < rows.size(); ++k) {
            const auto& row = rows[k];
            ASSERT_EQ(row.size(), 9U) << k;
            if (kinds.empty() || kinds.back() != row[1]) {
                kinds.push_back(row[1]);
            }
            if (row[7] == "inadmissible") {
                ++inadmissibleRows;
                EXPECT_EQ(row[6], "");
                EXPECT_LT(std::stod(row[5]), 0) << "c of row 2 as drawn";
                continue;
            }
            const auto& run = json["runs"][next++];
            EXPECT_EQ(std::stoi(row[0]), run["run_id"].get<int>());
            char factor[32];
            std::snprintf(factor, sizeof factor, "%.4f", run["safety_factor"].get<double>());
            EXPECT_EQ(row[6], factor) << row[0];
            EXPECT_EQ(row[7], "no");
            EXPECT_EQ(row[8], "no");
            for (const auto& written : run["written"]) {
                const int id = written["id"];
                const double value = written["value"];
                const std::size_t column = 2 + (id > 10 ? 2 : 0) + (id - 1) % 10;
                EXPECT_NEAR(std::stod(row[column]), id > 10 ? value : AngleOfWrittenSine(value),
                            1e-6)
                    << row[0];
            }
        }
        EXPECT_EQ(inadmissibleRows, inadmissible);
        const std::string methodKinds =
            std::string(method) == "form" ? "form,design-point" : "taylor";
        std::string shown;
        for (const std::string& kind : kinds) {
            shown += (shown.empty() ? "" : ",") + kind;
        }
        EXPECT_EQ(shown, "standard,mean,reduced,all-reduced," + methodKinds + ",sample");
        if (std::string(method) == "taylor" && first.empty()) {
            first = ReadBytes(csv);
        } else if (std::string(method) == "taylor") {
            EXPECT_EQ(ReadBytes(csv), first);
        }
    }
}

// Each output named onto an input of the analysis: refused with the bad-call status before any
// run, and the inputs stay as they were.
TEST_F(ZelmoraBatch, OutputsOntoInputsAreRefusedBeforeAnyRun) {
    std::filesystem::create_symlink(folder_.File("slope.plx"), folder_.File("link.json"));
    std::filesystem::create_hard_link(project_, folder_.File("hard.html"));
    WriteBytes(folder_.File("slope.dta/inside.zmo"), ReadBytes(project_));
    const std::string model = ReadBytes(folder_.File("slope.plx"));
    const std::string project = ReadBytes(project_);
    const std::vector<std::vector<std::string>> calls{
        {"--json", project_, project_},
        {"--report", folder_.File("slope.study.json"), project_},
        {"--json", folder_.File("slope.plx"), project_},
        {"--json", folder_.File("link.json"), project_},
        {"--report", folder_.File("hard.html"), project_},
        {"--json", folder_.File("slope.dta/model.txt"), project_},
        {"--report", folder_.File("slope.dta/new/r.html"), project_},
        {"--json", folder_.File("slope.plx.runs/r.json"), project_},
        {"--save", folder_.File("slope.dta/inside.zmo")},
        {"--csv", project_, project_},
        {"--csv", folder_.File("slope.dta/runs.csv"), project_},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(call[1]);
        const Finished finished = Run(call);
        EXPECT_EQ(finished.status, 2) << finished.err;
        EXPECT_NE(finished.err.find(" must not write onto "), std::string::npos) << finished.err;
        EXPECT_FALSE(std::filesystem::exists(folder_.File("slope.dta/history.txt")));
        EXPECT_EQ(ReadBytes(folder_.File("slope.plx")), model);
        EXPECT_EQ(ReadBytes(project_), project);
    }

    // A project file that is its own model is not saved.
    State.ProjectPath = project_;
    WriteProjectFile(project_);
    EXPECT_EQ(Run({"--save", project_}).status, 2);
}

TEST_F(ZelmoraBatch, NumericOptionsAreDecimalDigitsAndMethodsAreListedByName) {
    for (const std::string text : {"0x10", "+4", "-1", " 4", "4 ", "1e1", "", "4.0"}) {
        const Finished finished = Run({"--parallel", text, project_});
        EXPECT_EQ(finished.status, 2) << "\"" << text << "\"";
        EXPECT_NE(finished.err.find("--parallel"), std::string::npos) << finished.err;
        EXPECT_FALSE(std::filesystem::exists(folder_.File("slope.dta/history.txt")));
    }
    const Finished leadingZero = Run({"--parallel", "010", "--json", "-", project_});
    ASSERT_EQ(leadingZero.status, 0) << leadingZero.err;
    EXPECT_EQ(nlohmann::json::parse(leadingZero.out)["project"]["parallel_runs"], 10);

    const Finished method = Run({"--method", "xyz", project_});
    EXPECT_EQ(method.status, 2);
    EXPECT_NE(method.err.find("the methods are first-order, taylor, form"), std::string::npos)
        << method.err;
}

// The sign-off's options print on the report and --save keeps them; --saved takes another.
TEST_F(ZelmoraBatch, TheSignOffOptionsPrintAndSaveKeepsThem) {
    const std::string report = folder_.File("r.html");
    ASSERT_EQ(Run({"--job", "Cut 12", "--client", "Works", "--prepared-by", "A. Eng", "--save",
                   "--report", report, project_})
                  .status,
              0);
    EXPECT_NE(ReadBytes(report).find("<tr><th>Prepared by</th><td>A. Eng</td>"), std::string::npos);
    const auto study = nlohmann::json::parse(ReadBytes(folder_.File("slope.study.json")));
    EXPECT_EQ(study["settings"]["job"], "Cut 12");
    EXPECT_EQ(study["settings"]["client"], "Works");
    EXPECT_EQ(study["settings"]["prepared_by"], "A. Eng");
    EXPECT_EQ(study["settings"]["checked_by"], "");
    ASSERT_EQ(Run({"--saved", "--checked-by", "B. Check", "--report", report, project_}).status, 0);
    const std::string page = ReadBytes(report);
    EXPECT_NE(page.find("<tr><th>Job</th><td>Cut 12</td>"), std::string::npos);
    EXPECT_NE(page.find("<tr><th>Checked by</th><td>B. Check</td>"), std::string::npos);
}

// The target β is a decimal above 0 and up to 10; --save keeps it for the next report.
TEST_F(ZelmoraBatch, TheTargetBetaIsAPositiveDecimalKeptBySave) {
    for (const std::string text :
         {"0", "0.0", "-1", "+3", "3e0", "3,5", " 3", "", ".", "1.2.3", "10.5", "0x3"}) {
        const Finished finished = Run({"--target-beta", text, project_});
        EXPECT_EQ(finished.status, 2) << "\"" << text << "\"";
        EXPECT_NE(finished.err.find("--target-beta"), std::string::npos) << finished.err;
    }
    const std::string report = folder_.File("r.html");
    ASSERT_EQ(Run({"--target-beta", "3.5", "--save", "--report", report, project_}).status, 0);
    EXPECT_NE(ReadBytes(report).find("Target β 3.5000"), std::string::npos);
    const auto study = nlohmann::json::parse(ReadBytes(folder_.File("slope.study.json")));
    EXPECT_EQ(study["settings"]["target_beta"], 3.5);
    ASSERT_EQ(Run({"--saved", "--report", report, project_}).status, 0);
    EXPECT_NE(ReadBytes(report).find("Target β 3.5000"), std::string::npos);
}

// After a failure the JSON lists the runs in plan order up to the failing one, which carries
// the error, and no beta the analysis did not reach.
TEST_F(ZelmoraBatch, TheJsonAfterAFailureEndsWithTheFailingRunForEveryNumberOfParallelRuns) {
    const struct {
        const char* fault;
        std::vector<int> runIds;
        const char* error;
    } cases[] = {
        {"fault junk 2 4\n", {-1, 0, 1, 2, 3, 4}, "Invalid numeric input"},
        {"fault missing 1 3\n", {-1, 0, 1}, "File not found"},
    };
    for (const auto& c : cases) {
        WriteModel(c.fault);
        for (const std::string parallel : {"1", "3", "9"}) {
            SCOPED_TRACE(std::string(c.fault) + " parallel " + parallel);
            const Finished finished = Run({"--parallel", parallel, "--json", "-", project_});
            EXPECT_EQ(finished.status, 1);
            const auto json = nlohmann::json::parse(finished.out);
            std::vector<int> runIds;
            for (const auto& run : json["runs"]) {
                runIds.push_back(run["run_id"]);
            }
            EXPECT_EQ(runIds, c.runIds);
            EXPECT_EQ(json["runs"].back()["error"], c.error);
            EXPECT_TRUE(json["runs"].back()["safety_factor"].is_null());
            EXPECT_FALSE(json["runs"].front().contains("error"));
            for (const char* key : {"beta", "probability_of_failure", "sigma_f", "beta_lognormal",
                                    "linearity", "safety_factor_all_reduced"}) {
                EXPECT_TRUE(json["results"][key].is_null()) << key;
            }
            EXPECT_EQ(json["error"], c.error);
        }
    }
}

TEST_F(ZelmoraBatch, AFailedReportAfterASuccessfulAnalysisIsTheJsonsError) {
    const std::string file = folder_.File("analysis.json");
    const Finished finished =
        Run({"--json", file, "--report", folder_.File("absent/r.html"), project_});
    EXPECT_EQ(finished.status, 1);
    const auto json = nlohmann::json::parse(ReadBytes(file));
    EXPECT_FALSE(json["results"]["beta"].is_null());
    ASSERT_TRUE(json.contains("error"));
    EXPECT_EQ(ErrorBoxMessage(json["error"]) + "\n", finished.err);
}

// Refused before any run: the message on standard error, control characters shown as "?", and
// as the JSON's error with its text kept.
TEST_F(ZelmoraBatch, AnInputRefusedBeforeTheFirstRunExitsWithOneAndNoRun) {
    State.ProjectPath = folder_.File("\x1b]0;owned\x07.plx");
    WriteProjectFile(project_);
    const Finished finished = Run({"--json", "-", project_});
    EXPECT_EQ(finished.status, 1);
    EXPECT_EQ(finished.err,
              "The model file does not exist: " + folder_.File("?]0;owned?.plx") + ".\n");
    const auto json = nlohmann::json::parse(finished.out);
    EXPECT_EQ(json["error"], "The model file does not exist: " + State.ProjectPath);
    EXPECT_TRUE(json["runs"].empty());
    EXPECT_TRUE(json["results"]["safety_factor_mean"].is_null());
    EXPECT_FALSE(std::filesystem::exists(folder_.File("slope.dta/history.txt")));
}

// A project file with a relative model and calculator, analysed from another folder: the paths
// are taken from the project file's folder, the calculator starts there (in place it gets the
// relative model path), and a failing run is told of with its calculator's last lines.
TEST_F(ZelmoraBatch, RelativePathsComeFromTheProjectFolderAndAFailedRunIsExplained) {
    std::filesystem::create_directory(folder_.File("bin"));
    std::filesystem::copy_file(ZELMORA_FAKE_CALCULATOR, folder_.File("bin/calc"));
    std::filesystem::create_directory(folder_.File("elsewhere"));
    State.BatchPath = "bin/calc";
    State.ProjectPath = "slope.plx";
    WriteProjectFile(project_);
    WriteModel("chatty\nfault talk 1 3\n");
    const std::string json = folder_.File("analysis.json");
    for (const std::string parallel : {"1", "2"}) {
        SCOPED_TRACE("parallel " + parallel);
        const Finished finished =
            BatchProcess({"--parallel", parallel, "--json", json, "../slope.zmo"}, folder_.Path(),
                         [&](posix_spawn_file_actions_t& actions) {
                             posix_spawn_file_actions_addchdir_np(
                                 &actions, folder_.File("elsewhere").c_str());
                         })
                .Wait();
        EXPECT_EQ(finished.status, 1);
        const auto detail = nlohmann::json::parse(ReadBytes(json))["error_detail"];
        const std::string copy = parallel == "1" ? "" : detail["copy_path"].get<std::string>();
        EXPECT_EQ(detail["copy_path"].is_null(), parallel == "1");
        EXPECT_TRUE(copy.empty() || copy.starts_with(folder_.File("slope.plx.runs/"))) << copy;
        EXPECT_EQ(detail["run"], "run 3, \u03c6 of row 1 lowered");
        EXPECT_EQ(detail["path"], folder_.File("slope.plx"));
        const std::vector<std::string> output{"calculating", "set 5 read", "unknown set 5?"};
        EXPECT_EQ(detail["calculator_output"], output);
        const std::string cause = "run 3 (\u03c6 of row 1 lowered): unknown set 5?";
        EXPECT_EQ(detail["cause"], cause);
        EXPECT_EQ(nlohmann::json::parse(ReadBytes(json))["error"],
                  "The batch calculator wrote no new result file: " +
                      folder_.File("slope.dta/slope.hxx"));
        // The cause first, then the message; the note that the second analysis found the
        // first one's journal comes last.
        const std::string message = cause + "\nThe batch calculator wrote no new result file: " +
                                    folder_.File("slope.dta/slope.hxx") + ".\n";
        EXPECT_EQ(finished.err, message + "In run 3, \u03c6 of row 1 lowered.\nProject: " +
                                    folder_.File("slope.plx") + "\n" +
                                    (copy.empty() ? "" : "Work copy: " + copy + "\n") +
                                    "The calculator's last lines:\n  calculating\n  set 5 read\n"
                                    "  unknown set 5?\n" +
                                    (copy.empty() ? ""
                                                  : "The runs' copies are kept in " +
                                                        folder_.File("slope.plx.runs") + "\n" +
                                                        "--resume would have reused 2 runs of "
                                                        "the interrupted analysis.\n"));
    }
}

// Refused before any run, each with the message that names its cause first on standard error
// and as the JSON's error; a project file that cannot be read names itself and the line.
TEST_F(ZelmoraBatch, RefusalsNameTheirCauseBeforeAnyRun) {
    const std::string good = ReadBytes(project_);
    const auto withLine = [&good](int number, const std::string& text) {
        std::string changed = good;
        std::size_t begin = 0;
        for (int k = 1; k < number; ++k) {
            begin = changed.find("\r\n", begin) + 2;
        }
        return changed.replace(begin, changed.find("\r\n", begin) - begin, text);
    };
    const struct {
        const char* name;
        std::string project;
        int status;
        std::string err;
    } cases[] = {
        {"project name", withLine(22, "Slope"), 1,
         "The project name Slope is not the model file's name slope: the calculator would read "
         "no modification file, so every run would be of the unmodified model.\n"},
        {"sine below 0", withLine(23, " 12.000000  stepsize"), 1,
         "Row 1: lowered by the step size 12.0000, the sine of \u03c6 would be \u22120.1280, "
         "below 0; with this step the standard deviation of \u03c6 can be at most 2.3880, not "
         "3.0000.\n"},
        {"number", withLine(9, "1  30,000000   3.000000  10.000000   2.000000 "), 2,
         "Invalid numeric input.\n" + project_ +
             ", line 9 (soil row 1): \"30,000000\" is not a number\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(project_, c.project);
        const Finished finished = Run({"--json", folder_.File("a.json"), project_});
        EXPECT_EQ(finished.status, c.status);
        EXPECT_EQ(finished.err, c.err);
        EXPECT_EQ(finished.out, "");
        EXPECT_FALSE(std::filesystem::exists(folder_.File("slope.dta/history.txt")));
        if (c.status == 1) {
            EXPECT_EQ(
                ErrorBoxMessage(nlohmann::json::parse(ReadBytes(folder_.File("a.json")))["error"]) +
                    "\n",
                c.err);
        }
    }
}

// A project file that cannot be read, or that is no project file at all, is named with its
// cause on standard error and as the JSON's error, which replaces an old JSON.
TEST_F(ZelmoraBatch, AProjectFileThatCannotBeReadIsTheJsonsErrorAndNoOldJsonStays) {
    const std::string json = folder_.File("a.json");
    const std::string notOne = " is not a Zelmora project file: it ends within its first 22 "
                               "lines (a project file has 49, each ended by CR LF).";
    std::string badNumber = ReadBytes(project_);
    badNumber.replace(badNumber.find("  0.000000"), 10, "x1");
    const struct {
        const char* name;
        std::optional<std::string> content; // none: the file is missing
        std::string error;
        std::string detail;
    } cases[] = {
        {"missing", std::nullopt, "File not found", project_},
        {"empty", "", project_ + notOne, ""},
        {"lines ended by CR alone", "ZELMORA\rSafety Factor:\r", project_ + notOne, ""},
        {"bad number", badNumber, "Invalid numeric input",
         project_ + ", line 3: \"x1\" is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(project_);
        if (c.content) {
            WriteBytes(project_, *c.content);
        }
        for (const std::string& target : {json, std::string("-")}) {
            WriteBytes(json, "{\"results\": {\"beta\": 1.5}}\n");
            const Finished finished = Run({"--json", target, project_});
            EXPECT_EQ(finished.status, 2);
            EXPECT_EQ(finished.err,
                      ErrorBoxMessage(c.error) + "\n" + (c.detail.empty() ? "" : c.detail + "\n"));
            const auto written =
                nlohmann::json::parse(target == "-" ? finished.out : ReadBytes(json));
            EXPECT_EQ(written["error"], c.error);
            EXPECT_TRUE(written["runs"].empty());
            EXPECT_TRUE(written["results"]["beta"].is_null());
            if (!c.detail.empty()) {
                EXPECT_EQ(written["error_detail"]["cause"], c.detail);
            }
        }
    }
    // Onto the project file itself, nothing is written.
    WriteBytes(project_, "");
    EXPECT_EQ(Run({"--json", project_, project_}).status, 2);
    EXPECT_EQ(ReadBytes(project_), "");
}

// SIGINT, SIGTERM, SIGHUP and SIGPIPE stop the analysis as the Stop button does: no calculator is
// left behind.
TEST_F(ZelmoraBatch, StopSignalsStopTheAnalysisAndEndEveryCalculator) {
    WriteModel("fault hang 1 4\n");
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
        for (const std::string parallel : {"1", "4"}) {
            SCOPED_TRACE(std::to_string(signal) + " parallel " + parallel);
            std::filesystem::remove(folder_.File("pids"));
            std::filesystem::remove_all(folder_.File("slope.plx.runs"));
            const BatchProcess batch({"--parallel", parallel, project_}, folder_.Path());
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (test_support::PidsIn(folder_.File("pids")).empty() &&
                   std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            batch.Signal(signal);
            const Finished finished = batch.Wait();
            EXPECT_EQ(finished.status, 1);
            EXPECT_EQ(finished.err, "Analysis stopped.\n");
            EXPECT_NE(finished.out.find("Analysis stopped.\n"), std::string::npos);
            ASSERT_FALSE(test_support::PidsIn(folder_.File("pids")).empty());
            for (const pid_t pid : test_support::PidsIn(folder_.File("pids"))) {
                EXPECT_NE(kill(pid, 0), 0) << "calculator " << pid << " is still there";
            }
            EXPECT_TRUE(test_support::OnlyTheJournalLeft(folder_.File("slope.plx.runs")));
        }
    }
}

// A stream that cannot be written fails the command with a message; one that was closed at the
// start is /dev/null, and no file the program opens takes its place.
TEST_F(ZelmoraBatch, StreamsThatFailOrAreClosed) {
    int readerGone[2];
    ASSERT_EQ(pipe(readerGone), 0);
    close(readerGone[0]);
    const auto closing = [](const std::vector<int>& fds) {
        return [fds](posix_spawn_file_actions_t& actions) {
            for (const int fd : fds) {
                posix_spawn_file_actions_addclose(&actions, fd);
            }
        };
    };
    const auto full = [](posix_spawn_file_actions_t& actions) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/full", O_WRONLY, 0);
    };
    const std::string json = folder_.File("a.json");
    const struct {
        const char* name;
        StreamSetup streams;
        std::string jsonFile;
        int status;
        std::string err;
    } cases[] = {
        {"reader gone",
         [&](posix_spawn_file_actions_t& actions) {
             posix_spawn_file_actions_adddup2(&actions, readerGone[1], 1);
         },
         json, 1, "The log could not be written to standard output: Broken pipe.\n"},
        {"disk full", full, json, 1,
         "The log could not be written to standard output: No space left on device.\n"},
        {"json disk full", full, "-", 1,
         "The JSON could not be written to standard output: No space left on device.\n"},
        {"no input", closing({0}), json, 0, ""},
        {"no output", closing({1}), json, 0, ""},
        {"no error", closing({2}), json, 0, ""},
        {"none", closing({0, 1, 2}), json, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(json);
        const Finished finished =
            BatchProcess({"--json", c.jsonFile, project_}, folder_.Path(), c.streams).Wait();
        EXPECT_EQ(finished.status, c.status);
        if (c.status == 0) {
            EXPECT_FALSE(nlohmann::json::parse(ReadBytes(json)).contains("error"));
            EXPECT_EQ(ReadBytes(folder_.File("slope.dta/slope.mmt")), "0\r\n");
        } else {
            EXPECT_NE(finished.err.find(c.err), std::string::npos) << finished.err;
        }
    }
    close(readerGone[1]);
}

// In place, a modification file left with reduced strengths is reset before the first run, and
// the user is told on standard error, not in the log; copies leave the project's own file alone.
TEST_F(ZelmoraBatch, AModificationFileLeftByAKilledAnalysisIsReset) {
    const std::string modification = folder_.File("slope.dta/slope.mmt");
    const std::string left = "1\r\n1 1 3   0.4000\r\n";
    const std::string log = Run({project_}).out;
    for (const std::string parallel : {"1", "3"}) {
        SCOPED_TRACE(parallel);
        WriteBytes(modification, left);
        const Finished finished = Run({"--parallel", parallel, project_});
        EXPECT_EQ(finished.status, 0);
        EXPECT_EQ(finished.out, log);
        if (parallel == "1") {
            EXPECT_EQ(finished.err, "The modification file still held the values of an analysis "
                                    "that did not end; it was reset to \"0\": " +
                                        modification + "\n");
            EXPECT_EQ(ReadBytes(modification), "0\r\n");
        } else {
            EXPECT_EQ(finished.err, "");
            EXPECT_EQ(ReadBytes(modification), left);
        }
    }
}

} // namespace
} // namespace zelmora
