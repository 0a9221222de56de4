#include "report/finished_runs.h"

#include "analysis/runs/run_plan.h"
#include "project/project_state.h"

#include <algorithm>

namespace zelmora {

FinishedRuns::FinishedRuns(const AnalysisRecord& record) : all_(record.error.empty()) {
    for (const RunOutcome& run : record.outcomes) {
        if (run.error.empty() && run.runId >= AllReducedRun && run.runId <= State.VariableCount) {
            keys_.insert(Entry(State.Variables, run.runId));
        }
    }
}

DerivedResults FinishedRuns::Results() const {
    DerivedResults derived = DeriveResults();
    const bool beta = Key(MeanValueRun) &&
                      std::all_of(derived.variables.begin(), derived.variables.end(),
                                  [this](const VariableResult& v) { return Key(v.variableId); });
    for (VariableResult& v : derived.variables) {
        if (!Key(v.variableId)) {
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
    if (!Key(AllReducedRun)) {
        derived.linearity.reset();
    }
    return derived;
}

} // namespace zelmora
