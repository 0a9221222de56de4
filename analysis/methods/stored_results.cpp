#include "analysis/methods/stored_results.h"

namespace zelmora {

StoredResults StoredResultsOf(const ProjectState& project) {
    return {project.SafetyFactors, project.Sensitivities,      project.LastSafetyFactor,
            project.Beta,          project.FailureProbability, project.Linearity};
}

void Store(const StoredResults& results, ProjectState& project) {
    project.SafetyFactors = results.safetyFactors;
    project.Sensitivities = results.sensitivities;
    project.LastSafetyFactor = results.lastSafetyFactor;
    project.Beta = results.beta;
    project.FailureProbability = results.failureProbability;
    project.Linearity = results.linearity;
}

void StoreRunFactor(StoredResults& results, const std::vector<int>& variables, int runId,
                    double factor) {
    results.lastSafetyFactor = factor;
    const int key = runId > 0 ? variables[static_cast<std::size_t>(runId - 1)] : runId;
    Entry(results.safetyFactors, key) = factor;
}

std::optional<double> StoredSafetyFactor(const StoredResults& results, int key) {
    const double factor = Entry(results.safetyFactors, key);
    return factor != 0 ? std::optional<double>(factor) : std::nullopt;
}

} // namespace zelmora
