#pragma once

#include "project/project_state.h"

#include <array>
#include <optional>
#include <vector>

namespace zelmora {

// The first-order results as the project keeps them, keyed -2..20 like its arrays (use Entry):
// what an analysis writes back into the project as each run is applied, and what a project read
// from a file holds.
struct StoredResults {
    std::array<double, KeyedEntryCount> safetyFactors{}; // 0: the run gave none
    std::array<double, KeyedEntryCount> sensitivities{};
    double lastSafetyFactor = 0;
    double beta = 0;
    double failureProbability = 0;
    double linearity = 0;
};

StoredResults StoredResultsOf(const ProjectState& project);

// Writes the results into the project's fields.
void Store(const StoredResults& results, ProjectState& project);

// Stores a first-order run's safety factor as the one read last and under its run's key: -2, -1
// and 0 for the runs of those RunIds, the VariableId that run i (1..N) of the list lowers.
void StoreRunFactor(StoredResults& results, const std::vector<int>& variables, int runId,
                    double factor);

// The safety factor stored under the key (-2..20); none for 0, the value of a run that gave
// none.
std::optional<double> StoredSafetyFactor(const StoredResults& results, int key);

} // namespace zelmora
