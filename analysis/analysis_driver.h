#pragma once

#include "analysis/analysis_record.h"
#include "analysis/coupling/analysis_inputs.h"
#include "analysis/methods/calculation_log.h"
#include "analysis/methods/correlations.h"
#include "analysis/methods/method_result.h"
#include "analysis/methods/sampling_settings.h"
#include "analysis/runs/analysis_progress.h"
#include "processes/process_set.h"

#include <functional>
#include <string>

namespace zelmora {

// Clears the results and builds State.Variables and State.VariableCount.
void BuildVariableList();

// The most runs an analysis does at once, in the windows and on the command line.
inline constexpr int MaxParallelRuns = 64;

// How an analysis runs, beside what the project state holds.
struct AnalysisOptions {
    int parallelRuns = 1; // 1: one run after the other in the project's own folder
    // In place where the model's work folder keeps no calculator log (Windows): where the
    // calculator's output goes, -1 a console of its own.
    int consoleOutputFd = -1;
    // The folder of the project file that was opened or saved, empty for one never saved: the
    // relative paths of the project are taken from it and the calculator starts in it.
    std::string projectFolder;
    std::function<bool()> stopRequested;
    std::function<void()> idle;
    ProgressMeter::Report progress;
    // A note for the user beside the log, never in it (the progress line, standard error).
    std::function<void(const std::string&)> note;
    Clock clock = SteadyClock();
    Method method = Method::FirstOrder; // a method beyond first order runs after its runs
    StrengthDistribution strengths = StrengthDistribution::Normal; // FORM's strengths
    Correlations correlations; // of the random strengths; the first-order analysis ignores them
    SamplingSettings sampling; // the check after the method, none by default
    // Runs an interrupted analysis journaled are taken up again instead of being run; without
    // it the journal is emptied and `notResumed` told how many runs that leaves out, when any.
    bool resume = false;
    std::function<void(int)> notResumed;
    // After success the work folder is handed over in the record (RemoveWorkFolder), so that it
    // goes only once the caller's outputs are written; otherwise it goes at once.
    bool handOverWorkFolder = false;
};

// The runs of an interrupted analysis that an analysis of these inputs could take up again from
// its journal; `modelChanged` when the journal's runs were of another model file, calculator or
// data folder. The calculator starts in `projectFolder`.
struct ResumeOffer {
    int reusable = 0;
    bool modelChanged = false;
};
ResumeOffer FindResumeOffer(const AnalysisInputs& inputs, const std::string& projectFolder = {});

// Removes the work folder an analysis handed over, with its journal.
void RemoveWorkFolder(AnalysisRecord& record);

// The whole reliability analysis of the project state: N + 3 runs, sensitivities, beta,
// probability, linearity. It reads the state once, into the inputs every unit below it takes,
// and writes the results back as each run is applied. Inputs that cannot give a result are
// refused before any run. `record` is filled as the analysis goes, also when it fails: a failure
// raises the error of the first failing run in plan order, whose detail the record keeps; a stop
// raises EAnalysisStopped.
void RunAnalysis(CalculationLog& log, ProcessSet& processes, const AnalysisOptions& options,
                 AnalysisRecord& record);

} // namespace zelmora
