#include "analysis/coupling/run_picture.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/sampling_method.h"
#include "project/errors.h"
#include "project/project_state.h"
#include "report/charts/factor_distribution_chart.h"
#include "report/charts/learning_chart.h"
#include "report/charts/leave_one_out_chart.h"
#include "report/charts/sampling_chart.h"
#include "report/html/base64.h"
#include "report/html/html_report.h"
#include "report/html/html_table.h"
#include "report/html/shown_path.h"
#include "report/json/analysis_json.h"
#include "report/json/analysis_json_read.h"
#include "report/tables/runs_table.h"
#include "tests/analysis/support/three_variable_project.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace zelmora {
namespace {

using Cells = std::vector<std::string>;
using testing::ThreeVariableProject;

// 2025-12-06 05:46:40 UTC.
constexpr std::time_t WrittenAt = 1765000000;

const std::string Hostile = R"(/opt/<script>alert("x")</script>/it's "batch")";
const std::string HostilePicture =
    R"x(<svg xmlns="http://www.w3.org/2000/svg" onload="alert(1)"><script>alert(2)</script></svg>)x";

bool Contains(const std::string& page, const std::string& text) {
    return page.find(text) != std::string::npos;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::size_t Count(const std::string& page, const std::string& text) {
    std::size_t count = 0;
    for (auto at = page.find(text); at != std::string::npos; at = page.find(text, at + 1)) {
        ++count;
    }
    return count;
}

// The record of a complete analysis of the three-variable project, one second per run.
AnalysisRecord CompleteRecord() {
    AnalysisRecord record;
    record.batchCommandLine = "/opt/fe/batch /home/eng/slope.plx /c";
    for (const int runId : {-1, 0, 1, 2, 3, -2}) {
        RunOutcome outcome;
        outcome.runId = runId;
        outcome.started = true;
        outcome.exitStatus = runId == 2 ? 3 : 0;
        outcome.seconds = 1.0 + runId / 8.0;
        outcome.resultRewritten = true;
        outcome.safetyFactor = 1.5;
        record.outcomes.push_back(outcome);
    }
    return record;
}

class HtmlReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }

    ProjectState project_ = ThreeVariableProject();
};

TEST_F(HtmlReportTest, RunsOfASavedProjectShowTheirSafetyFactorsOnly) {
    const TextTable runs = RunsTable(project_, nullptr);
    EXPECT_EQ(runs.header, (Cells{"Run", "Reduced", "Values written", "Safety factor"}));
    EXPECT_EQ(runs.rows,
              (std::vector<Cells>{
                  {"-1", "none (standard run)", "none", "1.5000"},
                  {"0", "none (mean values)",
                   "Row 1, set 1: sin φ 0.5000 (φ 30.0°)\nRow 1, set 1: c "
                   "10.0000\nRow 2, set 4: c 5.0000",
                   "1.5000"},
                  {"1", "Row 1 φ, set 1", "Row 1, set 1: sin φ 0.4477 (φ 26.6°)", "1.4000"},
                  {"2", "Row 1 c, set 1", "Row 1, set 1: c 8.0000", "1.3000"},
                  {"3", "Row 2 c, set 4", "Row 2, set 4: c 4.0000", "1.5500"},
                  {"-2", "all",
                   "Row 1, set 1: sin φ 0.4477 (φ 26.6°)\nRow 1, set 1: c "
                   "8.0000\nRow 2, set 4: c 4.0000",
                   "1.2500"}}));
}

