// Renders reports with headless Chromium to PDF and PNG and reads the PDF back with pdftotext:
// the page must show its figures, its Greek letters and a hostile project's texts literally.
#include "analysis/analysis_driver.h"
#include "analysis/analysis_record.h"
#include "analysis/methods/approximate_tail_probability.h"
#include "analysis/methods/derived_results.h"
#include "analysis/methods/method_runs.h"
#include "analysis/methods/sampling_method.h"
#include "processes/command_line.h"
#include "processes/process_runner.h"
#include "project/number_forms.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "report/html/html_report.h"
#include "report/tables/result_text.h"
#include "tests/analysis/support/method_results.h"
#include "tests/support/file_bytes.h"
#include "tests/support/in_place_analysis.h"
#include "tests/support/memory_log.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>

namespace zelmora {
namespace {

namespace fs = std::filesystem;
using test_support::ReadBytes;

// The plan order of a complete analysis of N variables.
std::vector<int> PlanOrder(int variableCount) {
    std::vector<int> plan{-1, 0};
    for (int i = 1; i <= variableCount; ++i) {
        plan.push_back(i);
    }
    plan.push_back(-2);
    return plan;
}

class ReportBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"chromium", "pdftotext", "pdfinfo"}) {
            if (!LocateProgram(tool)) {
                GTEST_SKIP() << tool << " is not installed: the report is not rendered";
            }
        }
    }

    // The layered example analysed by slopecalc, with the record of what each run did.
    AnalysisRecord AnalyseTheLayeredExample() {
        fs::copy(ZELMORA_EXAMPLES "/layered.plx", folder_.File("layered.plx"));
        fs::create_directory(folder_.File("layered.dta"));
        State = ProjectState{};
        ReadProjectFile(ZELMORA_EXAMPLES "/layered.zmo");
        State.BatchPath = ZELMORA_SLOPECALC;
        State.ProjectPath = folder_.File("layered.plx");
        State.CurrentFileName = folder_.File("layered.zmo");
        AnalysisRecord record;
        test_support::MemoryLog log;
        test_support::AnalyseInPlace(log, record);
        const std::vector<int> plan = PlanOrder(State.VariableCount);
        EXPECT_EQ(record.outcomes.size(), plan.size());
        for (std::size_t k = 0; k < record.outcomes.size() && k < plan.size(); ++k) {
            EXPECT_EQ(record.outcomes[k].runId, plan[k]);
        }
        return record;
    }

    // Writes the page, prints it to PDF and photographs it; returns the PDF's text.
    std::string Render(const std::string& name, const std::string& page) {
        const std::string html = folder_.File(name + ".html");
        WriteHtmlReport(html, page);
        const std::string browser = "timeout 300 chromium --headless --no-sandbox --disable-gpu "
                                    "--user-data-dir=" +
                                    folder_.File("profile") + " --no-pdf-header-footer ";
        EXPECT_EQ(ExecuteAndWait(browser + "--print-to-pdf=" + Pdf(name) + " file://" + html, 1),
                  0);
        EXPECT_EQ(ExecuteAndWait(browser +
                                     "--hide-scrollbars --window-size=900,1400 "
                                     "--screenshot=" +
                                     Png(name) + " file://" + html,
                                 1),
                  0);
        return PdfText(name, 0);
    }

    // The text of one page, or of all for page 0; in reading order rather than as laid out
    // when asked.
    std::string PdfText(const std::string& name, int page, bool layout = true) {
        const std::string text = folder_.File(name + FormatInteger(page, 0) + ".txt");
        const std::string pages =
            page > 0 ? "-f " + FormatInteger(page, 0) + " -l " + FormatInteger(page, 0) + " " : "";
        EXPECT_EQ(ExecuteAndWait(std::string("pdftotext ") + (layout ? "-layout " : "") + pages +
                                     Pdf(name) + " " + text,
                                 1),
                  0);
        return ReadBytes(text);
    }

    // The number of pages pdfinfo counts in the PDF.
    int Pages(const std::string& name) {
        const std::string info = folder_.File(name + "-info.txt");
        ExecuteAndWait("sh -c \"pdfinfo " + Pdf(name) + " > " + info + "\"", 1);
        const std::string text = ReadBytes(info);
        const std::size_t at = text.find("Pages:");
        return at == std::string::npos ? -1 : std::stoi(text.substr(at + 6));
    }

    std::string Pdf(const std::string& name) const { return folder_.File(name + ".pdf"); }
    std::string Png(const std::string& name) const { return folder_.File(name + ".png"); }

    test_support::TempFolder folder_;
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(ReportBrowserTest, TheReportOfAnExampleAnalysisPrintsOnA4) {
    const AnalysisRecord record = AnalyseTheLayeredExample();
    ASSERT_FALSE(record.outcomes.at(1).picture.empty()) << "slopecalc left no picture";
    const std::string text =
        Render("layered", HtmlReport(State.CurrentFileName, State, &record, 0));

    EXPECT_TRUE(Contains(text, "β:")) << text;
    EXPECT_TRUE(Contains(text, FormatFixed(State.Beta, 0, 4))) << text;
    EXPECT_TRUE(Contains(text, "Probability of failure, normal Φ(−β):")) << text;
    EXPECT_TRUE(Contains(text, "β for a lognormal safety factor, β_LN:")) << text;
    EXPECT_TRUE(Contains(text, "Row 1 φ, set 1")) << text;
    EXPECT_TRUE(Contains(text, "Critical slip surface")) << text;

    // The runs begin a page of their own: the first word of some page.
    bool runsBeginAPage = false;
    std::size_t start = 0;
    do {
        runsBeginAPage |= text.compare(text.find_first_not_of(" \n", start), 4, "Runs") == 0;
        start = text.find('\f', start) + 1; // 0 after the last
    } while (start != 0 && start < text.size());
    EXPECT_TRUE(runsBeginAPage) << text;
    const std::string info = folder_.File("info.txt");
    ExecuteAndWait("sh -c \"pdfinfo " + Pdf("layered") + " > " + info + "\"", 1);
    EXPECT_TRUE(Contains(ReadBytes(info), "(A4)")) << ReadBytes(info);

    const std::string png = ReadBytes(Png("layered"));
    ASSERT_GT(png.size(), 24U);
    EXPECT_EQ(png.substr(1, 3), "PNG");
}

