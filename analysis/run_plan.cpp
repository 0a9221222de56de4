#include "analysis/run_plan.h"

#include "analysis/batch_coupling.h"
#include "project/project_state.h"

namespace zelmora {

std::vector<PlannedRun> BuildRunPlan() {
    std::vector<int> runIds{StandardRun, MeanValueRun};
    for (int i = 1; i <= State.VariableCount; ++i) {
        runIds.push_back(i);
    }
    runIds.push_back(AllReducedRun);
    std::vector<PlannedRun> plan;
    for (const int runId : runIds) {
        plan.push_back({runId, ModificationLines(runId)});
    }
    return plan;
}

} // namespace zelmora