TEST_F(HtmlReportTest, RunsOfThisProcessShowStatusAndTime) {
    AnalysisRecord record = CompleteRecord();
    record.outcomes.resize(4); // failed in run 2: runs 3 and -2 not reached
    record.outcomes[3].started = false;
    Entry(project_.SafetyFactors, 12) = 0;
    Entry(project_.SafetyFactors, -2) = 0;
    const TextTable runs = RunsTable(project_, &record);
    EXPECT_EQ(runs.header, (Cells{"Run", "Reduced", "Values written", "Safety factor",
                                  "Exit status", "Seconds"}));
    ASSERT_EQ(runs.rows.size(), 6U);
    EXPECT_EQ(Cells(runs.rows[0].begin() + 3, runs.rows[0].end()), (Cells{"1.5000", "0", "0.88"}));
    EXPECT_EQ(Cells(runs.rows[2].begin() + 3, runs.rows[2].end()), (Cells{"1.4000", "0", "1.13"}));
    EXPECT_EQ(Cells(runs.rows[3].begin() + 3, runs.rows[3].end()),
              (Cells{"1.3000", "not started", "1.25"}));
    for (const std::size_t k : {4U, 5U}) {
        EXPECT_EQ(Cells(runs.rows[k].begin() + 3, runs.rows[k].end()), (Cells{"—", "—", "—"}));
    }
}

// Run 2's calculator ended with status 3, yet its result was used.
TEST_F(HtmlReportTest, ANonZeroExitWhoseResultWasUsedIsMarked) {
    const AnalysisRecord record = CompleteRecord();
    const TextTable runs = RunsTable(project_, &record);
    EXPECT_EQ(runs.rows[2][4], "0");
    EXPECT_EQ(runs.rows[3][4], "3 (not 0, result used)");
}

// Runs 1 and 2 came from the journal of an interrupted analysis: the table and the JSON, also
// read back as the study keeps it, say so of them alone.
TEST_F(HtmlReportTest, RunsReusedFromAnInterruptedAnalysisAreMarked) {
    AnalysisRecord record = CompleteRecord();
    record.outcomes[0].reused = true;
    record.outcomes[1].reused = true;
    const std::string json = AnalysisJson("", project_, record);
    const AnalysisRecord read = RecordFromAnalysisJson(json);
    const AnalysisRecord& made = record;
    for (const AnalysisRecord* shown : {&made, &read}) {
        const TextTable runs = RunsTable(project_, shown);
        EXPECT_EQ(runs.rows[0][4], "0 (reused from the interrupted analysis)");
        EXPECT_EQ(runs.rows[1][4], "0 (reused from the interrupted analysis)");
        EXPECT_EQ(runs.rows[2][4], "0");
        EXPECT_EQ(runs.rows[3][4], "3 (not 0, result used)");
    }
    std::vector<bool> reused;
    const auto document = nlohmann::json::parse(json);
    for (const auto& run : document["runs"]) {
        reused.push_back(run.at("reused").get<bool>());
    }
    EXPECT_EQ(reused, (std::vector<bool>{true, true, false, false, false, false}));
}

TEST_F(HtmlReportTest, ASavedProject) {
    const std::string page = HtmlReport("/home/eng/slope.zmo", project_, nullptr, WrittenAt);
    EXPECT_EQ(page.rfind("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                         "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src "
                         "'none'; img-src data:; style-src 'unsafe-inline'\">\n"
                         "<title>slope.zmo</title>\n",
                         0),
              0U);
    for (const char* text :
         {"<tr><th>Written</th><td class=\"wrap\">2025-12-06 05:46</td></tr>",
          "<tr><th>Project file</th><td class=\"wrap\">slope.zmo</td></tr>",
          "<td class=\"n\">2</td><td class=\"n\">4</td><td class=\"n\">20.0000</td>",
          "<p>Step size: 1.0000 standard deviations</p>",
          "<section class=\"runs\">\n<h2>Runs</h2>\n<p>A project read from a file: the "
          "runs&#39; safety factors only.</p>",
          "<tr><th>Calculation with reduced values (all)</th><td class=\"form\">  "
          "1.2500</td></tr>",
          "<tr><th>Probability of failure (polynomial approximation, as in the output "
          "window):</th><td class=\"form\"> 1.460E-0002</td></tr>",
          "<tr><th>Probability of failure, normal Φ(−β):</th><td class=\"n\">0.0145"
          "</td></tr>",
          "<td>c</td><td class=\"n\">5.0000</td>",
          "<p>Close to 1: the safety factor falls almost in a straight line",
          "@page { size: A4; margin: 15mm; }", ".runs { break-before: page; }"}) {
        EXPECT_TRUE(Contains(page, text)) << text;
    }
    EXPECT_FALSE(Contains(page, "Exit status"));
    EXPECT_FALSE(Contains(page, "Critical slip surface"));
    EXPECT_EQ(Count(page, "<svg"), 1U);
    EXPECT_EQ(page.substr(page.size() - 16), "</body>\n</html>\n");
}

