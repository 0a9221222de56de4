#include "cli/saved_analysis.h"

#include "cli/batch_study.h"
#include "project/whole_file.h"
#include "report/html/html_report.h"
#include "report/json/analysis_json.h"
#include "report/json/analysis_json_read.h"
#include "report/runs_csv.h"
#include "study/study_file.h"

#include <cstdio>
#include <ctime>
#include <optional>

namespace zelmora::batch {

namespace {

void WriteJson(const std::string& jsonFile, const std::string& json) {
    if (jsonFile == "-") {
        std::fwrite(json.data(), 1, json.size(), stdout);
        std::fflush(stdout);
    } else if (!jsonFile.empty()) {
        SaveWholeFile(jsonFile, json);
    }
}

} // namespace

int ShowSavedAnalysis(const BatchOptions& options) {
    const OpenedStudy opened = ReadStudyOf(options.projectFile);
    PrintStudyNote(opened.note);
    const std::string& saved = opened.study.analysisJson;
    if (saved.empty() && opened.note.empty()) {
        PrintStudyNote("No analysis is saved with " + options.projectFile +
                       "; the JSON holds the project file alone.");
    }
    std::optional<AnalysisRecord> record;
    if (!saved.empty()) {
        record = RecordFromAnalysisJson(saved);
    }
    WriteJson(options.jsonFile,
              saved.empty() ? AnalysisJson(options.projectFile, State, {}) : saved);
    if (!options.csvFile.empty()) {
        SaveWholeFile(options.csvFile, RunsCsv(State, record.value_or(AnalysisRecord{})));
    }
    if (!options.reportFile.empty()) {
        ReportStudy shown = ForReport(opened.study.settings);
        shown.targetBeta = options.targetBeta.value_or(shown.targetBeta);
        shown.signOff = SignOffForRun(shown.signOff, options);
        WriteHtmlReport(options.reportFile,
                        HtmlReport(options.projectFile, State, record ? &*record : nullptr,
                                   std::time(nullptr), shown));
    }
    return ExitSuccess;
}

} // namespace zelmora::batch
