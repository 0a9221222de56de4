#include "cli/batch_command.h"

#include "analysis/analysis_driver.h"
#include "analysis/runs/run_executor.h"
#include "cli/batch_study.h"
#include "cli/saved_analysis.h"
#include "cli/stop_signals.h"
#include "cli/stream_log.h"
#include "cli/terminal_progress.h"
#include "project/error_text.h"
#include "project/project_file.h"
#include "project/whole_file.h"
#include "report/analysis_json.h"
#include "report/html_report.h"

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace zelmora::batch {

namespace {

void PrintError(const std::string& message) {
    std::fprintf(stderr, "%s\n", ErrorBoxMessage(message).c_str());
}

bool JsonToStandardOutput(const BatchOptions& options) {
    return options.jsonFile == "-";
}

// The JSON and the report; a failure to write them fails the command.
void WriteOutputs(const BatchOptions& options, const AnalysisRecord& record, bool succeeded) {
    if (JsonToStandardOutput(options)) {
        const std::string json = AnalysisJson(options.projectFile, record);
        std::fwrite(json.data(), 1, json.size(), stdout);
        std::fflush(stdout);
    } else if (!options.jsonFile.empty()) {
        SaveWholeFile(options.jsonFile, AnalysisJson(options.projectFile, record));
    }
    if (succeeded && !options.reportFile.empty()) {
        WriteHtmlReport(options.reportFile,
                        HtmlReport(options.projectFile, &record, std::time(nullptr)));
    }
}

int Analyse(const BatchOptions& options, const StudySettings& settings, AnalysisRecord& record) {
    StreamLog log(JsonToStandardOutput(options) ? stderr : stdout);
    TerminalProgress progress;
    log.beforeLine = [&] { progress.Clear(); };
    log.afterLine = [&] { progress.Redraw(); };
    AnalysisOptions analysis;
    analysis.parallelRuns = options.parallelRuns;
    analysis.method = settings.method;
    analysis.strengths = settings.strengths;
    // Standard output carries the log lines only.
    analysis.calculatorOutputFd = STDERR_FILENO;
    analysis.stopRequested = StopSignalled;
    analysis.progress = [&](const AnalysisProgress& now) { progress.Show(now); };
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    try {
        RunAnalysis(log, *processes, analysis, record);
    } catch (const EAnalysisStopped& stopped) {
        progress.Finish();
        PrintError(stopped.what());
        return ExitAnalysisFailed;
    } catch (const std::exception& error) {
        progress.Finish();
        PrintError(error.what());
        if (!record.keptWorkFolder.empty()) {
            std::fprintf(stderr, "The runs' copies are kept in %s\n",
                         record.keptWorkFolder.c_str());
        }
        return ExitAnalysisFailed;
    }
    progress.Finish();
    return ExitSuccess;
}

} // namespace

int RunBatch(const BatchOptions& options) {
    CatchStopSignals();
    try {
        ReadProjectFile(options.projectFile);
    } catch (const std::exception& error) {
        PrintError(error.what());
        return ExitBadCall;
    }
    try {
        if (options.saved) {
            return ShowSavedAnalysis(options);
        }
        const Study study = StudyForRun(options);
        AnalysisRecord record;
        const int status = Analyse(options, study.settings, record);
        WriteOutputs(options, record, status == ExitSuccess);
        if (status == ExitSuccess && options.save) {
            SaveStudy(options.projectFile, study, record);
        }
        return status;
    } catch (const std::exception& error) {
        PrintError(error.what());
        return ExitAnalysisFailed;
    }
}

} // namespace zelmora::batch