// ρ(φ1, c1) = -0.5: σ_F² = 0.0525 - 2·0.5·0.10·0.20 = 0.0325, β = 0.5 / √0.0325.
TEST_F(HtmlReportTest, CorrelationsShowTheirPairsAndFirstOrdersBetaWithThem) {
    AnalysisRecord record = CompleteRecord();
    EXPECT_FALSE(
        Contains(HtmlReport("/home/eng/slope.zmo", project_, &record, WrittenAt), "Correlations"));
    record.correlations = {{1, 11, -0.5, -0.48}};
    const std::string page = HtmlReport("/home/eng/slope.zmo", project_, &record, WrittenAt);
    for (const char* text :
         {"<h2>Correlations</h2>",
          "<td>φ, row 1 (set 1)</td><td>c, row 1 (set 1)</td><td class=\"n\">-0.5000</td><td "
          "class=\"n\">-0.4800</td>",
          "<tr><th>β with correlations:</th><td class=\"n\">2.7735</td></tr>",
          "<th>Probability of failure with correlations, normal Φ(−β):</th><td "
          "class=\"n\">0.00277</td>",
          "<p>Step size: 1.0000 standard deviations</p>"}) {
        EXPECT_TRUE(Contains(page, text)) << text;
    }
}

// Rows 3 to 10 hold zeros only: the inputs leave them out and name the sets that have names.
TEST_F(HtmlReportTest, TheInputsShowTheRowsInUseWithTheirSetNames) {
    ReportStudy study;
    study.setNames = {{2, "clay & <silt>"}, {5, "unused"}};
    const std::string page = HtmlReport("", project_, nullptr, WrittenAt, study);
    const std::string inputs = page.substr(
        page.find("<h2>Inputs</h2>"), page.find("<h2>Methods</h2>") - page.find("<h2>Inputs</h2>"));
    EXPECT_EQ(Count(inputs, "<tr><td class=\"n\">"), 2U) << inputs;
    EXPECT_TRUE(Contains(inputs, "<td class=\"n\">1</td><td class=\"n\">1</td>"));
    EXPECT_TRUE(
        Contains(inputs, "<td class=\"n\">2</td><td class=\"n\">4 (clay &amp; &lt;silt&gt;)</td>"));
    EXPECT_FALSE(Contains(page, "unused"));
}

// A name with controls that would reorder or restyle the page shows them as "?", and a long name
// breaks within its cell instead of widening the table past the page.
TEST_F(HtmlReportTest, ASetNameShowsItsControlsAsQuestionMarksAndWraps) {
    ReportStudy study;
    study.setNames = {{2, "clay\xe2\x80\xae"
                          "lis\x1b[31m\xc2\x9b" +
                              std::string(300, 'x')}};
    const std::string page = HtmlReport("", project_, nullptr, WrittenAt, study);
    EXPECT_TRUE(
        Contains(page, "<td class=\"n\">4 (clay?lis?[31m?" + std::string(300, 'x') + ")</td>"));
    EXPECT_TRUE(Contains(page, "overflow-wrap: anywhere"));
}

