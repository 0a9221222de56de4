#include "analysis/reliability_method.h"
#include "analysis/run_errors.h"
#include "project/number_forms.h"
#include "project/project_state.h"

namespace zelmora {

// Method runs get RunIds beyond those of the first-order analysis; they are never stored in
// the state.
namespace {
constexpr int FirstMethodRunId = 1000;
}

std::vector<double> PerformMethodRuns(RunExecutor& executor, std::vector<PlannedRun> runs,
                                      const AnalysisRecord& record) {
    const std::size_t count = runs.size();
    for (std::size_t k = 0; k < count; ++k) {
        runs[k].runId = FirstMethodRunId + static_cast<int>(k);
    }
    executor.Submit(std::move(runs));
    std::vector<double> factors;
    for (std::size_t k = 0; k < count; ++k) {
        factors.push_back(CheckedSafetyFactor(executor.Next(), record.batchCommandLine));
    }
    return factors;
}

std::vector<RandomVariable> ListedVariables() {
    std::vector<RandomVariable> variables;
    for (int i = 1; i <= State.VariableCount; ++i) {
        const int id = Entry(State.Variables, i);
        const bool friction = id <= SoilRowCount;
        const int row = friction ? id : id - SoilRowCount;
        const SoilSet& soil = Row(State, row);
        variables.push_back({id, row, soil.SetNumber, friction,
                             friction ? soil.PhiMean : soil.CohesionMean,
                             friction ? soil.PhiStdDev : soil.CohesionStdDev});
    }
    return variables;
}

std::string Describe(const RandomVariable& variable) {
    return std::string(variable.friction ? "the friction angle" : "the cohesion") + " of row " +
           FormatInteger(variable.row, 0) + " (set " + FormatInteger(variable.setNumber, 0) + ")";
}

} // namespace zelmora
