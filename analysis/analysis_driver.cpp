#include "analysis/analysis_driver.h"

#include "analysis/analysis_checks.h"
#include "analysis/coupling/data_file_paths.h"
#include "analysis/failed_run.h"
#include "analysis/methods/correlation_check.h"
#include "analysis/methods/first_order_evaluation.h"
#include "analysis/methods/form_method.h"
#include "analysis/methods/random_variables.h"
#include "analysis/methods/sampling_method.h"
#include "analysis/methods/taylor_method.h"
#include "analysis/runs/calculator_files.h"
#include "analysis/runs/in_place_executor.h"
#include "analysis/runs/journaled_executor.h"
#include "analysis/runs/parallel_executor.h"
#include "analysis/runs/run_journal.h"
#include "analysis/runs/run_plan.h"
#include "analysis/surrogate/surrogate_runs.h"
#include "analysis/workcopies/work_folder.h"
#include "project/project_state.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace zelmora {

namespace {

void ClearLogBelowTitle(CalculationLog& log) {
    const int count = log.LineCount();
    for (int k = 0; k < count; ++k) {
        log.DeleteLine(1);
    }
}

// In place the calculator gets the command line as the project holds it.
std::unique_ptr<RunExecutor> MakeExecutor(ProcessSet& processes, const AnalysisInputs& inputs,
                                          const AnalysisOptions& options, int runs,
                                          const ExecutionControl& control) {
    if (options.parallelRuns <= 1) {
        return MakeInPlaceExecutor(processes, inputs, options.projectFolder,
                                   options.consoleOutputFd, control);
    }
    return MakeParallelExecutor(processes, std::min(options.parallelRuns, runs), inputs,
                                options.projectFolder, control);
}

// The results go into the project state as each run is applied, also when it fails.
void Evaluate(RunExecutor& executor, FirstOrderEvaluation& evaluation,
              const StoredResults& results) {
    while (!evaluation.Complete()) {
        try {
            evaluation.Apply(executor.Next());
        } catch (...) {
            Store(results, State);
            throw;
        }
        Store(results, State);
    }
}

// The method's runs come after the first-order ones, on the same executor and copies.
void RunMethod(RunExecutor& executor, CalculationLog& log, const MethodContext& context,
               const AnalysisOptions& options, AnalysisRecord& record) {
    if (options.method == Method::Taylor) {
        record.method = RunTaylorMethod(executor, log, context);
    } else if (options.method == Method::Form) {
        record.method = RunFormMethod(executor, log, context, options.strengths);
    }
    if (options.sampling.kind == SamplingKind::Surrogate) {
        record.sampling = RunSurrogate(executor, log, context, options.sampling, options.strengths,
                                       record.method);
    } else if (options.sampling.kind != SamplingKind::None) {
        record.sampling =
            RunSampling(executor, log, context, options.sampling, options.strengths, record.method);
    }
}

// Nothing is run or written, and the state's results stay, when the inputs are refused.
void CheckInputs(const AnalysisInputs& inputs, const AnalysisOptions& options,
                 AnalysisRecord& record) {
    try {
        CheckBeforeFirstRun(inputs, options.method, options.strengths, options.projectFolder);
        CheckSamplingBeforeFirstRun(inputs, options.method, options.strengths, options.sampling);
    } catch (const std::exception& error) {
        record.error = error.what();
        throw;
    }
}

// The data folder's files an analysis writes itself, named as the key names them.
std::set<std::string> OwnDataFiles(const AnalysisInputs& inputs) {
    const std::string folder =
        std::filesystem::path(DataFolderPath(inputs.projectPath)).filename().generic_string();
    std::set<std::string> own;
    for (const std::string& path :
         {inputs.modificationFilePath, inputs.resultFilePath,
          inputs.resultFilePath.substr(0, inputs.resultFilePath.rfind('.')) + ".svg",
          std::string("calculator.log")}) {
        own.insert(folder + "/" + std::filesystem::path(path).filename().generic_string());
    }
    return own;
}

KeySources KeySourcesOf(const AnalysisInputs& inputs, const std::string& projectFolder) {
    return {inputs.projectPath, CalculatorFiles(inputs.batchPath, projectFolder),
            DataFolderPath(inputs.projectPath), OwnDataFiles(inputs)};
}

RunJournal JournalOf(const AnalysisInputs& inputs, const std::string& projectFolder,
                     const HashProgress& progress = {}) {
    KeySources sources = KeySourcesOf(inputs, projectFolder);
    JournalKey key =
        ComputeJournalKey(inputs.batchCommandLine, inputs.projectName, sources, progress);
    return {std::move(key), std::move(sources)};
}

// Journaled runs whose factor fails the check a fresh one passes are made again.
std::string NotFactorsNote(int runs) {
    return std::to_string(runs) + (runs == 1 ? " run" : " runs") +
           " of the interrupted analysis held a safety factor that is not a positive number; " +
           (runs == 1 ? "it is" : "they are") + " run again.";
}

// Resumed, the journal's runs are taken up again; afresh, it is emptied.
void OpenJournal(RunJournal& journal, const RunExecutor& executor,
                 const std::vector<PlannedRun>& plan, const AnalysisOptions& options) {
    journal.Load(executor.JournalPath());
    if (options.resume && journal.KeyChanged() && options.note) {
        options.note(journal.ChangeNote());
    }
    if (options.resume && !journal.KeyChanged()) {
        if (journal.NotFactors() > 0 && options.note) {
            options.note(NotFactorsNote(journal.NotFactors()));
        }
        journal.Resume();
        return;
    }
    const int left = journal.Reusable(plan);
    journal.Clear();
    if (!options.resume && left > 0 && options.notResumed) {
        options.notResumed(left);
    }
}

// The log stays that of an uninterrupted analysis: the user is told beside it.
void NoteReusedRuns(const AnalysisRecord& record, const AnalysisOptions& options) {
    const auto reused = std::count_if(record.outcomes.begin(), record.outcomes.end(),
                                      [](const RunOutcome& outcome) { return outcome.reused; });
    if (reused > 0 && options.note) {
        options.note(ReusedRunsText(static_cast<int>(reused)));
    }
}

// FORM and the sampling check take lognormal strengths' correlations in their normal space.
bool NatafCorrelationsInUse(const AnalysisOptions& options) {
    return (options.method == Method::Form || options.sampling.kind != SamplingKind::None) &&
           options.strengths == StrengthDistribution::Lognormal;
}

// What the runs of one analysis go through beside their executor.
struct AnalysisRun {
    CalculationLog& log;
    RunJournal& journal;
    ProgressMeter& meter;
    const AnalysisInputs& inputs;
    const AnalysisOptions& options;
    AnalysisRecord& record;
};

// The first-order runs and the method's, the results written into the state as they are
// applied; the work folder is left as the ending requires.
void PerformRuns(const AnalysisRun& run, RunExecutor& executor, std::vector<PlannedRun> plan) {
    StoredResults results = StoredResultsOf(State);
    JournaledExecutor journaled(executor, run.journal, &run.meter);
    try {
        OpenJournal(run.journal, executor, plan, run.options);
        FirstOrderEvaluation evaluation(run.log, run.inputs, results, run.record.outcomes);
        journaled.Submit(std::move(plan));
        Evaluate(journaled, evaluation, results);
        const MethodContext context{run.inputs, results, run.record.outcomes,
                                    run.record.parallelRuns, run.record.correlations};
        RunMethod(journaled, run.log, context, run.options, run.record);
    } catch (const EAnalysisStopped&) {
        run.journal.Close();
        executor.Finish(RunExecutor::Ending::Stopped);
        throw;
    } catch (...) {
        journaled.Abandon();
        run.journal.Close();
        executor.Finish(RunExecutor::Ending::Failed);
        run.record.keptWorkFolder = executor.KeptWorkFolder();
        throw;
    }
    run.journal.Close();
    if (run.options.handOverWorkFolder) {
        run.record.workFolder = executor.TakeWorkFolder();
    }
    executor.Finish(RunExecutor::Ending::Succeeded);
}

} // namespace