// A method run's values come back from the JSON and are shown labelled, φ by its sine and angle.
TEST_F(HtmlReportTest, MethodRunsShowTheValuesTheyWroteAlsoAfterTheJson) {
    AnalysisRecord record = CompleteRecord();
    record.outcomes[1].written = {{1, 0.5}, {11, 10}, {12, 5}};
    RunOutcome method = record.outcomes[0];
    method.runId = FirstMethodRunId;
    method.safetyFactor = 1.02;
    method.written = {{1, 0.4067}, {11, 3.94}};
    record.outcomes.push_back(method);
    // A later batch of method runs numbers its RunIds afresh; a failed run shows no factor.
    method.runId = FirstMethodRunId;
    method.written = {{11, 12}};
    method.error = "The result file holds no safety factor.";
    record.outcomes.push_back(method);
    const AnalysisRecord read = RecordFromAnalysisJson(AnalysisJson("", project_, record));
    ASSERT_EQ(read.outcomes.size(), record.outcomes.size());
    ASSERT_EQ(read.outcomes[1].written.size(), 3U);
    EXPECT_EQ(read.outcomes[1].written[2].variableId, 12);
    EXPECT_EQ(read.outcomes[1].written[2].value, 5.0);
    EXPECT_EQ(
        MethodRunsTable(read, project_.SoilTable).rows,
        (std::vector<Cells>{{"1", "Row 1, set 1: sin φ 0.4067 (φ 24.0°)\nRow 1, set 1: c 3.9400",
                             "1.0200", "0", "0.88"},
                            {"2", "Row 1, set 1: c 12.0000", "—", "0", "0.88"}}));
    EXPECT_TRUE(Contains(HtmlReport("", project_, &read, WrittenAt), "<h3>Method runs</h3>"));
    EXPECT_FALSE(Contains(HtmlReport("", project_, nullptr, WrittenAt), "<h3>Method runs</h3>"));
}

// The complete record, FORM's design-point run with its picture, three Monte Carlo samples (the
// second failed after it had read a factor) and the estimate's history.
AnalysisRecord SampledRecord() {
    AnalysisRecord record = CompleteRecord();
    record.outcomes[1].picture =
        R"(<svg xmlns="http://www.w3.org/2000/svg"><path d="M0 0"/></svg>)";
    RunOutcome design = record.outcomes[0];
    design.runId = FirstMethodRunId;
    design.safetyFactor = 1.0;
    design.picture = HostilePicture;
    record.outcomes.push_back(design);
    const double factors[] = {0.93, 0.5, 1.21};
    for (int n = 1; n <= 3; ++n) {
        RunOutcome sample = record.outcomes[0];
        sample.runId = FirstSampleRunId + n;
        sample.safetyFactor = factors[n - 1];
        sample.written = {{1, 0.4067}, {11, 3.94 + n}};
        sample.error = n == 2 ? "The batch calculator wrote no new result file: /x.hxx" : "";
        record.outcomes.push_back(sample);
    }
    SamplingResult sampling;
    sampling.samples = 40;
    sampling.failures = 12;
    sampling.probability = 0.3;
    sampling.interval95 = {0.18, 0.45};
    sampling.bounds = {0.3, 0.3};
    sampling.history = {{20, 0.35, {0.18, 0.57}}, {40, 0.3, {0.18, 0.45}}};
    record.sampling = sampling;
    return record;
}

TEST_F(HtmlReportTest, TheSamplingChartComesBackFromTheJson) {
    const AnalysisRecord record = SampledRecord();
    const AnalysisRecord read = RecordFromAnalysisJson(AnalysisJson("", project_, record));
    ASSERT_TRUE(read.sampling);
    ASSERT_EQ(read.sampling->history.size(), 2U);
    EXPECT_EQ(read.sampling->history[0].samples, 20);
    EXPECT_EQ(read.sampling->history[0].probability, 0.35);
    EXPECT_EQ(read.sampling->history[0].interval95, (std::array<double, 2>{0.18, 0.57}));
    const std::string page = HtmlReport("", project_, &read, WrittenAt);
    EXPECT_TRUE(Contains(page, SamplingChartSvg(*record.sampling)));
    // The check that ran is described among the methods.
    const bool importance = record.sampling->kind == SamplingKind::Importance;
    EXPECT_TRUE(Contains(page, importance ? "<h3>Importance sampling at the design point</h3>"
                                          : "<h3>Monte Carlo sampling</h3>"));
}

