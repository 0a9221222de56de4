#pragma once

#include "analysis/coupling/modification_file.h"

#include <string>
#include <vector>

namespace zelmora {

inline constexpr int AllReducedRun = -2;
inline constexpr int StandardRun = -1;
inline constexpr int MeanValueRun = 0;

// One finite-element run of an analysis: its RunId, the lines of its modification file and the
// values they write. A run that may fail is judged by whoever takes its outcome: its failure
// starts no stop of the runs behind it.
struct PlannedRun {
    int runId = 0;
    std::vector<std::string> modificationLines;
    bool mayFail = false;
    std::vector<ValueWritten> written;
    bool picture = false; // the calculator's picture is kept, as the mean-value run's always is
};

// A run that writes these values, its RunId to be given.
PlannedRun RunWriting(const SoilRows& soil, const std::vector<ValueWritten>& values);

// The RunIds of an analysis of `variableCount` variables in their order: standard, mean values,
// each variable reduced, all reduced.
std::vector<int> RunIds(int variableCount);

// The runs of the analysis of these inputs in that order.
std::vector<PlannedRun> BuildRunPlan(const AnalysisInputs& inputs);

} // namespace zelmora
