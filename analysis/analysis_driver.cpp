#include "analysis/analysis_driver.h"

#include "analysis/batch_coupling.h"
#include "analysis/random_variables.h"
#include "analysis/reliability_method.h"
#include "analysis/run_evaluation.h"
#include "analysis/run_executor.h"
#include "analysis/run_plan.h"
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

std::unique_ptr<RunExecutor> MakeExecutor(ProcessSet& processes, const AnalysisOptions& options,
                                          int runs, const ExecutionControl& control) {
    if (options.parallelRuns <= 1) {
        return MakeInPlaceExecutor(processes, options.calculatorOutputFd, control);
    }
    return MakeParallelExecutor(processes, std::min(options.parallelRuns, runs), control);
}

void Evaluate(RunExecutor& executor, RunEvaluation& evaluation) {
    while (!evaluation.Complete()) {
        evaluation.Apply(executor.Next());
    }
}

// The method's runs come after the first-order ones, on the same executor and copies.
void RunMethod(RunExecutor& executor, CalculationLog& log, const AnalysisOptions& options,
               AnalysisRecord& record) {
    if (options.method == Method::Taylor) {
        record.method = RunTaylorMethod(executor, log, record);
    } else if (options.method == Method::Form) {
        record.method = RunFormMethod(executor, log, record, options.strengths);
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
    BuildVariableList();
    DeriveDataFilePaths();
    std::vector<PlannedRun> plan = BuildRunPlan();
    ProgressMeter meter(options.clock, options.progress, record.parallelRuns);
    const ExecutionControl control{options.stopRequested, options.idle, &meter, options.note};
    try {
        const std::unique_ptr<RunExecutor> executor =
            MakeExecutor(processes, options, static_cast<int>(plan.size()), control);
        RunEvaluation evaluation(log, record);
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
        meter.Finish();
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
