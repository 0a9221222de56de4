#include "cli/batch_command.h"

#include "analysis/analysis_driver.h"
#include "analysis/methods/correlation_check.h"
#include "analysis/methods/random_variables.h"
#include "analysis/runs/run_executor.h"
#include "cli/batch_study.h"
#include "cli/output_paths.h"
#include "cli/saved_analysis.h"
#include "cli/stop_signals.h"
#include "cli/stream_log.h"
#include "cli/terminal_progress.h"
#include "project/error_text.h"
#include "project/project_file.h"
#include "project/terminal_text.h"
#include "project/whole_file.h"
#include "report/analysis_json.h"
#include "report/html_report.h"

#include <cstdio>
#include <ctime>
#include <exception>
#include <unistd.h>

namespace zelmora::batch {

namespace {

void PrintError(const std::string& message) {
    std::fprintf(stderr, "%s\n", TerminalText(ErrorBoxMessage(message)).c_str());
}

bool JsonToStandardOutput(const BatchOptions& options) {
    return options.jsonFile == "-";
}

void WriteJson(const BatchOptions& options, const AnalysisRecord& record) {
    if (JsonToStandardOutput(options)) {
        const std::string json = AnalysisJson(options.projectFile, record);
        std::fwrite(json.data(), 1, json.size(), stdout);
        std::fflush(stdout);
    } else if (!options.jsonFile.empty()) {
        SaveWholeFile(options.jsonFile, AnalysisJson(options.projectFile, record));
    }
}

// The report first, so that the JSON can tell of its failure; a failure to write either fails
// the command.
void WriteOutputs(const BatchOptions& options, AnalysisRecord& record, bool succeeded) {
    std::exception_ptr reportError;
    if (succeeded && !options.reportFile.empty()) {
        try {
            WriteHtmlReport(options.reportFile,
                            HtmlReport(options.projectFile, &record, std::time(nullptr)));
        } catch (const std::exception& error) {
            record.error = error.what();
            reportError = std::current_exception();
        }
    }
    WriteJson(options, record);
    if (reportError) {
        std::rethrow_exception(reportError);
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
    analysis.correlations = settings.correlations;
    // Standard output carries the log lines only.
    analysis.calculatorOutputFd = STDERR_FILENO;
    analysis.stopRequested = StopSignalled;
    analysis.warn = [&](const std::string& warning) {
        progress.Clear();
        std::fprintf(stderr, "%s\n", TerminalText(warning).c_str());
        progress.Redraw();
    };
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
                         TerminalText(record.keptWorkFolder).c_str());
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
        CheckOutputsApartFromInputs(options);
        CheckCorrelationPairs(options.correlations, RandomVariables());
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
