#include "report/html_report.h"

#include "analysis/coupling/finite_element_run.h"
#include "analysis/methods/approximate_tail_probability.h"
#include "analysis/methods/derived_results.h"
#include "analysis/runs/run_plan.h"
#include "project/number_forms.h"
#include "project/project_state.h"
#include "project/whole_file.h"
#include "report/base64.h"
#include "report/correlation_summary.h"
#include "report/html_method_section.h"
#include "report/html_sampling_section.h"
#include "report/html_table.h"
#include "report/linearity_reading.h"
#include "report/markup_escape.h"
#include "report/reliability_summary.h"
#include "report/result_text.h"
#include "report/runs_table.h"
#include "report/share_chart.h"

#include <algorithm>
#include <utility>

namespace zelmora {

namespace {

// A4 and black on white for print; the runs start a page of their own.
constexpr const char* Style = R"(
@page { size: A4; margin: 15mm; }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; color: #000;
       background: #fff; max-width: 180mm; margin: 1em auto; }
h1 { font-size: 16pt; margin: 0 0 0.6em; }
h2 { font-size: 12.5pt; border-bottom: 1px solid #000; margin: 1.4em 0 0.5em; }
table { border-collapse: collapse; margin: 0.4em 0 0.8em; }
th, td { border: 1px solid #444; padding: 2px 4px; text-align: left; vertical-align: top;
         font-size: 9pt; }
thead th { background: #e6e6e6; }
.n { text-align: right; }
.facts th { font-weight: normal; background: #f2f2f2; }
.form { white-space: pre; font-family: "DejaVu Sans Mono", monospace; }
.wrap { word-break: break-all; }
.note { border: 1px solid #000; padding: 4px 8px; }
img.surface { max-width: 100%; border: 1px solid #444; }
@media print {
  .runs { break-before: page; }
  h2 { break-after: avoid; }
  tr, svg, img, .facts { break-inside: avoid; }
}
)";

std::string Section(const std::string& title) {
    return "<h2>" + EscapeMarkup(title) + "</h2>\n";
}

std::string Paragraph(const std::string& text, const std::string& cssClass = "") {
    return (cssClass.empty() ? std::string("<p>") : R"(<p class=")" + cssClass + R"(">)") +
           EscapeMarkup(text) + "</p>\n";
}

std::string DateAndTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

std::string Head(const std::string& projectFile) {
    const std::string title =
        "Zelmora report" + (projectFile.empty() ? std::string() : ": " + projectFile);
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
           "img-src data:; style-src 'unsafe-inline'\">\n<title>" +
           EscapeMarkup(title) + "</title>\n<style>" + Style + "</style>\n</head>\n";
}

std::string Outcome(const AnalysisRecord* record) {
    if (!record) {
        return "";
    }
    std::string html;
    if (record->stopped) {
        html += Paragraph("The analysis was stopped.", "note");
    } else if (!record->error.empty()) {
        html += Paragraph("The analysis ended with an error: " + record->error, "note");
    }
    if (!record->keptWorkFolder.empty()) {
        html += Paragraph("Its work copies are kept in " + record->keptWorkFolder, "note wrap");
    }
    return html;
}

std::string Project(const std::string& projectFile, const AnalysisRecord* record,
                    std::time_t writtenAt) {
    const std::string commandLine = record && !record->batchCommandLine.empty()
                                        ? record->batchCommandLine
                                        : BuildBatchCommandLine();
    return "<h1>Zelmora reliability report</h1>\n" +
           FactsTable(Facts{{"Written", DateAndTime(writtenAt)},
                            {"Project file", projectFile.empty() ? NoValue : projectFile},
                            {"Calculator command line", commandLine},
                            {"Model", State.ProjectPath}},
                      "wrap") +
           Outcome(record);
}

std::string Inputs() {
    TextTable soil{
        {"Row", "Set", "φ mean (°)", "φ std. dev. (°)", "c mean (kN/m²)", "c std. dev. (kN/m²)"},
        {}};
    for (int r = 1; r <= SoilRowCount; ++r) {
        const SoilSet& row = Row(State, r);
        soil.rows.push_back({FormatInteger(r, 0), FormatInteger(row.SetNumber, 0),
                             FixedText(row.PhiMean), FixedText(row.PhiStdDev),
                             FixedText(row.CohesionMean), FixedText(row.CohesionStdDev)});
    }
    return Section("Inputs") + HtmlTable(soil, std::vector<bool>(6, true)) +
           Paragraph("Step size: " + FixedText(State.StepSize) + " standard deviations");
}

std::string Runs(const AnalysisRecord* record) {
    const std::string known =
        record ? "" : Paragraph("A project read from a file: the runs' safety factors only.");
    return "<section class=\"runs\">\n" + Section("Runs") + known +
           HtmlTable(RunsTable(record), {true, false, false, true, true, true}) + "</section>\n";
}

// The output window's lines in its own text forms.
std::string Results() {
    const auto fixed = [](double value) { return FormatFixed(value, 8, 4); };
    return Section("Results") +
           FactsTable(
               Facts{{"Normal Plaxis Calculation:", fixed(Entry(State.SafetyFactors, StandardRun))},
                     {"Calculation with mean values",
                      fixed(Entry(State.SafetyFactors, MeanValueRun))},
                     {"Calculation with reduced values (all)",
                      fixed(Entry(State.SafetyFactors, AllReducedRun))},
                     {"Beta:", fixed(State.Beta)},
                     {"Probability of failure:", FormatScientific(TailProbability(State.Beta), 12)},
                     {"Linearity:", fixed(State.Linearity)}},
               "form");
}

std::string Sensitivities() {
    const DerivedResults results = DeriveResults();
    std::vector<bool> numeric(12, true);
    numeric[4] = false;
    return Section("Sensitivities") + HtmlTable(SensitivityTable(results), numeric) +
           ShareChartSvg(results) + FactsTable(ReliabilitySummary(results), "n") +
           Paragraph(LinearityReading(results.linearity));
}

// First order's β with correlations and the pairs it used; nothing without correlations.
std::string CorrelationSection(const AnalysisRecord* record) {
    if (!record || record->correlations.empty()) {
        return "";
    }
    return Section("Correlations") +
           HtmlTable(CorrelationTable(record->correlations), {false, false, true, true}) +
           FactsTable(CorrelatedSummary(DeriveResults(), record->correlations), "n");
}

std::string Surface(const AnalysisRecord* record) {
    if (!record) {
        return "";
    }
    const auto mean = std::find_if(record->outcomes.begin(), record->outcomes.end(),
                                   [](const RunOutcome& o) { return o.runId == MeanValueRun; });
    if (mean == record->outcomes.end() || mean->picture.empty()) {
        return "";
    }
    return Section("Critical slip surface") +
           R"(<img class="surface" alt="Critical slip surface of the mean-value run" )"
           R"(src="data:image/svg+xml;base64,)" +
           Base64(mean->picture) + "\">\n";
}

} // namespace

std::string HtmlReport(const std::string& projectFile, const AnalysisRecord* record,
                       std::time_t writtenAt) {
    return Head(projectFile) + "<body>\n" + Project(projectFile, record, writtenAt) + Inputs() +
           Runs(record) + Results() + Sensitivities() + CorrelationSection(record) +
           MethodSectionHtml(record) + SamplingSectionHtml(record) + Surface(record) +
           "</body>\n</html>\n";
}

void WriteHtmlReport(const std::string& fileName, const std::string& page) {
    SaveWholeFile(fileName, page);
}

} // namespace zelmora
