#include "analysis/analysis_driver.h"

#include "analysis/analysis_checks.h"
#include "analysis/coupling/data_file_paths.h"
#include "analysis/coupling/finite_element_run.h"
#include "analysis/failed_run.h"
#include "analysis/methods/correlation_check.h"
#include "analysis/methods/first_order_evaluation.h"
#include "analysis/methods/form_method.h"
#include "analysis/methods/random_variables.h"
#include "analysis/methods/taylor_method.h"
#include "analysis/project_folder.h"
#include "analysis/runs/in_place_executor.h"
#include "analysis/runs/parallel_executor.h"
#include "analysis/runs/run_plan.h"
#include "processes/sequential_processes.h"
#include "project/project_state.h"

#include <algorithm>

namespace zelmora {

namespace {

void ClearLogBelowTitle(CalculationLog& log) {
    const int count = log.LineCount();
    for (int k = 0; k < count; ++k) {
        log.DeleteLine(1);
    }
}

// In place the calculator gets the command line as the project holds it.
std::unique_ptr<RunExecutor> MakeExecutor(ProcessSet& processes, const AnalysisOptions& options,
                                          const AnalysisRecord& record, int runs,
                                          const ExecutionControl& control) {
    if (options.parallelRuns <= 1) {
        return MakeInPlaceExecutor(processes, record.batchCommandLine, options.projectFolder,
                                   options.consoleOutputFd, control);
    }
    return MakeParallelExecutor(processes, std::min(options.parallelRuns, runs),
                                options.projectFolder, control);
}

void Evaluate(RunExecutor& executor, FirstOrderEvaluation& evaluation) {
    while (!evaluation.Complete()) {
        evaluation.Apply(executor.Next());
    }
}

MethodContext MethodContextOf(AnalysisRecord& record) {
    return {record.batchCommandLine, record.outcomes, record.parallelRuns, record.correlations};
}

// The method's runs come after the first-order ones, on the same executor and copies.
void RunMethod(RunExecutor& executor, CalculationLog& log, const AnalysisOptions& options,
               AnalysisRecord& record) {
    if (options.method == Method::Taylor) {
        record.method = RunTaylorMethod(executor, log, MethodContextOf(record));
    } else if (options.method == Method::Form) {
        record.method = RunFormMethod(executor, log, MethodContextOf(record), options.strengths);
    }
}

// Nothing is run or written, and the state's results stay, when the inputs are refused.
void CheckInputs(const AnalysisOptions& options, AnalysisRecord& record) {
    try {
        CheckBeforeFirstRun(options.method, options.strengths, options.projectFolder);
    } catch (const std::exception& error) {
        record.error = error.what();
        throw;
    }
    if (const auto warning = ProjectNameWarning(); warning && options.note) {
        options.note(*warning);
    }
}

} // namespace

void BuildVariableList() {
    State.SafetyFactors.fill(0.0);
    State.Beta = 0;
    Entry(State.Variables, AllReducedRun) = AllReducedRun;
    Entry(State.Variables, StandardRun) = StandardRun;
    const std::vector<int> variables = RandomVariables();
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
    record.batchCommandLine = BuildBatchCommandLine();
    record.parallelRuns = std::max(options.parallelRuns, 1);
    const ModelPathFromFolder modelPath(options.projectFolder);
    CheckInputs(options, record);
    BuildVariableList();
    DeriveDataFilePaths();
    std::vector<PlannedRun> plan = BuildRunPlan();
    ProgressMeter meter(options.clock, options.progress, record.parallelRuns);
    const ExecutionControl control{options.stopRequested, options.idle, &meter, options.note};
    try {
        record.correlations = CorrelationsInUse(
            options.correlations, ListedVariables(),
            options.method == Method::Form && options.strengths == StrengthDistribution::Lognormal);
        const std::unique_ptr<RunExecutor> executor =
            MakeExecutor(processes, options, record, static_cast<int>(plan.size()), control);
        FirstOrderEvaluation evaluation(log, record.batchCommandLine, record.outcomes);
        executor->Submit(std::move(plan));
        try {
            Evaluate(*executor, evaluation);
            RunMethod(*executor, log, options, record);
        } catch (const EAnalysisStopped&) {
            executor->Finish(RunExecutor::Ending::Stopped);
            throw;
        } catch (...) {
            executor->Abandon();
            executor->Finish(RunExecutor::Ending::Failed);
            record.keptWorkFolder = executor->KeptWorkFolder();
            throw;
        }
        executor->Finish(RunExecutor::Ending::Succeeded);
    } catch (const EAnalysisStopped& stopped) {
        log.AppendLine(stopped.what());
        record.stopped = true;
        record.error = stopped.what();
        meter.Finish();
        throw;
    } catch (const std::exception& error) {
        record.error = error.what();
        record.errorDetail = FailedRunDetail(record, options.method);
        meter.Fail(static_cast<int>(record.outcomes.size()));
        throw;
    }
    meter.Finish();
}

void RunAnalysis(CalculationLog& log, const ProcessRunner& runner) {
    const std::unique_ptr<ProcessSet> processes = MakeSequentialProcesses(runner);
    AnalysisRecord record;
    RunAnalysis(log, *processes, AnalysisOptions{}, record);
}

} // namespace zelmora