ResumeOffer FindResumeOffer(const AnalysisInputs& inputs, const std::string& projectFolder) {
    const std::string path = WorkFolderJournalPath(inputs.projectPath);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {};
    }
    RunJournal journal = JournalOf(inputs, projectFolder);
    journal.Load(path);
    return {journal.Reusable(BuildRunPlan(inputs)), journal.KeyChanged()};
}

void RemoveWorkFolder(AnalysisRecord& record) {
    if (record.workFolder) {
        record.workFolder->Remove();
        record.workFolder.reset();
    }
}

void BuildVariableList() {
    State.SafetyFactors.fill(0.0);
    State.Beta = 0;
    Entry(State.Variables, AllReducedRun) = AllReducedRun;
    Entry(State.Variables, StandardRun) = StandardRun;
    const std::vector<int> variables = RandomVariableIds(State.SoilTable);
    for (std::size_t i = 0; i < variables.size(); ++i) {
        Entry(State.Variables, static_cast<int>(i) + 1) = variables[i];
    }
    State.VariableCount = static_cast<int>(variables.size());
}

void RunAnalysis(CalculationLog& log, ProcessSet& processes, const AnalysisOptions& options,
                 AnalysisRecord& record) {
    log.Show();
    ClearLogBelowTitle(log);
    record = {};
    const AnalysisInputs inputs = InputsOf(State, options.projectFolder);
    record.batchCommandLine = inputs.batchCommandLine;
    record.parallelRuns = std::max(options.parallelRuns, 1);
    CheckInputs(inputs, options, record);
    BuildVariableList();
    State.ModificationFilePath = inputs.modificationFilePath;
    State.ResultFilePath = inputs.resultFilePath;
    ProgressMeter meter(options.clock, options.progress, record.parallelRuns);
    RunJournal journal = JournalOf(
        inputs, options.projectFolder,
        [&meter](std::uint64_t hashed, std::uint64_t total) { meter.Hashing(hashed, total); });
    const ExecutionControl control{options.stopRequested, options.idle, &meter, options.note,
                                   [&journal](const PlannedRun& run, const RunOutcome& outcome) {
                                       journal.Record(run, outcome);
                                   }};
    try {
        record.correlations =
            CorrelationsInUse(options.correlations, inputs, NatafCorrelationsInUse(options));
        std::vector<PlannedRun> plan = BuildRunPlan(inputs);
        const std::unique_ptr<RunExecutor> executor =
            MakeExecutor(processes, inputs, options, static_cast<int>(plan.size()), control);
        const AnalysisRun run{log, journal, meter, inputs, options, record};
        PerformRuns(run, *executor, std::move(plan));
    } catch (const EAnalysisStopped& stopped) {
        log.AppendLine(stopped.what());
        record.stopped = true;
        record.error = stopped.what();
        meter.Finish();
        throw;
    } catch (const std::exception& error) {
        record.error = error.what();
        record.errorDetail = FailedRunDetail(record, inputs, options.method);
        NoteReusedRuns(record, options);
        meter.Fail(static_cast<int>(record.outcomes.size()));
        throw;
    }
    NoteReusedRuns(record, options);
    meter.Finish();
}

} // namespace zelmora
