#include "batch/batch_command.h"

#include "analysis/analysis_driver.h"
#include "analysis/run_executor.h"
#include "batch/stop_signals.h"
#include "batch/stream_log.h"
#include "batch/terminal_progress.h"
#include "project/error_text.h"
#include "project/project_file.h"

#include <cstdio>
#include <unistd.h>

namespace zelmora::batch {

namespace {

void PrintError(const std::string& message) {
    std::fprintf(stderr, "%s\n", ErrorBoxMessage(message).c_str());
}

int Analyse(const BatchOptions& options) {
    StreamLog log(stdout);
    TerminalProgress progress;
    log.beforeLine = [&] { progress.Clear(); };
    log.afterLine = [&] { progress.Redraw(); };
    AnalysisOptions analysis;
    analysis.parallelRuns = options.parallelRuns;
    // Standard output carries the log lines only.
    analysis.calculatorOutputFd = STDERR_FILENO;
    analysis.stopRequested = StopSignalled;
    analysis.progress = [&](const AnalysisProgress& now) { progress.Show(now); };
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    AnalysisRecord record;
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
    const int status = Analyse(options);
    if (status != ExitSuccess || !options.save) {
        return status;
    }
    try {
        WriteProjectFile(options.projectFile);
    } catch (const std::exception& error) {
        PrintError(error.what());
        return ExitAnalysisFailed;
    }
    return ExitSuccess;
}

} // namespace zelmora::batch
