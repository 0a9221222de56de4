// Renders reports with headless Chromium to PDF and PNG and reads the PDF back with pdftotext:
// the page must show its figures, its Greek letters and a hostile project's texts literally.
#include "analysis/analysis_driver.h"
#include "analysis/analysis_record.h"
#include "analysis/coupling/finite_element_run.h"
#include "processes/command_line.h"
#include "processes/process_runner.h"
#include "project/number_forms.h"
#include "project/project_file.h"
#include "project/project_state.h"
#include "report/html_report.h"
#include "tests/analysis/support/method_results.h"
#include "tests/support/file_bytes.h"
#include "tests/support/memory_log.h"
#include "tests/support/temp_folder.h"

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

    // The layered example analysed by slopecalc. The runner notes each run's exit status and
    // time and the picture the mean-value run leaves, as an analysis record holds them.
    AnalysisRecord AnalyseTheLayeredExample() {
        fs::copy(ZELMORA_EXAMPLES "/layered.plx", folder_.File("layered.plx"));
        fs::create_directory(folder_.File("layered.dta"));
        State = ProjectState{};
        ReadProjectFile(ZELMORA_EXAMPLES "/layered.zmo");
        State.BatchPath = ZELMORA_SLOPECALC;
        State.ProjectPath = folder_.File("layered.plx");
        State.CurrentFileName = folder_.File("layered.zmo");
        AnalysisRecord record;
        record.batchCommandLine = BuildBatchCommandLine();
        test_support::MemoryLog log;
        RunAnalysis(log, [&record, this](const std::string& commandLine, std::uint16_t mode) {
            const auto start = std::chrono::steady_clock::now();
            RunOutcome outcome;
            outcome.exitStatus = ExecuteAndWait(commandLine, mode);
            outcome.seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            outcome.started = outcome.exitStatus != -1;
            if (record.outcomes.size() == 1) {
                outcome.picture = ReadBytes(folder_.File("layered.dta/layered.svg"));
            }
            record.outcomes.push_back(outcome);
            return outcome.exitStatus;
        });
        const std::vector<int> plan = PlanOrder(State.VariableCount);
        EXPECT_EQ(record.outcomes.size(), plan.size());
        for (std::size_t k = 0; k < record.outcomes.size() && k < plan.size(); ++k) {
            record.outcomes[k].runId = plan[k];
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

    // The text of one page, or of all for page 0.
    std::string PdfText(const std::string& name, int page) {
        const std::string text = folder_.File(name + FormatInteger(page, 0) + ".txt");
        const std::string pages =
            page > 0 ? "-f " + FormatInteger(page, 0) + " -l " + FormatInteger(page, 0) + " " : "";
        EXPECT_EQ(ExecuteAndWait("pdftotext -layout " + pages + Pdf(name) + " " + text, 1), 0);
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
    const std::string text = Render("layered", HtmlReport(State.CurrentFileName, &record, 0));

    EXPECT_TRUE(Contains(text, "β:")) << text;
    EXPECT_TRUE(Contains(text, FormatFixed(State.Beta, 0, 4))) << text;
    EXPECT_TRUE(Contains(text, "Probability of failure, normal Φ(−β):")) << text;
    EXPECT_TRUE(Contains(text, "β for a lognormal safety factor, β_LN:")) << text;
    EXPECT_TRUE(Contains(text, "Row 1 φ, set 1")) << text;
    EXPECT_TRUE(Contains(text, "Critical slip surface")) << text;

    // The runs begin the second page.
    std::string second = PdfText("layered", 2);
    second.erase(0, second.find_first_not_of(" \n"));
    EXPECT_EQ(second.rfind("Runs", 0), 0U) << second;
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
    const std::string text = Render("method", HtmlReport(State.CurrentFileName, &record, 0));
    for (const char* part : {"FORM with normal strengths: not converged", "Design value", "α² (%)",
                             "27.8123", "β by iteration, not converged", "Iteration", "1.9000"}) {
        EXPECT_TRUE(Contains(text, part)) << part << "\n" << text;
    }
}

TEST_F(ReportBrowserTest, AHostileProjectShowsItsTextsLiterally) {
    State = ProjectState{};
    SetDefaults();
    State.BatchPath = R"(<script>alert("x")</script>)";
    State.ProjectPath = R"(/it's "quoted"/<b>bold</b>.plx)";
    const std::string projectFile = R"x(<img src=x onerror="alert(1)">)x";
    const std::string text = Render("hostile", HtmlReport(projectFile, nullptr, 0));
    EXPECT_TRUE(Contains(text, R"(<script>alert("x")</script>)")) << text;
    EXPECT_TRUE(Contains(text, R"(/it's "quoted"/<b>bold</b>.plx)")) << text;
    EXPECT_TRUE(Contains(text, projectFile)) << text;
}

} // namespace
} // namespace zelmora
