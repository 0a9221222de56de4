#include "report/html/html_report.h"

#include "analysis/methods/approximate_tail_probability.h"
#include "analysis/methods/derived_results.h"
#include "analysis/methods/method_runs.h"
#include "analysis/runs/run_plan.h"
#include "project/number_forms.h"
#include "project/shown_text.h"
#include "project/whole_file.h"
#include "report/charts/share_chart.h"
#include "report/html/base64.h"
#include "report/html/html_distribution_section.h"
#include "report/html/html_method_section.h"
#include "report/html/html_sampling_section.h"
#include "report/html/html_summary.h"
#include "report/html/html_table.h"
#include "report/html/method_descriptions.h"
#include "report/html/report_context.h"
#include "report/html/shown_path.h"
#include "report/markup_escape.h"
#include "report/methods_that_ran.h"
#include "report/tables/correlation_summary.h"
#include "report/tables/linearity_reading.h"
#include "report/tables/reliability_summary.h"
#include "report/tables/result_text.h"
#include "report/tables/runs_table.h"

#include <algorithm>
#include <filesystem>
#include <tuple>
#include <utility>

namespace zelmora {

namespace {

// A4 and black on white for print; the runs start a page of their own. The page number sits in
// the page's margin box; the footer is an element, so its texts stay escaped markup, fixed to
// the foot of every page over the room the sheet's repeated table foot keeps free.
constexpr const char* Style = R"(
@page { size: A4; margin: 15mm; }
@page { margin-bottom: 20mm;
        @bottom-right { content: "Page " counter(page) " of " counter(pages); font-size: 8pt;
                        font-family: "DejaVu Sans", Arial, sans-serif; } }
body { font-family: "DejaVu Sans", Arial, sans-serif; font-size: 10pt; color: #000;
       background: #fff; max-width: 180mm; margin: 1em auto; }
h1 { font-size: 16pt; margin: 0 0 0.6em; }
h2 { font-size: 12.5pt; border-bottom: 1px solid #000; margin: 1.4em 0 0.5em; }
table { border-collapse: collapse; margin: 0.4em 0 0.8em; }
th, td { border: 1px solid #444; padding: 2px 4px; text-align: left; vertical-align: top;
         font-size: 9pt; overflow-wrap: anywhere; }
thead th { background: #e6e6e6; }
.n { text-align: right; }
.facts th { font-weight: normal; background: #f2f2f2; }
.form { white-space: pre; font-family: "DejaVu Sans Mono", monospace; }
.wrap { word-break: break-all; }
.note { border: 1px solid #000; padding: 4px 8px; }
img.surface { max-width: 100%; border: 1px solid #444; }
.pictures { display: flex; gap: 4mm; }
.pictures figure { flex: 1; margin: 0; }
figcaption { font-size: 9pt; text-align: center; }
.verdict { font-weight: bold; }
.signoff td { min-width: 55mm; height: 7mm; vertical-align: bottom; }
footer { font-size: 8pt; border-top: 1px solid #444; margin-top: 2em; }
table.sheet, table.sheet > * > tr > td { border: 0; padding: 0; margin: 0; width: 100%; }
.footer-space { height: 8mm; }
@media screen { .footer-space { display: none; } }
@media print {
  footer { position: fixed; bottom: 0; left: 0; right: 0; margin: 0; }
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

// The browser prints the title on every page: the project file's name, nothing of its folder.
std::string Head(const std::string& projectFile) {
    const std::string name = std::filesystem::path(projectFile).filename().string();
    const std::string title = name.empty() ? std::string("Zelmora report") : name;
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
           "img-src data:; style-src 'unsafe-inline'\">\n<title>" +
           EscapeMarkup(title) + "</title>\n<style>" + Style + "</style>\n</head>\n";
}

std::string Outcome(const AnalysisRecord* record, const std::string& projectFile) {
    if (!record) {
        return "";
    }
    std::string html;
    if (record->stopped) {
        html += Paragraph("The analysis was stopped.", "note");
    } else if (!record->error.empty()) {
        html += Paragraph("The analysis ended with an error: " +
                              WithoutProjectFolder(record->error, projectFile),
                          "note");
    }
    if (!record->keptWorkFolder.empty()) {
        html += Paragraph("Its work copies are kept in " +
                              ShownPath(record->keptWorkFolder, projectFile),
                          "note wrap");
    }
    return html;
}

std::string Project(const ReportContext& report) {
    const AnalysisRecord* record = report.record;
    const ProjectState& project = report.project;
    const std::string& file = report.projectFile;
    const std::string name = std::filesystem::path(file).filename().string();
    return "<h1>Zelmora reliability report</h1>\n" +
           FactsTable(Facts{{"Written", DateAndTime(report.writtenAt)},
                            {"Project file", name.empty() ? NoValue : name},
                            {"Calculator", ShownPath(project.BatchPath, file)},
                            {"Model", ShownPath(project.ProjectPath, file)},
                            {"Program", "Zelmora " ZELMORA_VERSION}},
                      "wrap") +
           Outcome(record, file);
}

// The job and who prepared and checked the report; a text not given is a line to write on.
std::string SignOffBlock(const ReportContext& report) {
    const SignOff& signOff = report.study.signOff;
    std::string html = "<table class=\"signoff\">\n<thead><tr><th></th><th>Name</th>"
                       "<th>Signature and date</th></tr></thead>\n<tbody>\n";
    for (const auto& [caption, text, signs] : {std::tuple{"Job", &signOff.job, false},
                                               {"Client", &signOff.client, false},
                                               {"Prepared by", &signOff.preparedBy, true},
                                               {"Checked by", &signOff.checkedBy, true}}) {
        html += "<tr><th>" + std::string(caption) + "</th><td>" + EscapeMarkup(*text) +
                "</td><td>" + (signs ? "" : "—") + "</td></tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string Summary(const ReportContext& report) {
    const AnalysisRecord none;
    const AnalysisRecord& record = report.record ? *report.record : none;
    return SummaryHtml(MethodsThatRanIn(FirstOrderThatRan(report.project, record), record),
                       report.study.targetBeta);
}

// A row that holds nothing but zeros is not part of the model.
bool Used(const SoilSet& row) {
    return row.SetNumber != 0 || row.PhiMean != 0 || row.PhiStdDev != 0 || row.CohesionMean != 0 ||
           row.CohesionStdDev != 0;
}

std::string SetText(int row, const SoilSet& soil, const ReportStudy& study) {
    const auto name = study.setNames.find(row);
    const std::string number = FormatInteger(soil.SetNumber, 0);
    return name == study.setNames.end() || name->second.empty()
               ? number
               : number + " (" + ShownText(name->second, std::string::npos) + ")";
}

std::string Inputs(const ReportContext& report) {
    TextTable soil{
        {"Row", "Set", "φ mean (°)", "φ std. dev. (°)", "c mean (kN/m²)", "c std. dev. (kN/m²)"},
        {}};
    for (int r = 1; r <= SoilRowCount; ++r) {
        const SoilSet& row = Row(report.project, r);
        if (Used(row)) {
            soil.rows.push_back({FormatInteger(r, 0), SetText(r, row, report.study),
                                 FixedText(row.PhiMean), FixedText(row.PhiStdDev),
                                 FixedText(row.CohesionMean), FixedText(row.CohesionStdDev)});
        }
    }
    return Section("Inputs") + HtmlTable(soil, std::vector<bool>(6, true)) +
           Paragraph("Step size: " + FixedText(report.project.StepSize) + " standard deviations");
}

std::string Methods(const ReportContext& report) {
    const AnalysisRecord* record = report.record;
    const bool further = record && record->method;
    std::string html = Section("Methods");
    for (const MethodDescription& method : MethodDescriptions(
             further ? std::optional<Method>(record->method->method) : std::nullopt,
             further ? record->method->strengths : StrengthDistribution::Normal,
             record && !record->correlations.empty(),
             record && record->sampling ? std::optional(record->sampling->kind) : std::nullopt)) {
        html += "<h3>" + EscapeMarkup(method.title) + "</h3>\n";
        for (const std::string& paragraph : method.paragraphs) {
            html += Paragraph(paragraph);
        }
    }
    html += "<h3>References</h3>\n<ul>\n";
    for (const std::string& reference : MethodReferences()) {
        html += "<li>" + EscapeMarkup(reference) + "</li>\n";
    }
    return html + "</ul>\n";
}

// The method's runs and the samples are listed whole in the CSV; the page keeps the first and
// the last few, so that a long check prints on a few pages.
constexpr std::size_t KeptMethodRuns = 2;
constexpr std::size_t KeptSamples = 5;

// The table's first and last `kept` rows, one row between them counting those left out.
TextTable FirstAndLast(TextTable table, std::size_t kept, const std::string& what) {
    if (table.rows.size() <= 2 * kept + 1) {
        return table;
    }
    const std::size_t left = table.rows.size() - 2 * kept;
    std::vector<std::string> gap(table.header.size());
    gap[0] = "…";
    gap[1] = FormatInteger(static_cast<int>(left), 0) + " " + what + " more, in the CSV";
    table.rows.erase(table.rows.begin() + static_cast<std::ptrdiff_t>(kept),
                     table.rows.end() - static_cast<std::ptrdiff_t>(kept));
    table.rows.insert(table.rows.begin() + static_cast<std::ptrdiff_t>(kept), gap);
    return table;
}

std::string Count(std::size_t count, const std::string& what) {
    return FormatInteger(static_cast<int>(count), 0) + " " + what;
}

std::string MethodRuns(const AnalysisRecord* record, const SoilRows& soil) {
    if (!record) {
        return "";
    }
    const TextTable runs = MethodRunsTable(*record, soil);
    if (runs.rows.empty()) {
        return "";
    }
    return "<h3>Method runs</h3>\n" + Paragraph(Count(runs.rows.size(), "runs") + ".") +
           HtmlTable(FirstAndLast(runs, KeptMethodRuns, "runs"), {true, false, true, true, true});
}

std::string SamplingRuns(const AnalysisRecord* record, const SoilRows& soil) {
    if (!record) {
        return "";
    }
    const TextTable runs = SamplingRunsTable(*record, soil);
    if (runs.rows.empty()) {
        return "";
    }
    return "<h3>Sampling runs</h3>\n" +
           Paragraph(Count(runs.rows.size(), "samples run") +
                     ". The number after φ or c is the soil row.") +
           HtmlTable(FirstAndLast(runs, KeptSamples, "samples"), {true, false, true, false});
}

std::string Runs(const ReportContext& report) {
    const std::string known = report.record ? ""
                                            : Paragraph("A project read from a file: the runs' "
                                                        "safety factors only.");
    return "<section class=\"runs\">\n" + Section("Runs") + known +
           HtmlTable(RunsTable(report.project, report.record),
                     {true, false, false, true, true, true}) +
           MethodRuns(report.record, report.project.SoilTable) +
           SamplingRuns(report.record, report.project.SoilTable) + "</section>\n";
}

// The output window's lines in its own text forms.
std::string Results(const ReportContext& report) {
    const ProjectState& project = report.project;
    const auto fixed = [](double value) { return FormatFixed(value, 8, 4); };
    return Section("Results") +
           FactsTable(
               Facts{{"Standard calculation", fixed(Entry(project.SafetyFactors, StandardRun))},
                     {"Calculation with mean values",
                      fixed(Entry(project.SafetyFactors, MeanValueRun))},
                     {"Calculation with reduced values (all)",
                      fixed(Entry(project.SafetyFactors, AllReducedRun))},
                     {"Beta:", fixed(project.Beta)},
                     {"Probability of failure (polynomial approximation, as in the output window):",
                      FormatScientific(TailProbability(project.Beta), 12)},
                     {"Linearity:", fixed(project.Linearity)}},
               "form");
}

std::string Sensitivities(const ReportContext& report) {
    const DerivedResults results = DeriveResults(report.project);
    std::vector<bool> numeric(12, true);
    numeric[4] = false;
    return Section("Sensitivities") + HtmlTable(SensitivityTable(results), numeric) +
           ShareChartSvg(results) +
           FactsTable(ReliabilitySummary(results, report.project.Beta, DecimalProbabilityText),
                      "n") +
           Paragraph(LinearityReading(results.linearity));
}

// The pairs in use and first order's β with them; nothing without correlations.
std::string CorrelationSection(const ReportContext& report) {
    const AnalysisRecord* record = report.record;
    if (!record || record->correlations.empty()) {
        return "";
    }
    return Section("Correlations") +
           HtmlTable(CorrelationTable(record->correlations, report.project.SoilTable),
                     {false, false, true, true}) +
           FactsTable(CorrelatedSummary(DeriveResults(report.project), record->correlations,
                                        DecimalProbabilityText),
                      "n");
}

std::string MethodSection(const ReportContext& report) {
    return MethodSectionHtml(report.record, report.project.SoilTable);
}

std::string SamplingSection(const ReportContext& report) {
    return SamplingSectionHtml(report.record);
}

std::string DistributionSection(const ReportContext& report) {
    return DistributionSectionHtml(report.record);
}

std::string Picture(const RunOutcome& run, const std::string& alt) {
    return R"(<img class="surface" alt=")" + alt + R"(" src="data:image/svg+xml;base64,)" +
           Base64(run.picture) + "\">";
}

std::string Figure(const RunOutcome& run, const std::string& caption) {
    return "<figure>" + Picture(run, caption) + "<figcaption>" +
           EscapeMarkup(caption + ": F = " + FixedText(run.safetyFactor)) +
           "</figcaption></figure>\n";
}

// The mean-value run's picture and, after FORM, the design-point run's beside it.
std::string Surface(const ReportContext& report) {
    const AnalysisRecord* record = report.record;
    if (!record) {
        return "";
    }
    const auto& runs = record->outcomes;
    const auto mean = std::find_if(runs.begin(), runs.end(), [](const RunOutcome& o) {
        return o.runId == MeanValueRun && !o.picture.empty();
    });
    const auto design = std::find_if(runs.rbegin(), runs.rend(), [](const RunOutcome& o) {
        return o.runId >= FirstMethodRunId && !o.picture.empty();
    });
    if (design != runs.rend()) {
        return Section("Critical slip surfaces") + "<div class=\"pictures\">\n" +
               (mean != runs.end() ? Figure(*mean, "Mean values") : "") +
               Figure(*design, "Design point") + "</div>\n";
    }
    if (mean == runs.end()) {
        return "";
    }
    return Section("Critical slip surface") +
           Picture(*mean, "Critical slip surface of the mean-value run") + "\n";
}

// Repeated on every printed page; an element, never CSS content, so the name stays text.
std::string Footer(const ReportContext& report) {
    const std::string name = std::filesystem::path(report.projectFile).filename().string();
    return "<footer>" +
           EscapeMarkup((name.empty() ? std::string("Zelmora report") : name) + " · " +
                        DateAndTime(report.writtenAt)) +
           "</footer>\n";
}

// The report's sections in page order: a further section is one more line here.
using ReportSection = std::string (*)(const ReportContext&);
constexpr ReportSection Sections[] = {
    Project, SignOffBlock,  Summary,       Inputs,          CorrelationSection,  Methods,
    Results, Sensitivities, MethodSection, SamplingSection, DistributionSection, Surface,
    Runs,
};

constexpr const char* SheetStart = "<table class=\"sheet\"><tfoot><tr><td><div "
                                   "class=\"footer-space\"></div></td></tr></tfoot>\n"
                                   "<tbody><tr><td>\n";
constexpr const char* SheetEnd = "</td></tr></tbody></table>\n";

} // namespace

std::string HtmlReport(const std::string& projectFile, const ProjectState& project,
                       const AnalysisRecord* record, std::time_t writtenAt,
                       const ReportStudy& study) {
    const ReportContext report{projectFile, project, record, writtenAt, study};
    std::string page = Head(projectFile) + "<body>\n" + SheetStart;
    for (const ReportSection section : Sections) {
        page += section(report);
    }
    return page + SheetEnd + Footer(report) + "</body>\n</html>\n";
}

void WriteHtmlReport(const std::string& fileName, const std::string& page) {
    SaveWholeFile(fileName, page);
}

} // namespace zelmora
