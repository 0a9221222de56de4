#include "cli/batch_command.h"

#include "analysis/analysis_driver.h"
#include "analysis/methods/correlation_check.h"
#include "analysis/methods/random_variables.h"
#include "analysis/project_folder.h"
#include "analysis/runs/run_errors.h"
#include "analysis/runs/run_executor.h"
#include "cli/batch_study.h"
#include "cli/output_paths.h"
#include "cli/saved_analysis.h"
#include "cli/stop_signals.h"
#include "cli/stream_log.h"
#include "cli/terminal_lines.h"
#include "cli/terminal_progress.h"
#include "project/error_text.h"
#include "project/project_file.h"
#include "project/terminal_text.h"
#include "project/whole_file.h"
#include "report/html/html_report.h"
#include "report/json/analysis_json.h"
#include "report/runs_csv.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <unistd.h>
#include <vector>

namespace zelmora::batch {

namespace {

void PrintError(const std::string& message) {
    std::fprintf(stderr, "%s\n", TerminalText(ErrorBoxMessage(message)).c_str());
}

// The message, then the lines that say which file and line it concerns.
void PrintFailure(const std::exception& error) {
    PrintError(error.what());
    if (const std::string detail = DetailOf(error); !detail.empty()) {
        std::fputs(TerminalLines(detail + "\n").c_str(), stderr);
    }
}

// Notes wait for the end of the analysis, so that a failure's cause is the first line of
// standard error.
class HeldNotes {
public:
    void Add(const std::string& note) { notes_.push_back(note); }
    void Print() {
        for (const std::string& note : notes_) {
            std::fprintf(stderr, "%s\n", TerminalText(note).c_str());
        }
        notes_.clear();
    }

private:
    std::vector<std::string> notes_;
};

// A run whose calculator reported a failure, yet left a result that was used, is named.
void NoteNonZeroExits(const AnalysisRecord& record) {
    for (const RunOutcome& outcome : record.outcomes) {
        if (NonZeroExitAccepted(outcome)) {
            std::fprintf(stderr,
                         "Run %d: the batch calculator ended with exit status %d; its result was "
                         "used.\n",
                         outcome.runId, outcome.exitStatus);
        }
    }
}

bool JsonToStandardOutput(const BatchOptions& options) {
    return options.jsonFile == "-";
}

std::string StreamName(std::FILE* stream) {
    return stream == stdout ? "standard output" : "standard error";
}

void WriteJson(const BatchOptions& options, const AnalysisRecord& record) {
    if (JsonToStandardOutput(options)) {
        const std::string json = AnalysisJson(options.projectFile, State, record);
        errno = 0;
        if (std::fwrite(json.data(), 1, json.size(), stdout) != json.size() ||
            std::fflush(stdout) != 0) {
            throw Error("The JSON could not be written to standard output: " +
                        std::string(std::strerror(errno != 0 ? errno : EIO)));
        }
    } else if (!options.jsonFile.empty()) {
        SaveWholeFile(options.jsonFile, AnalysisJson(options.projectFile, State, record));
    }
}

// The report first, so that the JSON can tell of its failure; a failure to write either fails
// the command.
void WriteOutputs(const BatchOptions& options, const StudySettings& settings,
                  AnalysisRecord& record, bool succeeded) {
    std::exception_ptr reportError;
    if (succeeded && !options.reportFile.empty()) {
        try {
            WriteHtmlReport(options.reportFile,
                            HtmlReport(options.projectFile, State, &record, std::time(nullptr),
                                       ForReport(settings)));
        } catch (const std::exception& error) {
            record.error = error.what();
            reportError = std::current_exception();
        }
    }
    WriteJson(options, record);
    if (!options.csvFile.empty()) {
        SaveWholeFile(options.csvFile, RunsCsv(State, record));
    }
    if (reportError) {
        std::rethrow_exception(reportError);
    }
}

int Analyse(const BatchOptions& options, const StudySettings& settings, AnalysisRecord& record) {
    std::FILE* const logStream = JsonToStandardOutput(options) ? stderr : stdout;
    StreamLog log(logStream);
    TerminalProgress progress;
    log.beforeLine = [&] { progress.Clear(); };
    log.afterLine = [&] { progress.Redraw(); };
    AnalysisOptions analysis = AnalysisOptionsOf(settings, settings.correlations);
    analysis.parallelRuns = options.parallelRuns;
    analysis.projectFolder = ProjectFolderOf(options.projectFile);
    // Standard output carries the log lines only.
    analysis.consoleOutputFd = STDERR_FILENO;
    // A log that cannot be written is lost: the analysis stops.
    analysis.stopRequested = [&log] { return StopSignalled() || log.WriteError() != 0; };
    HeldNotes notes;
    analysis.note = [&notes](const std::string& note) { notes.Add(note); };
    analysis.progress = [&](const AnalysisProgress& now) { progress.Show(now); };
    analysis.resume = options.resume;
    analysis.notResumed = [&analysis](int runs) {
        analysis.note("--resume would have reused " + std::to_string(runs) +
                      (runs == 1 ? " run" : " runs") + " of the interrupted analysis.");
    };
    analysis.handOverWorkFolder = true;
    const std::unique_ptr<ProcessSet> processes = MakeChildProcesses();
    try {
        RunAnalysis(log, *processes, analysis, record);
    } catch (const EAnalysisStopped& stopped) {
        progress.Finish();
        PrintError(log.WriteError() != 0
                       ? "The log could not be written to " + StreamName(logStream) + ": " +
                             std::strerror(log.WriteError())
                       : stopped.what());
        notes.Print();
        NoteNonZeroExits(record);
        return ExitAnalysisFailed;
    } catch (const std::exception& error) {
        // The cause, not the last progress, stands first.
        progress.Clear();
        if (record.errorDetail) {
            std::fprintf(stderr, "%s\n", TerminalText(record.errorDetail->cause).c_str());
        }
        PrintFailure(error);
        if (record.errorDetail) {
            std::fputs(TerminalLines(RunErrorDetailText(*record.errorDetail)).c_str(), stderr);
        }
        if (!record.keptWorkFolder.empty()) {
            std::fprintf(stderr, "The runs' copies are kept in %s\n",
                         TerminalText(record.keptWorkFolder).c_str());
        }
        notes.Print();
        NoteNonZeroExits(record);
        return ExitAnalysisFailed;
    }
    progress.Finish();
    notes.Print();
    NoteNonZeroExits(record);
    if (log.WriteError() != 0) {
        PrintError("The log could not be written to " + StreamName(logStream) + ": " +
                   std::strerror(log.WriteError()));
        return ExitAnalysisFailed;
    }
    return ExitSuccess;
}

// The JSON of a project file that cannot be read holds its error and no analysis, so that none
// of an earlier one is left standing; it is not written where it would replace an input.
void WriteUnreadableJson(const BatchOptions& options, const std::exception& error) {
    try {
        CheckOutputsApartFromInputs(options);
        AnalysisRecord record;
        record.error = error.what();
        if (const std::string detail = DetailOf(error); !detail.empty()) {
            record.errorDetail = RunErrorDetail{};
            record.errorDetail->path = options.projectFile;
            record.errorDetail->cause = detail;
        }
        WriteJson(options, record);
    } catch (const std::exception& refused) {
        PrintError(refused.what());
    }
}

} // namespace

int RunBatch(const BatchOptions& options) {
    CatchStopSignals();
    try {
        ReadProjectFile(options.projectFile);
        RequireProjectFileLines(options.projectFile);
    } catch (const std::exception& error) {
        PrintFailure(error);
        WriteUnreadableJson(options, error);
        return ExitBadCall;
    }
    try {
        CheckOutputsApartFromInputs(options);
        CheckCorrelationPairs(options.correlations, State.SoilTable);
    } catch (const std::exception& error) {
        PrintFailure(error);
        return ExitBadCall;
    }
    try {
        if (options.saved) {
            return ShowSavedAnalysis(options);
        }
        const Study study = StudyForRun(options);
        AnalysisRecord record;
        const int status = Analyse(options, study.settings, record);
        WriteOutputs(options, study.settings, record, status == ExitSuccess);
        if (status == ExitSuccess && options.save) {
            SaveStudy(options.projectFile, study, record);
        }
        // Only now is nothing of the analysis left to lose.
        if (status == ExitSuccess) {
            RemoveWorkFolder(record);
        }
        return status;
    } catch (const std::exception& error) {
        PrintError(error.what());
        return ExitAnalysisFailed;
    }
}

} // namespace zelmora::batch