// For the surrogate, read back with its study, its learning and leave-one-out charts in place of
// the chart by samples.
TEST_F(HtmlReportTest, TheSurrogatesChartsComeBackFromTheJson) {
    AnalysisRecord record = SampledRecord();
    record.sampling->kind = SamplingKind::Surrogate;
    SurrogateFacts facts;
    facts.methodRunsUsed = 6;
    facts.rounds = 2;
    facts.runsPerRound = {4, 3};
    facts.leaveOneOut = {{0.93, 1.02}, {1.21, 1.18}};
    facts.stoppedBy = "max-runs";
    record.sampling->surrogate = facts;
    const AnalysisRecord read = RecordFromAnalysisJson(AnalysisJson("", project_, record));
    ASSERT_TRUE(read.sampling && read.sampling->surrogate);
    const std::string page = HtmlReport("", project_, &read, WrittenAt);
    const std::string learning = LearningChartSvg(*record.sampling);
    const std::string leaveOneOut = LeaveOneOutChartSvg(*record.sampling);
    ASSERT_FALSE(learning.empty());
    ASSERT_FALSE(leaveOneOut.empty());
    EXPECT_TRUE(Contains(page, learning + leaveOneOut));
    EXPECT_FALSE(Contains(page, SamplingChartSvg(*record.sampling)));
    EXPECT_TRUE(Contains(page, R"(Runs per round:</th><td class="n">4, 3<)"));
    EXPECT_TRUE(Contains(page, "1 of 2 training points"));
}

// The sampled factors are kept with the study; one saved before they were shows no distribution.
TEST_F(HtmlReportTest, TheDistributionOfTheFactorsComesBackFromTheJson) {
    AnalysisRecord record = SampledRecord();
    record.sampling->sampledFactors = {{0.93, 1}, {1.21, 1}};
    nlohmann::json saved = nlohmann::json::parse(AnalysisJson("", project_, record));
    const AnalysisRecord read = RecordFromAnalysisJson(saved.dump());
    ASSERT_TRUE(read.sampling);
    EXPECT_EQ(read.sampling->sampledFactors, record.sampling->sampledFactors);
    const std::string page = HtmlReport("", project_, &read, WrittenAt);
    EXPECT_TRUE(Contains(page, "<h2>Distribution of the safety factor</h2>"));
    EXPECT_TRUE(Contains(page, FactorDistributionChartSvg(*record.sampling)));
    EXPECT_TRUE(Contains(page, "1.0700")); // the mean
    EXPECT_TRUE(Contains(page, "0.1400")); // σ
    // Of 40 samples two have a factor: the others are said to be left out.
    EXPECT_TRUE(Contains(page, "38 (not run or failed), not included"));
    EXPECT_LT(page.find("<h2>Distribution of the safety factor</h2>"),
              page.find("<h3>Sampling runs</h3>"));
    saved["sampling"].erase("sampled_factors");
    const AnalysisRecord old = RecordFromAnalysisJson(saved.dump());
    EXPECT_FALSE(
        Contains(HtmlReport("", project_, &old, WrittenAt), "Distribution of the safety factor"));
}

// The samples have a table of their own, read from the run entries; a failed one shows no factor
// even where the run read one.
TEST_F(HtmlReportTest, SamplingRunsAreListedAlsoAfterTheJson) {
    const AnalysisRecord read = RecordFromAnalysisJson(AnalysisJson("", project_, SampledRecord()));
    EXPECT_EQ(SamplingRunsTable(read, project_.SoilTable).rows,
              (std::vector<Cells>{{"1", "sin φ1 0.4067 (24.0°) · c1 4.9400", "0.9300", "yes"},
                                  {"2", "sin φ1 0.4067 (24.0°) · c1 5.9400", "—", "run failed"},
                                  {"3", "sin φ1 0.4067 (24.0°) · c1 6.9400", "1.2100", "no"}}));
    EXPECT_EQ(MethodRunsTable(read, project_.SoilTable).rows.size(), 1U);
    EXPECT_TRUE(Contains(HtmlReport("", project_, &read, WrittenAt), "<h3>Sampling runs</h3>"));
}

