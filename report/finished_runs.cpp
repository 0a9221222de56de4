#include "report/finished_runs.h"

#include "analysis/runs/run_plan.h"

#include <algorithm>

namespace zelmora {

FinishedRuns::FinishedRuns(const AnalysisRecord& record, const ProjectState& project)
    : project_(project), all_(record.error.empty()) {
    for (const RunOutcome& run : record.outcomes) {
        if (run.error.empty() && run.runId >= AllReducedRun && run.runId <= project.VariableCount) {
            keys_.insert(Entry(project.Variables, run.runId));
        }
    }
}

DerivedResults FinishedRuns::Results() const {
    DerivedResults derived = DeriveResults(project_);
    const bool beta =
        HasFactor(MeanValueRun) &&
        std::all_of(derived.variables.begin(), derived.variables.end(),
                    [this](const VariableResult& v) { return HasFactor(v.variableId); });
    for (VariableResult& v : derived.variables) {
        if (!HasFactor(v.variableId)) {
            v.safetyFactor.reset();
            v.sensitivity.reset();
        }
        if (!beta) {
            v.share.reset();
        }
    }
    if (!beta) {
        derived.sigmaF.reset();
        derived.covF.reset();
        derived.exactProbability.reset();
        derived.betaLognormal.reset();
        derived.lognormalProbability.reset();
    }
    if (!HasFactor(AllReducedRun)) {
        derived.linearity.reset();
    }
    return derived;
}

} // namespace zelmora