// A method's section with its Greek letters and its chart, drawn by the browser: the chart's
// texts reach the PDF only when the browser drew the SVG.
TEST_F(ReportBrowserTest, AMethodsSectionAndChartPrint) {
    AnalysisRecord record = AnalyseTheLayeredExample();
    record.method = testing::UnsettledFormResult();
    const std::string text = Render("method", HtmlReport(State.CurrentFileName, State, &record, 0));
    for (const char* part : {"FORM with normal strengths: not converged", "Design value", "α² (%)",
                             "27.8123", "β by iteration, not converged", "Iteration", "1.9000"}) {
        EXPECT_TRUE(Contains(text, part)) << part << "\n" << text;
    }
}

// Page 1 holds the summary whole; every page its number and the footer, whose hostile project
// name prints as text.
TEST_F(ReportBrowserTest, TheFirstPageSummarisesAndEveryPageCarriesTheFooter) {
    AnalysisRecord record = AnalyseTheLayeredExample();
    record.method = testing::FormResult();
    record.outcomes.at(1).safetyFactor = Entry(State.SafetyFactors, MeanValueRun);
    RunOutcome designPoint = record.outcomes.at(1);
    designPoint.runId = FirstMethodRunId;
    designPoint.safetyFactor = 1.0004;
    record.outcomes.push_back(designPoint);
    const std::string projectFile = folder_.File(R"x(<b title="x">it's & co.zmo)x");
    ReportStudy study;
    study.targetBeta = 3.5;
    study.setNames = {{1, "clayey <sand>"}};
    Render("summary", HtmlReport(projectFile, State, &record, 0, study));
    const std::string first = PdfText("summary", 1);
    for (const char* part :
         {"Summary", "Zelmora 1.0.0", "Target β 3.5000",
          "The β relied on, 2.0512 by FORM, falls short of the target β of 3.5000.",
          "Expected performance level: Poor", "ETL 1110-2-556", "relied on", "Page 1 of"}) {
        EXPECT_TRUE(Contains(first, part)) << part << "\n" << first;
    }
    const std::string footer = R"x(<b title="x">it's & co.zmo · )x";
    EXPECT_TRUE(Contains(PdfText("summary", 1, false), footer)) << PdfText("summary", 1, false);
    const std::string all = PdfText("summary", 0, false);
    EXPECT_TRUE(Contains(all, "1 (clayey <sand>)")) << all;
    EXPECT_TRUE(Contains(all, "Zhang, Y. & Der Kiureghian, A. (1995)")) << all;
    EXPECT_TRUE(Contains(all, "Critical slip surfaces")) << all;
    EXPECT_TRUE(Contains(all, "Mean values: F = " +
                                  FormatFixed(Entry(State.SafetyFactors, MeanValueRun), 0, 4)))
        << all;
    EXPECT_TRUE(Contains(all, "Design point: F = 1.0004")) << all;
    std::size_t footers = 0;
    for (auto at = all.find(footer); at != std::string::npos; at = all.find(footer, at + 1)) {
        ++footers;
    }
    EXPECT_EQ(footers, static_cast<std::size_t>(std::count(all.begin(), all.end(), '\f')));
}