// A check of many samples prints its first and last five and counts those between.
TEST_F(HtmlReportTest, ALongCheckListsItsFirstAndLastSamplesOnly) {
    AnalysisRecord record = SampledRecord();
    record.outcomes.resize(7);
    for (int n = 1; n <= 2000; ++n) {
        RunOutcome sample = record.outcomes[0];
        sample.runId = FirstSampleRunId + n;
        sample.written = {{11, 3.0 + n / 1000.0}};
        record.outcomes.push_back(sample);
    }
    const std::string page = HtmlReport("", project_, &record, WrittenAt);
    EXPECT_TRUE(
        Contains(page, "<p>2000 samples run. The number after φ or c is the soil row.</p>"));
    for (const char* shown : {"c1 3.0010", "c1 3.0050", "c1 4.9960", "c1 5.0000"}) {
        EXPECT_TRUE(Contains(page, shown)) << shown;
    }
    for (const char* left : {"c1 3.0060", "c1 4.9950"}) {
        EXPECT_FALSE(Contains(page, left)) << left;
    }
    EXPECT_TRUE(Contains(page, "<tr><td class=\"n\">…</td><td>1990 samples more, in the "
                               "CSV</td><td class=\"n\"></td><td></td></tr>"));
}

// The page names files as the project's folder sees them and nothing of this machine's folders;
// the JSON keeps the paths whole.
TEST_F(HtmlReportTest, NoAbsolutePathReachesThePage) {
    project_.BatchPath = "/opt/fe/bin/slopecalc";
    project_.ProjectPath = "/home/eng/job/model/slope.plx";
    AnalysisRecord record = CompleteRecord();
    record.error = "File not found: /home/eng/job/model/slope.dta/slope.hxx";
    record.keptWorkFolder = "/home/eng/job/model/slope.plx.runs";
    const std::string projectFile = "/home/eng/job/slope.zmo";
    const std::string page = HtmlReport(projectFile, project_, &record, WrittenAt);
    for (const char* text :
         {"<title>slope.zmo</title>", "<th>Calculator</th><td class=\"wrap\">slopecalc</td>",
          "<th>Model</th><td class=\"wrap\">model/slope.plx</td>",
          "error: File not found: model/slope.dta/slope.hxx</p>",
          "kept in model/slope.plx.runs</p>", "<th>Standard calculation</th>"}) {
        EXPECT_TRUE(Contains(page, text)) << text;
    }
    for (const char* absolute : {"/home/", "/opt/", "Normal Plaxis Calculation"}) {
        EXPECT_FALSE(Contains(page, absolute)) << absolute;
    }
    EXPECT_TRUE(Contains(AnalysisJson(projectFile, project_, record), "/opt/fe/bin/slopecalc"));
}

// A share or a sensitivity that rounds to zero prints without a minus; other texts as they are.
TEST(HtmlTableText, AZeroPrintsWithoutAMinus) {
    const TextTable table{{"v"}, {{"-0.0"}, {"-0.0000"}, {"-0"}, {"-0.0500"}, {"-"}, {"—"}}};
    EXPECT_EQ(HtmlTable(table, {true}),
              "<table>\n<thead><tr><th class=\"n\">v</th></tr>\n</thead>\n<tbody>\n"
              "<tr><td class=\"n\">0.0</td></tr>\n<tr><td class=\"n\">0.0000</td></tr>\n"
              "<tr><td class=\"n\">0</td></tr>\n<tr><td class=\"n\">-0.0500</td></tr>\n"
              "<tr><td class=\"n\">-</td></tr>\n<tr><td class=\"n\">—</td></tr>\n"
              "</tbody>\n</table>\n");
    EXPECT_EQ(FactsTable(Facts{{"Share", "-0.0"}}, "n"),
              "<table class=\"facts\">\n<tr><th>Share</th><td class=\"n\">0.0</td></tr>\n"
              "</table>\n");
}

