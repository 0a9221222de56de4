// Renders reports with headless Chromium to PDF and PNG and reads the PDF back with pdftotext:
// the page must show its figures, its Greek letters and a hostile project's texts literally.
#include "analysis/analysis_driver.h"
#include "analysis/analysis_record.h"
#include "analysis/methods/method_runs.h"
#include "processes/command_line.h"
#include "processes/process_runner.h"
#include "project/number_forms.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "report/html/html_report.h"
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

TEST_F(ReportBrowserTest, AHostileProjectShowsItsTextsLiterally) {
    State = ProjectState{};
    SetDefaults();
    State.BatchPath = R"(<script>alert("x")</script>)";
    State.ProjectPath = R"(/it's "quoted"/<b>bold</b>.plx)";
    const std::string projectFile = R"x(<img src=x onerror="alert(1)">)x";
    const std::string text = Render("hostile", HtmlReport(projectFile, State, nullptr, 0));
    EXPECT_TRUE(Contains(text, R"(<script>alert("x")</script>)")) << text;
    EXPECT_TRUE(Contains(text, R"(/it's "quoted"/<b>bold</b>.plx)")) << text;
    EXPECT_TRUE(Contains(text, projectFile)) << text;
}

} // namespace
} // namespace zelmora
