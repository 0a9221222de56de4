#include "analysis/runs/run_plan.h"

#include "analysis/coupling/modification_file.h"
#include "analysis/coupling/written_value.h"

namespace zelmora {

std::vector<int> RunIds(int variableCount) {
    std::vector<int> runIds{StandardRun, MeanValueRun};
    for (int i = 1; i <= variableCount; ++i) {
        runIds.push_back(i);
    }
    runIds.push_back(AllReducedRun);
    return runIds;
}

std::vector<PlannedRun> BuildRunPlan(const AnalysisInputs& inputs) {
    std::vector<PlannedRun> plan;
    for (const int runId : RunIds(static_cast<int>(inputs.variables.size()))) {
        plan.push_back(
            {runId, ModificationLines(inputs, runId), false, ValuesWrittenBy(inputs, runId)});
    }
    return plan;
}

PlannedRun RunWriting(const SoilRows& soil, const std::vector<ValueWritten>& values) {
    std::vector<ValueWritten> read;
    for (const ValueWritten& v : values) {
        read.push_back({v.variableId, WrittenValue(v.value)});
    }
    return {0, LinesWriting(soil, values), false, read};
}

} // namespace zelmora