// Page 1 names the job and who prepared and checked the report, an empty text a box to write in.
TEST_F(HtmlReportTest, TheFirstPageHoldsTheSignOff) {
    ReportStudy study;
    study.signOff = {"Cut <12>", "Works & Co", "A. Eng", ""};
    const std::string page = HtmlReport("", project_, nullptr, WrittenAt, study);
    const std::size_t block = page.find("<table class=\"signoff\">");
    ASSERT_NE(block, std::string::npos);
    EXPECT_LT(block, page.find("<h2>Summary</h2>"));
    for (const char* row : {"<tr><th>Job</th><td>Cut &lt;12&gt;</td><td>—</td></tr>",
                            "<tr><th>Client</th><td>Works &amp; Co</td><td>—</td></tr>",
                            "<tr><th>Prepared by</th><td>A. Eng</td><td></td></tr>",
                            "<tr><th>Checked by</th><td></td><td></td></tr>"}) {
        EXPECT_TRUE(Contains(page, row)) << row;
    }
}

TEST(ShownPath, RelativeInsideTheProjectsFolderElseTheNameAlone) {
    const struct {
        std::string path, projectFile, shown;
    } cases[] = {
        {"/home/eng/job/slope.plx", "/home/eng/job/a.zmo", "slope.plx"},
        {"/home/eng/job/model/slope.plx", "/home/eng/job/a.zmo", "model/slope.plx"},
        {"/home/eng/job/../job/model/slope.plx", "/home/eng/job/a.zmo", "model/slope.plx"},
        {"/home/eng/other/slope.plx", "/home/eng/job/a.zmo", "slope.plx"},
        {"/home/eng/jobs/slope.plx", "/home/eng/job/a.zmo", "slope.plx"},
        {"/opt/fe/slopecalc", "", "slopecalc"},
        {"", "/home/eng/job/a.zmo", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShownPath(c.path, c.projectFile), c.shown) << c.path;
    }
    EXPECT_EQ(
        WithoutProjectFolder("in /home/eng/job/m.dta and /home/eng/jobs/x", "/home/eng/job/a.zmo"),
        "in m.dta and /home/eng/jobs/x");
    EXPECT_EQ(WithoutProjectFolder("/a/b", "/a.zmo"), "/a/b");
}

// Both pictures come back byte for byte and the report shows them as after the analysis.
TEST_F(HtmlReportTest, TheCalculatorsPicturesComeBackFromTheJson) {
    const AnalysisRecord record = SampledRecord();
    const AnalysisRecord read = RecordFromAnalysisJson(AnalysisJson("", project_, record));
    EXPECT_EQ(read.outcomes[1].picture, record.outcomes[1].picture);
    EXPECT_EQ(read.outcomes[6].picture, HostilePicture);
    const auto surfaces = [](const std::string& page) {
        const std::size_t from = page.find("<h2>Critical slip surfaces</h2>");
        return from == std::string::npos ? "" : page.substr(from, page.find("</div>", from) - from);
    };
    const std::string shown = surfaces(HtmlReport("", project_, &read, WrittenAt));
    EXPECT_EQ(shown, surfaces(HtmlReport("", project_, &record, WrittenAt)));
    EXPECT_TRUE(Contains(shown, Base64(HostilePicture)));
    nlohmann::json tooLarge = nlohmann::json::parse(AnalysisJson("", project_, record));
    tooLarge["runs"][1]["picture"] = std::string(MaxPictureBytes + 1, ' ');
    EXPECT_THROW(RecordFromAnalysisJson(tooLarge.dump()), nlohmann::json::exception);
}

TEST_F(HtmlReportTest, TheRecordsCommandLineStatusAndPicture) {
    AnalysisRecord record = CompleteRecord();
    record.batchCommandLine = "/usr/bin/srun --ntasks=1 /opt/fe/batch /home/eng/slope.plx /c";
    record.outcomes[1].picture = "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
    const std::string page = HtmlReport("", project_, &record, WrittenAt);
    EXPECT_TRUE(Contains(page, "<title>Zelmora report</title>"));
    EXPECT_TRUE(Contains(page, "<tr><th>Project file</th><td class=\"wrap\">—</td></tr>"));
    EXPECT_FALSE(Contains(page, "/usr/bin/srun")); // in the JSON, not on paper
    EXPECT_TRUE(Contains(page, "<th class=\"n\">Exit status</th>"));
    EXPECT_TRUE(Contains(page, "<h2>Critical slip surface</h2>\n<img class=\"surface\" alt=\""
                               "Critical slip surface of the mean-value run\" "
                               "src=\"data:image/svg+xml;base64," +
                                   Base64(record.outcomes[1].picture) + "\">\n"));
    EXPECT_FALSE(Contains(page, "The analysis"));
}