// Ten sets with both strengths random, a FORM of ten iterations and 20,000 samples, every run
// writing every strength: the largest report a project can ask for.
AnalysisRecord LargestRecord() {
    State = ProjectState{};
    SetDefaults();
    State.BatchPath = "/opt/fe/bin/slopecalc";
    State.ProjectPath = "/home/eng/job/slope.plx";
    State.ProjectName = "slope";
    std::vector<ValueWritten> every;
    for (int r = 1; r <= SoilRowCount; ++r) {
        Row(State, r) = {r, 30, 3, 10, 2};
        Entry(State.SafetyFactors, r) = 1.45;
        Entry(State.SafetyFactors, r + SoilRowCount) = 1.42;
        every.push_back({r, 0.45});
        every.push_back({r + SoilRowCount, 8.0});
    }
    Entry(State.SafetyFactors, StandardRun) = 1.5;
    Entry(State.SafetyFactors, MeanValueRun) = 1.5;
    Entry(State.SafetyFactors, AllReducedRun) = 0.9;
    State.Beta = 1.8384;
    State.Linearity = 0.97;
    AnalysisRecord record;
    const auto run = [&every](int runId, double factor) {
        RunOutcome outcome;
        outcome.runId = runId;
        outcome.started = true;
        outcome.seconds = 1.25;
        outcome.safetyFactor = factor;
        outcome.written = every;
        return outcome;
    };
    for (const int runId : PlanOrder(2 * SoilRowCount)) {
        record.outcomes.push_back(run(runId, 1.45));
    }
    MethodResult form = testing::UnsettledFormResult();
    form.converged = true;
    form.runs = 10 * 21;
    for (int k = 0; k < form.runs; ++k) {
        record.outcomes.push_back(run(FirstMethodRunId + k, 1.1));
    }
    form.designPoint.clear();
    form.variables.clear();
    for (const ValueWritten& v : every) {
        const bool friction = v.variableId <= SoilRowCount;
        form.designPoint.push_back({v.variableId, (v.variableId - 1) % SoilRowCount + 1, friction,
                                    friction ? 30.0 : 10.0, friction ? 28.0 : 9.0, 0.2236});
        form.variables.push_back({v.variableId, {}, {}, 0.05});
    }
    record.method = form;
    SamplingResult sampling;
    sampling.kind = SamplingKind::MonteCarlo;
    sampling.samples = 20000;
    sampling.failures = 660;
    sampling.inadmissible = 19;
    sampling.probability = 0.033;
    sampling.cov = 0.038;
    sampling.interval95 = {0.0305, 0.0355};
    sampling.bounds = {0.033, 0.03395};
    sampling.beta = 1.8384;
    sampling.stoppedByTarget = true;
    for (int n = 1; n <= sampling.samples; ++n) {
        const double factor = n % 30 == 0 ? 0.95 : 1.3;
        record.outcomes.push_back(run(FirstSampleRunId + n, factor));
        sampling.sampledFactors.push_back({factor, 1});
        if (n % 20 == 0) {
            sampling.history.push_back({n, 0.033, {0.03, 0.036}});
        }
    }
    record.sampling = sampling;
    return record;
}

TEST_F(ReportBrowserTest, TheLargestReportPrintsOnTwelvePagesAtMost) {
    const AnalysisRecord record = LargestRecord();
    const std::string text =
        Render("largest", HtmlReport("/home/eng/job/slope.zmo", State, &record, 0));
    const int pages = Pages("largest");
    RecordProperty("pages", pages);
    EXPECT_LE(pages, 12);
    EXPECT_GT(pages, 2);
    EXPECT_TRUE(Contains(text, "19990 samples more")) << text;
    EXPECT_TRUE(Contains(text, "Distribution of the safety factor")) << text;
    EXPECT_FALSE(Contains(text, "/home/")) << text;
}

// Page 1 names first order's probability once, the exact tail; the output window's
// approximation stays in the results, marked.
TEST_F(ReportBrowserTest, TheFirstPageGivesFirstOrdersProbabilityOnce) {
    const AnalysisRecord record = AnalyseTheLayeredExample();
    Render("once", HtmlReport(State.CurrentFileName, State, &record, 0));
    const std::string first = PdfText("once", 1, false);
    const DerivedResults derived = DeriveResults(State);
    const std::string exact = DecimalProbabilityText(derived.exactProbability);
    const std::string approximate = DecimalProbabilityText(TailProbability(State.Beta));
    ASSERT_NE(exact, approximate);
    EXPECT_EQ(first.find(exact), first.rfind(exact)) << first;
    EXPECT_NE(first.find(exact), std::string::npos) << first;
    EXPECT_EQ(first.find(approximate), std::string::npos) << first;
    const std::string all = PdfText("once", 0, false);
    EXPECT_TRUE(Contains(all, "Standard calculation")) << all;
    EXPECT_TRUE(Contains(all, "(polynomial approximation, as in the output window)")) << all;
}

TEST_F(ReportBrowserTest, AHostileProjectShowsItsTextsLiterally) {
    State = ProjectState{};
    SetDefaults();
    // The files by their names alone: what follows the last slash.
    State.BatchPath = R"(/opt/<script>alert("x")<script>)";
    State.ProjectPath = R"(/it's "quoted"/<b>bold<b>.plx)";
    const std::string projectFile = R"x(<img src=x onerror="alert(1)">)x";
    const std::string text = Render("hostile", HtmlReport(projectFile, State, nullptr, 0));
    EXPECT_TRUE(Contains(text, R"(<script>alert("x")<script>)")) << text;
    EXPECT_TRUE(Contains(text, "<b>bold<b>.plx")) << text;
    EXPECT_FALSE(Contains(text, R"(/it's "quoted"/)")) << text;
    EXPECT_TRUE(Contains(text, projectFile)) << text;
}

} // namespace
} // namespace zelmora