TEST_F(HtmlReportTest, APictureOnlyFromTheMeanValueRun) {
    AnalysisRecord record = CompleteRecord();
    record.outcomes[5].picture = "<svg/>"; // run -2
    EXPECT_FALSE(Contains(HtmlReport("", project_, &record, WrittenAt), "Critical slip surface"));
}

TEST_F(HtmlReportTest, AFailedOrStoppedAnalysisSaysSo) {
    AnalysisRecord record = CompleteRecord();
    record.error = "The result file holds no safety factor: /x/<b>.hxx";
    record.keptWorkFolder = "/home/eng/slope.plx.runs";
    std::string page = HtmlReport("", project_, &record, WrittenAt);
    EXPECT_TRUE(Contains(page, "<p class=\"note\">The analysis ended with an error: The result "
                               "file holds no safety factor: /x/&lt;b&gt;.hxx</p>"));
    EXPECT_TRUE(Contains(page, "<p class=\"note wrap\">Its work copies are kept in "
                               "slope.plx.runs</p>"));
    record.stopped = true;
    page = HtmlReport("", project_, &record, WrittenAt);
    EXPECT_TRUE(Contains(page, "<p class=\"note\">The analysis was stopped.</p>"));
    EXPECT_FALSE(Contains(page, "ended with an error"));
}

// Whatever the project and the calculator hold, the page stays text and one picture.
TEST_F(HtmlReportTest, HostileTextsAndPicturesStayInert) {
    project_.BatchPath = Hostile;
    project_.ProjectPath = Hostile;
    AnalysisRecord record = CompleteRecord();
    record.batchCommandLine = Hostile + " /c";
    record.error = R"(<script>alert("x")</script> in /elsewhere/it's "batch")";
    record.outcomes[1].picture = HostilePicture;
    for (const AnalysisRecord* r : {static_cast<const AnalysisRecord*>(nullptr),
                                    static_cast<const AnalysisRecord*>(&record)}) {
        const std::string page = HtmlReport(Hostile, project_, r, WrittenAt);
        const std::string lower = Lower(page);
        EXPECT_FALSE(Contains(lower, "<script"));
        EXPECT_FALSE(Contains(lower, "onload"));
        EXPECT_FALSE(Contains(page, "\"batch\""));
        EXPECT_FALSE(Contains(page, "it's"));
        // The files by their names alone, the message whole.
        EXPECT_TRUE(Contains(page, "<td class=\"wrap\">it&#39;s &quot;batch&quot;</td>"));
        EXPECT_EQ(Contains(page, "&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; in "
                                 "/elsewhere/it&#39;s &quot;batch&quot;"),
                  r != nullptr);
        EXPECT_EQ(Count(lower, "<svg"), 1U); // the chart only
        EXPECT_EQ(Count(lower, "<img"), r ? 1U : 0U);
    }
}

TEST_F(HtmlReportTest, WrittenWhole) {
    const test_support::TempFolder folder;
    const std::string page = HtmlReport("", project_, nullptr, WrittenAt);
    test_support::WriteBytes(folder.File("r.html"),
                             "an older, longer report than this one " + page);
    WriteHtmlReport(folder.File("r.html"), page);
    EXPECT_EQ(test_support::ReadBytes(folder.File("r.html")), page);
    try {
        WriteHtmlReport(folder.File("missing/r.html"), page);
        ADD_FAILURE() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(std::string(error.what()), "Invalid filename");
    }
}

} // namespace
} // namespace zelmora
